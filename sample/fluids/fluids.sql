-- The fluid database: refrigerant saturation tables, superheated-vapour and
-- subcooled-liquid grids and a finer grid of both phases near the critical point, with
-- the provenance of every table (PROVENANCE.md).
-- Built by the sqlite3 shell with this folder as working directory.
PRAGMA foreign_keys = ON;

CREATE TABLE Provenance (
    TableName TEXT PRIMARY KEY,
    Content   TEXT NOT NULL,
    Source    TEXT NOT NULL
);

CREATE TABLE Refrigerants (
    FluidID          INTEGER PRIMARY KEY,
    Name             TEXT NOT NULL UNIQUE,
    Aliases          TEXT NOT NULL,  -- ';'-separated other names
    Kind             TEXT NOT NULL,  -- 'pure' or 'pseudo-pure' (blend as one fluid, with glide)
    MolarMass_kg_mol REAL NOT NULL,
    Tcrit_C          REAL NOT NULL,
    Pcrit_Pa         REAL NOT NULL,
    Ttriple_C        REAL NOT NULL,
    EOS              TEXT NOT NULL,
    Transport        TEXT NOT NULL
);

-- Saturation table, 1 K steps. Bubble (liquid) columns at (T, p_bubble), dew (vapour)
-- columns at (T, p_dew). NULL where the source model has no value.
CREATE TABLE Saturation (
    FluidID INTEGER NOT NULL REFERENCES Refrigerants(FluidID),
    T_C REAL NOT NULL,
    p_bubble_Pa REAL, p_dew_Pa REAL,
    rho_liq_kg_m3 REAL, rho_vap_kg_m3 REAL,
    h_liq_J_kg REAL, h_vap_J_kg REAL,
    cp_liq_J_kgK REAL, cp_vap_J_kgK REAL,
    mu_liq_Pa_s REAL, mu_vap_Pa_s REAL,
    lambda_liq_W_mK REAL, lambda_vap_W_mK REAL,
    sigma_N_m REAL,
    PRIMARY KEY (FluidID, T_C)
);

-- Vapour at the dew pressure of Tsat and T = Tsat + dT (dT = 0: saturated vapour).
CREATE TABLE VaporGrid (
    FluidID INTEGER NOT NULL REFERENCES Refrigerants(FluidID),
    Tsat_C REAL NOT NULL, dT_K REAL NOT NULL,
    rho_kg_m3 REAL, h_J_kg REAL, cp_J_kgK REAL, mu_Pa_s REAL, lambda_W_mK REAL,
    PRIMARY KEY (FluidID, Tsat_C, dT_K)
);

-- Liquid at the bubble pressure of Tsat and T = Tsat - dT (dT = 0: saturated liquid).
CREATE TABLE LiquidGrid (
    FluidID INTEGER NOT NULL REFERENCES Refrigerants(FluidID),
    Tsat_C REAL NOT NULL, dT_K REAL NOT NULL,
    rho_kg_m3 REAL, h_J_kg REAL, cp_J_kgK REAL, mu_Pa_s REAL, lambda_W_mK REAL,
    PRIMARY KEY (FluidID, Tsat_C, dT_K)
);

-- Both phases within 35 K of the critical point, Tsat and dT in 0.5 K steps: 'vapor'
-- rows as VaporGrid (dew temperature and pressure, T = Tsat + dT), 'liquid' rows as
-- LiquidGrid (bubble temperature and pressure, T = Tsat - dT). p_Pa is the saturation
-- pressure of Tsat; the dT = 0 rows are the saturated states.
CREATE TABLE NearCriticalGrid (
    FluidID INTEGER NOT NULL REFERENCES Refrigerants(FluidID),
    Side TEXT NOT NULL CHECK (Side IN ('vapor', 'liquid')),
    Tsat_C REAL NOT NULL, dT_K REAL NOT NULL, p_Pa REAL NOT NULL,
    rho_kg_m3 REAL, h_J_kg REAL, cp_J_kgK REAL, mu_Pa_s REAL, lambda_W_mK REAL,
    PRIMARY KEY (FluidID, Side, Tsat_C, dT_K)
);

.mode csv
CREATE TEMP TABLE in_refrigerants (FluidID, Name, Aliases, Kind, MolarMass_kg_mol, Tcrit_C,
    Pcrit_Pa, Ttriple_C, EOS, Transport);
.import --skip 1 refrigerants.csv in_refrigerants
INSERT INTO Refrigerants SELECT CAST(FluidID AS INTEGER), Name, Aliases, Kind,
    CAST(MolarMass_kg_mol AS REAL), CAST(Tcrit_C AS REAL), CAST(Pcrit_Pa AS REAL),
    CAST(Ttriple_C AS REAL), EOS, Transport FROM in_refrigerants;

CREATE TEMP TABLE in_saturation (FluidID, T_C, pb, pd, rl, rv, hl, hv, cl, cv, ml, mv, ll, lv, s);
.import --skip 1 saturation.csv in_saturation
INSERT INTO Saturation SELECT CAST(FluidID AS INTEGER), CAST(T_C AS REAL),
    CAST(NULLIF(pb, '') AS REAL), CAST(NULLIF(pd, '') AS REAL),
    CAST(NULLIF(rl, '') AS REAL), CAST(NULLIF(rv, '') AS REAL),
    CAST(NULLIF(hl, '') AS REAL), CAST(NULLIF(hv, '') AS REAL),
    CAST(NULLIF(cl, '') AS REAL), CAST(NULLIF(cv, '') AS REAL),
    CAST(NULLIF(ml, '') AS REAL), CAST(NULLIF(mv, '') AS REAL),
    CAST(NULLIF(ll, '') AS REAL), CAST(NULLIF(lv, '') AS REAL),
    CAST(NULLIF(s, '') AS REAL) FROM in_saturation;

CREATE TEMP TABLE in_vapor (FluidID, Tsat, dT, rho, h, cp, mu, lam);
.import --skip 1 vapor_grid.csv in_vapor
INSERT INTO VaporGrid SELECT CAST(FluidID AS INTEGER), CAST(Tsat AS REAL), CAST(dT AS REAL),
    CAST(NULLIF(rho, '') AS REAL), CAST(NULLIF(h, '') AS REAL), CAST(NULLIF(cp, '') AS REAL),
    CAST(NULLIF(mu, '') AS REAL), CAST(NULLIF(lam, '') AS REAL) FROM in_vapor;

CREATE TEMP TABLE in_liquid (FluidID, Tsat, dT, rho, h, cp, mu, lam);
.import --skip 1 liquid_grid.csv in_liquid
INSERT INTO LiquidGrid SELECT CAST(FluidID AS INTEGER), CAST(Tsat AS REAL), CAST(dT AS REAL),
    CAST(NULLIF(rho, '') AS REAL), CAST(NULLIF(h, '') AS REAL), CAST(NULLIF(cp, '') AS REAL),
    CAST(NULLIF(mu, '') AS REAL), CAST(NULLIF(lam, '') AS REAL) FROM in_liquid;

CREATE TEMP TABLE in_nearcritical (FluidID, Side, Tsat, dT, p, rho, h, cp, mu, lam);
.import --skip 1 nearcritical_grid.csv in_nearcritical
INSERT INTO NearCriticalGrid SELECT CAST(FluidID AS INTEGER), Side, CAST(Tsat AS REAL),
    CAST(dT AS REAL), CAST(p AS REAL),
    CAST(NULLIF(rho, '') AS REAL), CAST(NULLIF(h, '') AS REAL), CAST(NULLIF(cp, '') AS REAL),
    CAST(NULLIF(mu, '') AS REAL), CAST(NULLIF(lam, '') AS REAL) FROM in_nearcritical;

.mode list
INSERT INTO Provenance VALUES
 ('Refrigerants', 'identifiers, names, critical and triple points, models of each refrigerant',
  'refrigerant_info.csv of the CoolProp 8.0.0 reference tables (git ae81610e); the equation of state and transport models cited per row'),
 ('Saturation', 'saturated liquid and vapour, 1 K steps from -50 C to T_crit - 5 K',
  'refrigerant_saturation.csv (CoolProp 8.0.0, HEOS backend, default reference states: IIR except R717); pseudo-pure blends use the bubble/dew pressure ancillaries of Lemmon (2003); real-mixture rows left out'),
 ('VaporGrid', 'saturated and superheated vapour, Tsat step 2 K from -50 C to min(T_crit - 5 K, 70 C), superheat 0..110 K step 2 K',
  'refrigerant_vapor_grid.csv (CoolProp 8.0.0, update(PT) at the dew pressure of Tsat; superheat 62..110 K added later by the same release and method); empty cells where the model raised an error or T lies above the upper temperature limit of the equation of state (R32, R1234yf, R1234ze(E))'),
 ('LiquidGrid', 'saturated and subcooled liquid, Tsat step 2 K from -50 C to min(T_crit - 5 K, 70 C), subcooling 0..46 K step 2 K',
  'refrigerant_liquid_grid.csv (CoolProp 8.0.0, update(PT) at the bubble pressure of Tsat; subcooling 32..46 K added later by the same release and method); empty cells where the model raised an error or T lies below the triple point (the blends: below 200 K; R744: below its melting line), and R717 states below its triple point (-77.655 C) removed as metastable'),
 ('NearCriticalGrid', 'vapour and liquid from Tsat = T_crit - 35 K to floor(T_crit - 5 K), Tsat step 0.5 K, superheat or subcooling 0..16 K step 0.5 K, with the saturation pressure of each Tsat',
  'refrigerant_nearcritical_grid.csv (CoolProp 8.0.0, the same calls as VaporGrid and LiquidGrid; identical to them on their common points); no empty cells');
