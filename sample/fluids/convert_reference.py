#!/usr/bin/env python3
"""Converts the refrigerant property tables computed from the published equations of state
into the compact CSV files of this folder.

Usage: convert_reference.py REFERENCE_DIR

REFERENCE_DIR holds refrigerant_info.csv, refrigerant_saturation.csv,
refrigerant_vapor_grid.csv, refrigerant_liquid_grid.csv and
refrigerant_nearcritical_grid.csv (CoolProp 8.0.0 output, see PROVENANCE.md). The script
writes refrigerants.csv, saturation.csv, vapor_grid.csv, liquid_grid.csv and
nearcritical_grid.csv here. Numbers keep 8 significant digits (relative rounding below
5e-8). Redundant columns are dropped: the 2 K grids' pressure equals the saturation
table's dew (vapour) or bubble (liquid) pressure at the same temperature, and
T = Tsat +/- dT. The near-critical grid keeps its pressure: its saturation temperatures
run in 0.5 K steps, and the saturation table has no pressure at the half kelvins.
"""
import csv
import os
import sys

# FluidID (the channel-fluid correction table's identifier), aliases, models.
FLUIDS = {
    "R134a": (20, "HFC-134a", "Tillner-Roth & Baehr, J. Phys. Chem. Ref. Data 23 (1994) 657"),
    "R22": (21, "HCFC-22", "Kamei, Beyerlein & Jacobsen, Int. J. Thermophys. 16 (1995) 1155"),
    "R404A": (22, "", "Lemmon, Int. J. Thermophys. 24 (2003) 991 (pseudo-pure)"),
    "R407C": (23, "", "Lemmon, Int. J. Thermophys. 24 (2003) 991 (pseudo-pure)"),
    "R410A": (24, "", "Lemmon, Int. J. Thermophys. 24 (2003) 991 (pseudo-pure)"),
    "R507A": (25, "R507", "Lemmon, Int. J. Thermophys. 24 (2003) 991 (pseudo-pure)"),
    "R717": (26, "Ammonia;NH3", "Gao, Wu, Bell & Lemmon, J. Phys. Chem. Ref. Data (2020)"),
    "R290": (27, "Propane", "Lemmon, McLinden & Wagner, J. Chem. Eng. Data 54 (2009) 3141"),
    "R600a": (28, "Isobutane", "Buecker & Wagner, J. Phys. Chem. Ref. Data 35 (2006) 929"),
    "R32": (29, "HFC-32", "Tillner-Roth & Yokozeki, J. Phys. Chem. Ref. Data 26 (1997) 1273"),
    "R1234yf": (30, "HFO-1234yf", "Lemmon & Akasaka, Int. J. Thermophys. 43 (2022) 119"),
    "R1234ze(E)": (31, "R1234ze;HFO-1234ze(E)", "Thol & Lemmon, Int. J. Thermophys. 37 (2016)"),
    "R744": (32, "CO2;Carbon dioxide", "Span & Wagner, J. Phys. Chem. Ref. Data 25 (1996) 1509"),
    "R125": (33, "HFC-125", "Lemmon & Jacobsen, J. Phys. Chem. Ref. Data 34 (2005) 69"),
}

TRANSPORT = {
    "R134a": "viscosity Huber et al. 2003; conductivity McLinden et al. 2000; sigma Mulero et al. 2012",
    "R22": "viscosity Bell & Laesecke 2016 (entropy scaling); conductivity McLinden et al. 2000 (ECS); sigma Mulero et al. 2012",
    "R404A": "viscosity Geller 2000; conductivity Geller et al. 2001; sigma Okada et al. 1999",
    "R407C": "viscosity Geller 2000; conductivity Geller et al. 2001; sigma Okada et al. 1999",
    "R410A": "viscosity Geller 2000; conductivity Geller et al. 2001; sigma Okada et al. 1999",
    "R507A": "viscosity Geller 2000; conductivity Geller et al. 2001; sigma Okada et al. 1999",
    "R717": "viscosity Fenghour et al. 1995; conductivity Tufeu et al. 1984; sigma Mulero et al. 2012",
    "R290": "viscosity Vogel et al. 1998; conductivity Marsh et al. 2002; sigma Mulero et al. 2012",
    "R600a": "viscosity Vogel et al. 2000; conductivity Perkins 2002; sigma Mulero et al. 2012",
    "R32": "viscosity Bell & Laesecke 2016 (entropy scaling); conductivity Huber et al. 2003 (ECS); sigma Mulero et al. 2012",
    "R1234yf": "viscosity Bell & Laesecke 2016 (entropy scaling); conductivity Perkins & Huber 2011; sigma Mulero et al. 2012",
    "R1234ze(E)": "viscosity Bell & Laesecke 2016 (entropy scaling); conductivity Perkins & Huber 2011; sigma Mulero & Cachadina 2014",
    "R744": "viscosity Laesecke & Muzny 2017; conductivity Huber et al. 2016; sigma Mulero et al. 2012",
    "R125": "viscosity Huber & Laesecke 2006; conductivity Perkins & Huber 2006; sigma Mulero et al. 2012",
}


def num(text):
    return "" if text == "" else "%.8g" % float(text)


def main(ref):
    here = os.path.dirname(os.path.abspath(__file__))
    info = {r["fluid"]: r for r in csv.DictReader(open(os.path.join(ref, "refrigerant_info.csv")))}
    triple = {}
    with open(os.path.join(here, "refrigerants.csv"), "w", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["FluidID", "Name", "Aliases", "Kind", "MolarMass_kg_mol", "Tcrit_C",
                    "Pcrit_Pa", "Ttriple_C", "EOS", "Transport"])
        for name, (fid, aliases, eos) in FLUIDS.items():
            r = info[name]
            triple[name] = float(r["T_triple_C"])
            w.writerow([fid, name, aliases, r["kind"], num(r["molar_mass_kg_mol"]),
                        num(r["T_crit_C"]), num(r["p_crit_Pa"]), num(r["T_triple_C"]), eos,
                        TRANSPORT[name]])

    cols = ["p_bubble_Pa", "p_dew_Pa", "rho_liq_kg_m3", "rho_vap_kg_m3", "h_liq_J_kg",
            "h_vap_J_kg", "cp_liq_J_kgK", "cp_vap_J_kgK", "mu_liq_Pa_s", "mu_vap_Pa_s",
            "lambda_liq_W_mK", "lambda_vap_W_mK", "sigma_N_m"]
    with open(os.path.join(here, "saturation.csv"), "w", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["FluidID", "T_C"] + cols)
        for r in csv.DictReader(open(os.path.join(ref, "refrigerant_saturation.csv"))):
            if r["fluid"] not in FLUIDS:
                continue  # the real-mixture rows are comparison data only
            w.writerow([FLUIDS[r["fluid"]][0], num(r["T_C"])] + [num(r[c]) for c in cols])

    props = ["rho_kg_m3", "h_J_kg", "cp_J_kgK", "mu_Pa_s", "lambda_W_mK"]

    def state_values(r, liquid):
        # States below the triple point are metastable extrapolations of the equation
        # of state, not data.
        if liquid and float(r["T_C"]) < triple[r["fluid"]]:
            return [""] * len(props)
        return [num(r[c]) for c in props]

    for src, dst, tcol, dcol, sign in (
            ("refrigerant_vapor_grid.csv", "vapor_grid.csv", "Tsat_dew_C", "dT_superheat_K", 1),
            ("refrigerant_liquid_grid.csv", "liquid_grid.csv", "Tsat_bubble_C", "dT_subcool_K", -1)):
        with open(os.path.join(here, dst), "w", newline="") as f:
            w = csv.writer(f, lineterminator="\n")
            w.writerow(["FluidID", "Tsat_C", "dT_K"] + props)
            for r in csv.DictReader(open(os.path.join(ref, src))):
                w.writerow([FLUIDS[r["fluid"]][0], num(r[tcol]), num(r[dcol])] +
                           state_values(r, sign < 0))

    with open(os.path.join(here, "nearcritical_grid.csv"), "w", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["FluidID", "Side", "Tsat_C", "dT_K", "p_Pa"] + props)
        for r in csv.DictReader(open(os.path.join(ref, "refrigerant_nearcritical_grid.csv"))):
            if r["side"] not in ("vapor", "liquid"):
                sys.exit("unknown side %r in refrigerant_nearcritical_grid.csv" % r["side"])
            w.writerow([FLUIDS[r["fluid"]][0], r["side"], num(r["Tsat_C"]), num(r["dT_K"]),
                        num(r["p_Pa"])] + state_values(r, r["side"] == "liquid"))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
