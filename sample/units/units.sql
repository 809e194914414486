-- The units database: every unit a user can enter or read, with the linear rule that takes
-- a value in that unit to the SI unit of its quantity group:
--
--     SI value = (value + Add) * Mult * density factor
--
-- Density = 0: no density; 1: the fluid's density at the given temperature (volume flows);
-- 2: the fluid's density at 20 °C and 100000 Pa (normal volume flows). Volume flows are
-- therefore members of the flow group, whose SI unit is kg/s.
--
-- The SI unit of each group (Mult = 1, Add = 0) is the unit values are held in inside the
-- library. Temperatures are held in °C, as the fluid component works in °C; the group's
-- display offset 273.15 makes significant digits count from the absolute temperature.
--
-- Sources of the factors:
--   [SP811] NIST Special Publication 811 (2008), Guide for the Use of the International
--           System of Units, Appendix B.8 and B.9. Exact definitions used where SP 811 marks
--           a factor as exact: 1 lb = 0.45359237 kg, 1 ft = 0.3048 m, 1 in = 0.0254 m,
--           1 US gal = 3.785411784 L, standard gravity 9.80665 m/s², 1 cal_IT = 4.1868 J,
--           1 Btu_IT = 1055.05585262 J, 1 °F interval = 5/9 K, t/°C = (t/°F - 32) / 1.8,
--           1 ton of refrigeration = 12000 Btu_IT/h.
-- Factors are written as the products of these definitions so that the stored doubles are
-- as exact as the definitions allow; the SP 811 rounded value is quoted next to each.
--
-- UnitIDs 0, 1, 23, 24, 25, 27, 32, 35, 39-55, 59, 60, 70 and 71 are named by the built-in
-- SI and US output-unit lists:
--   SI "48;39;70;41;42;52;54;32;44;46;59;48;50;23;24;25;0"
--   US "49;40;71;41;43;53;55;35;45;47;60;49;51;27;27;27;1"
-- for OHTC, Area, MTD, Viscosity, Density, length, Volume, Weight, HeatCapacity,
-- ThermalConductivity, LatentHeat, FilmCoeff, Velocity, PdropPorts, ShearStress,
-- Op_Max_Pressure and MaxWorkTemp. Shear stress is shown in pressure units (Pa, psi), so it
-- belongs to the pressure group. Do not renumber those rows.
--
-- Labels join the factors of a compound unit with "," (e.g. "m²,°C/kW"); the spreadsheet
-- batch reads its columns with the labels "kW", "°C", "kPa", "kg/s", "%" and "m²,°C/kW".
-- Temperature-difference labels carry a "Δ" so that no label names two units.

PRAGMA encoding = 'UTF-8';

CREATE TABLE UnitGroups (
    GroupID    INTEGER PRIMARY KEY,
    GroupName  TEXT    NOT NULL,
    SignDigits INTEGER NOT NULL,
    "offset"   REAL    NOT NULL DEFAULT 0,
    SIID       INTEGER NOT NULL,
    USID       INTEGER NOT NULL
);

CREATE TABLE Convert (
    UnitID    INTEGER PRIMARY KEY,
    unit      TEXT    NOT NULL UNIQUE,
    UnitGroup INTEGER NOT NULL REFERENCES UnitGroups (GroupID),
    Mult      REAL    NOT NULL,
    "Add"     REAL    NOT NULL DEFAULT 0,
    Density   INTEGER NOT NULL DEFAULT 0 CHECK (Density IN (0, 1, 2)),
    Use       BOOLEAN NOT NULL DEFAULT -1 CHECK (Use IN (-1, 0))   -- Jet boolean: -1 true
);

--                GroupID GroupName                    SignDigits offset  SIID USID
INSERT INTO UnitGroups VALUES
    ( 1, 'Temperature',                4, 273.15,   0,   1),
    ( 2, 'Temperature difference',     3, 0,       70,  71),
    ( 3, 'Heat load',                  3, 0,        4,   7),
    ( 4, 'Flow',                       3, 0,        9,  11),
    ( 5, 'Pressure',                   3, 0,       23,  27),
    ( 6, 'Weight',                     3, 0,       32,  35),
    ( 7, 'Volume',                     3, 0,       54,  55),
    ( 8, 'Area',                       3, 0,       39,  40),
    ( 9, 'Viscosity',                  3, 0,       41,  41),
    (10, 'Density',                    3, 0,       42,  43),
    (11, 'Heat capacity',              3, 0,       44,  45),
    (12, 'Thermal conductivity',       3, 0,       46,  47),
    (13, 'Latent heat',                3, 0,       59,  60),
    (14, 'Heat transfer coefficient',  3, 0,       48,  49),
    (15, 'Velocity',                   3, 0,       50,  51),
    (16, 'Length',                     3, 0,       52,  53),
    (17, 'Fouling factor',             3, 0,       79,  80),
    (18, 'Percent',                    3, 0,       83,  83),
    (19, 'Heat flux',                  3, 0,       85,  86),
    (20, 'Time',                       3, 0,       87,  87);

-- Temperature; SI unit °C.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    ( 0, '°C', 1, 1,         0,       0),
    ( 1, '°F', 1, 5.0 / 9.0, -32,     0),   -- [SP811] t/°C = (t/°F - 32)/1.8
    ( 2, 'K',  1, 1,         -273.15, 0);   -- [SP811] t/°C = T/K - 273.15

-- Temperature difference; SI unit K (= °C interval). MTD is shown in these.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (70, 'ΔK',  2, 1,         0, 0),
    (71, 'Δ°F', 2, 5.0 / 9.0, 0, 0),        -- [SP811] 1 °F interval = 5/9 K
    (72, 'Δ°C', 2, 1,         0, 0);

-- Heat load; SI unit W.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    ( 3, 'W',      3, 1,                                0, 0),
    ( 4, 'kW',     3, 1000,                             0, 0),
    ( 5, 'MW',     3, 1000000,                          0, 0),
    ( 6, 'kcal/h', 3, 4186.8 / 3600.0,                  0, 0),  -- [SP811] kcal_IT/h = 1.163 W
    ( 7, 'Btu/h',  3, 1055.05585262 / 3600.0,           0, 0),  -- [SP811] 2.930 711 E-01 W
    ( 8, 'TR',     3, 12000.0 * 1055.05585262 / 3600.0, 0, 0);  -- [SP811] 3.516 853 E+03 W

-- Flow; SI unit kg/s. Volume flows (Density 1) become mass flows through the fluid's
-- density at the flow's temperature, normal volume flows (Density 2) through the density
-- at 20 °C and 100000 Pa.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    ( 9, 'kg/s',    4, 1,                                0, 0),
    (10, 'kg/h',    4, 1.0 / 3600.0,                     0, 0),
    (11, 'lb/h',    4, 0.45359237 / 3600.0,              0, 0),  -- [SP811] 1.259 979 E-04 kg/s
    (12, 'lb/min',  4, 0.45359237 / 60.0,                0, 0),  -- [SP811] 7.559 873 E-03 kg/s
    (13, 't/h',     4, 1000.0 / 3600.0,                  0, 0),
    (14, 'm³/h',    4, 1.0 / 3600.0,                     0, 1),
    (15, 'l/s',     4, 0.001,                            0, 1),  -- [SP811] 1 L = 1E-03 m³
    (16, 'l/min',   4, 0.001 / 60.0,                     0, 1),
    (17, 'US gpm',  4, 3.785411784E-03 / 60.0,           0, 1),  -- [SP811] 6.309 020 E-05 m³/s
    (18, 'm³/s',    4, 1,                                0, 1),
    (19, 'Nm³/h',   4, 1.0 / 3600.0,                     0, 2),
    (20, 'Nl/min',  4, 0.001 / 60.0,                     0, 2);

-- Pressure, pressure drop and shear stress; SI unit Pa.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (23, 'kPa',    5, 1000,                                        0, 0),
    (24, 'Pa',     5, 1,                                           0, 0),
    (25, 'bar',    5, 100000,                                      0, 0),  -- [SP811] 1 bar = 1E+05 Pa
    (26, 'mbar',   5, 100,                                         0, 0),
    (27, 'psi',    5, 0.45359237 * 9.80665 / (0.0254 * 0.0254),    0, 0),  -- [SP811] lbf/in² 6.894 757 E+03 Pa
    (28, 'mWC',    5, 9806.65,                                     0, 0),  -- [SP811] mH2O, conventional 9.806 65 E+03 Pa
    (29, 'ftWC',   5, 9806.65 * 0.3048,                            0, 0),  -- [SP811] ftH2O, conventional 2.989 067 E+03 Pa
    (30, 'MPa',    5, 1000000,                                     0, 0),
    (31, 'inWC',   5, 9806.65 * 0.0254,                            0, 0),  -- [SP811] inH2O, conventional 2.490 889 E+02 Pa
    (82, 'lbf/ft²', 5, 0.45359237 * 9.80665 / (0.3048 * 0.3048),   0, 0);  -- [SP811] 4.788 026 E+01 Pa

-- Weight (mass); SI unit kg.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (32, 'kg', 6, 1,          0, 0),
    (33, 'g',  6, 0.001,      0, 0),
    (34, 't',  6, 1000,       0, 0),
    (35, 'lb', 6, 0.45359237, 0, 0);                           -- [SP811] exact

-- Volume; SI unit m³.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (36, 'm³',     7, 1,                          0, 0),
    (37, 'ft³',    7, 0.3048 * 0.3048 * 0.3048,   0, 0),   -- [SP811] 2.831 685 E-02 m³
    (38, 'in³',    7, 0.0254 * 0.0254 * 0.0254,   0, 0),   -- [SP811] 1.638 706 E-05 m³
    (54, 'l',      7, 0.001,                      0, 0),   -- [SP811] 1 L = 1E-03 m³
    (55, 'US gal', 7, 3.785411784E-03,            0, 0);   -- [SP811] exact

-- Area; SI unit m².
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (39, 'm²',  8, 1,               0, 0),
    (40, 'ft²', 8, 0.3048 * 0.3048, 0, 0),                     -- [SP811] 9.290 304 E-02 m², exact
    (56, 'cm²', 8, 0.0001,          0, 0),
    (57, 'in²', 8, 0.0254 * 0.0254, 0, 0);                     -- [SP811] 6.4516 E-04 m², exact

-- Dynamic viscosity; SI unit Pa·s. The centipoise serves both unit systems.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (41, 'cP',      9, 0.001,                        0, 0),    -- [SP811] 1 cP = 1E-03 Pa·s
    (58, 'Pa,s',    9, 1,                            0, 0),
    (61, 'mPa,s',   9, 0.001,                        0, 0),
    (62, 'lb/ft,h', 9, 0.45359237 / (0.3048 * 3600), 0, 0);    -- [SP811] 4.133 789 E-04 Pa·s

-- Density; SI unit kg/m³.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (42, 'kg/m³',  10, 1,                                     0, 0),
    (43, 'lb/ft³', 10, 0.45359237 / (0.3048 * 0.3048 * 0.3048), 0, 0),  -- [SP811] 1.601 846 E+01 kg/m³
    (63, 'g/cm³',  10, 1000,                                  0, 0);

-- Specific heat capacity; SI unit J/(kg·K).
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (44, 'kJ/kg,°C',   11, 1000,   0, 0),
    (45, 'Btu/lb,°F',  11, 4186.8, 0, 0),                     -- [SP811] Btu_IT/(lb·°F) = 4.1868 E+03, exact
    (64, 'J/kg,°C',    11, 1,      0, 0),
    (65, 'kcal/kg,°C', 11, 4186.8, 0, 0);                     -- [SP811] cal_IT/(g·°C) = 4.1868 E+03, exact

-- Thermal conductivity; SI unit W/(m·K).
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (46, 'W/m,°C',      12, 1,                                          0, 0),
    (47, 'Btu/h,ft,°F', 12, 1055.05585262 * 1.8 / (3600.0 * 0.3048),   0, 0),  -- [SP811] 1.730 735 E+00
    (66, 'kcal/h,m,°C', 12, 4186.8 / 3600.0,                            0, 0);  -- 1.163, from cal_IT

-- Latent heat (specific energy); SI unit J/kg.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (59, 'kJ/kg',   13, 1000,   0, 0),
    (60, 'Btu/lb',  13, 2326,   0, 0),                          -- [SP811] Btu_IT/lb = 2.326 E+03 J/kg, exact
    (67, 'J/kg',    13, 1,      0, 0),
    (68, 'kcal/kg', 13, 4186.8, 0, 0);                          -- [SP811] cal_IT/g = 4.1868 E+03 J/kg, exact

-- Film coefficient and overall heat transfer coefficient; SI unit W/(m²·K).
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (48, 'W/m²,°C',      14, 1,                                              0, 0),
    (49, 'Btu/h,ft²,°F', 14, 1055.05585262 * 1.8 / (3600.0 * 0.3048 * 0.3048), 0, 0),  -- [SP811] 5.678 263 E+00
    (69, 'kW/m²,°C',     14, 1000,                                           0, 0),
    (73, 'kcal/h,m²,°C', 14, 4186.8 / 3600.0,                                0, 0);  -- 1.163, from cal_IT

-- Velocity; SI unit m/s.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (50, 'm/s',    15, 1,             0, 0),
    (51, 'ft/s',   15, 0.3048,        0, 0),                    -- [SP811] exact
    (74, 'ft/min', 15, 0.3048 / 60.0, 0, 0);                    -- [SP811] 5.08 E-03 m/s, exact

-- Length (dimensions, connection diameters); SI unit m.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (52, 'mm', 16, 0.001,  0, 0),
    (53, 'in', 16, 0.0254, 0, 0),                                -- [SP811] exact
    (75, 'm',  16, 1,      0, 0),
    (76, 'ft', 16, 0.3048, 0, 0),                                -- [SP811] exact
    (77, 'cm', 16, 0.01,   0, 0);

-- Fouling factor (thermal resistance of a deposit); SI unit m²·K/W.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (78, 'm²,°C/W',      17, 1,                                                   0, 0),
    (79, 'm²,°C/kW',     17, 0.001,                                               0, 0),
    (80, 'h,ft²,°F/Btu', 17, 3600.0 * 0.3048 * 0.3048 / (1055.05585262 * 1.8),    0, 0),  -- [SP811] 1.761 102 E-01
    (81, 'm²,h,°C/kcal', 17, 3600.0 / 4186.8,                                     0, 0);  -- 1/1.163, from cal_IT

-- Percent (surface margin, concentrations); held as percent.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (83, '%', 18, 1, 0, 0);

-- Heat flux; SI unit W/m².
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (84, 'W/m²',      19, 1,                                                0, 0),
    (85, 'kW/m²',     19, 1000,                                             0, 0),
    (86, 'Btu/h,ft²', 19, 1055.05585262 / (3600.0 * 0.3048 * 0.3048),       0, 0);  -- [SP811] 3.154 591 E+00

-- Time; SI unit s.
INSERT INTO Convert (UnitID, unit, UnitGroup, Mult, "Add", Density) VALUES
    (87, 'min', 20, 60,   0, 0),
    (88, 's',   20, 1,    0, 0),
    (89, 'h',   20, 3600, 0, 0);

-- Rarely wanted units stay convertible but are not offered in unit menus.
UPDATE Convert SET Use = 0 WHERE unit IN ('m³/s', 'Pa,s', 'J/kg,°C', 'J/kg', 'g', 'in³', 'lbf/ft²');
