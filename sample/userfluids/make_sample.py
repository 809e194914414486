#!/usr/bin/env python3
"""Writes userfluids_data.sql: three sample user fluids fitted the way the user fluid editor
fits them (interpolating polynomials in T + 273 through 3-5 samples, the viscosities as
logarithms, saturation temperature T + 273 as a polynomial in ln p[bar]).

Sample values (the editor's units: kg/m3, kJ/(kg K), W/(m K), mPa s, kJ/kg, bar) come from
the project's own data: the Melinder (IIR 2010) ethylene glycol fit at 30 % and the
saturation table of sample/fluids (R134a, R407C pseudo-pure), read from saturation.csv.
Usage: make_sample.py  (run in this folder)
"""
import csv
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def solve(A, b):
    n = len(A)
    M = [row[:] + [v] for row, v in zip(A, b)]
    for k in range(n):
        p = max(range(k, n), key=lambda r: abs(M[r][k]))
        M[k], M[p] = M[p], M[k]
        for r in range(n):
            if r != k:
                f = M[r][k] / M[k][k]
                for c in range(k, n + 1):
                    M[r][c] -= f * M[k][c]
    return [M[i][n] / M[i][i] for i in range(n)]


def fit(xs, ys):
    """Coefficients c0..c(n-1) of the polynomial through (xs, ys)."""
    n = len(xs)
    return solve([[x ** j for j in range(n)] for x in xs], ys)


# Melinder (IIR 2010), MEG: rows (i, j, rho, cp [J/kgK], lambda, ln mu[mPa s]).
MEG = [(0, 0, 1034, 3737, 0.472, 0.4705), (0, 1, -0.4781, 2.93, 8.903e-4, -0.0255),
       (0, 2, -0.002692, -0.004675, -1.058e-6, 1.782e-4), (0, 3, 4.725e-6, -1.389e-5, -2.789e-9, -7.669e-7),
       (1, 0, 1.311, -17.99, -0.004286, 0.02471), (1, 1, -0.006876, 0.1046, -1.473e-5, -1.171e-4),
       (1, 2, 4.805e-5, -4.147e-4, 1.059e-7, 1.052e-6), (1, 3, 1.69e-8, 1.847e-7, -1.142e-10, -1.634e-8),
       (2, 0, 7.49e-5, -0.09933, 1.747e-5, 3.328e-6), (2, 1, 7.855e-5, 3.516e-4, 6.814e-8, 1.086e-6),
       (2, 2, -3.995e-7, 5.109e-6, -3.612e-9, 1.051e-8), (2, 3, 4.982e-9, -7.138e-8, 2.365e-12, -6.475e-10),
       (3, 0, -1.062e-4, 0.00261, 3.017e-8, 1.659e-6), (3, 1, 1.229e-6, -1.189e-6, -2.412e-9, 3.157e-9),
       (3, 2, -1.153e-8, -1.643e-7, 4.004e-11, 4.063e-10), (4, 0, -9.623e-7, 1.537e-5, -1.322e-9, 3.089e-8),
       (4, 1, -7.211e-8, -4.272e-7, 2.555e-11, 1.831e-10), (5, 0, 4.891e-8, -1.618e-6, 2.678e-11, -1.865e-9)]


def meg(x, t, col):
    return sum(r[2 + col] * (x - 30.8462) ** r[0] * (t - 31.728) ** r[1] for r in MEG)


def sat_rows(fluid_id):
    rows = {}
    for r in csv.DictReader(open(os.path.join(HERE, "..", "fluids", "saturation.csv"))):
        if int(r["FluidID"]) == fluid_id:
            rows[float(r["T_C"])] = {k: float(v) if v else None for k, v in r.items()}
    return rows


def coeff_columns(stem, eq, coeffs):
    cols = {"eq" + stem: eq}
    for k, c in enumerate(coeffs):
        cols["c%s%d" % (stem, k)] = c
    return cols


def insert(table, cols):
    names = ", ".join('"%s"' % k for k in cols)
    values = ", ".join(("'%s'" % v.replace("'", "''")) if isinstance(v, str) else repr(v)
                       for v in cols.values())
    return "INSERT INTO %s (%s) VALUES (%s);" % (table, names, values)


def liquid(fid, ts, rho, cp, lam, mu):
    xs = [t + 273 for t in ts]
    cols = {"FluidID": fid, "TKmin": min(xs), "TKmax": max(xs)}
    cols.update(coeff_columns("RHOl", 1, fit(xs, rho)))
    cols.update(coeff_columns("CPl", 1, fit(xs, cp)))
    cols.update(coeff_columns("LAMl", 1, fit(xs, lam)))
    cols.update(coeff_columns("MUl", 2, fit(xs, [math.log(m) for m in mu])))
    return insert("Liquid", cols)


def two_phase(fid, rows, ts, tc, pc, mw, glide):
    xs = [t + 273 for t in ts]
    r = [rows[t] for t in ts]
    out = [liquid(fid, ts, [v["rho_liq_kg_m3"] for v in r], [v["cp_liq_J_kgK"] / 1e3 for v in r],
                  [v["lambda_liq_W_mK"] for v in r], [v["mu_liq_Pa_s"] * 1e3 for v in r])]
    pd = [v["p_dew_Pa"] / 1e5 for v in r]
    pb = [v["p_bubble_Pa"] / 1e5 for v in r]
    # Vapour compressibility Z = 1 + (pr/Tr)(c13 + c14/Tr + c15/Tr^6) through three samples.
    pick = [0, len(ts) // 2, len(ts) - 1]
    A, b = [], []
    for i in pick:
        z = r[i]["p_dew_Pa"] * mw * 1e-3 / (r[i]["rho_vap_kg_m3"] * 8.314462618 * (ts[i] + 273.15))
        pr = pd[i] / pc
        tr = (ts[i] + 273.15) / (tc + 273.15)
        A.append([pr / tr, pr / tr ** 2, pr / tr ** 7])
        b.append(z - 1)
    z13, z14, z15 = solve(A, b)
    cols = {"FluidID": fid, "TvapMin": min(xs), "TvapMax": max(xs), "TdewMin": min(xs),
            "TdewMax": max(xs), "PdewMin": min(pd), "PdewMax": max(pd), "Tc": tc + 273,
            "Pc": pc, "MW": mw, "cCPv13": z13, "cCPv14": z14, "cCPv15": z15}
    cols.update(coeff_columns("CPv", 1, fit(xs, [v["cp_vap_J_kgK"] / 1e3 for v in r])))
    cols.update(coeff_columns("LAMv", 1, fit(xs, [v["lambda_vap_W_mK"] for v in r])))
    cols.update(coeff_columns("MUv", 2, fit(xs, [math.log(v["mu_vap_Pa_s"] * 1e3) for v in r])))
    cols.update(coeff_columns("Entbub", 1, fit(xs, [v["h_liq_J_kg"] / 1e3 for v in r])))
    cols.update(coeff_columns("Entdew", 1, fit(xs, [v["h_vap_J_kg"] / 1e3 for v in r])))
    cols.update(coeff_columns("Tdew", 3, fit([math.log(p) for p in pd], xs)))
    if glide:
        cols.update({"PvapMin": min(pb), "PvapMax": max(pb), "TbubMin": min(xs), "TbubMax": max(xs)})
        cols.update(coeff_columns("Tbub", 3, fit([math.log(p) for p in pb], xs)))
    else:
        cols.update(coeff_columns("Hfg", 1, fit(xs, [(v["h_vap_J_kg"] - v["h_liq_J_kg"]) / 1e3 for v in r])))
    out.append(insert("Vapor", cols))
    return out


def info(fid, name, category, reference, form):
    return [insert("Info", {"FluidID": fid, "HelpName": name, "Category": category,
                            "UserLevel": "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "Reference": reference,
                            "Chemical form": form, "Date": "2026-12-06"}),
            insert("Language", {"FluidID": fid, "FamilyID": "999"})]


def main():
    sql = ["-- Generated by make_sample.py; do not edit by hand."]
    ts = [0.0, 20.0, 40.0]
    sql += info(1, "Glycol 30 % sample", "LIQ", "Melinder (IIR 2010) MEG 30 %, 3 samples", "C2H6O2/H2O")
    sql.append(liquid(1, ts, [meg(30, t, 0) for t in ts], [meg(30, t, 1) / 1e3 for t in ts],
                      [meg(30, t, 2) for t in ts], [math.exp(meg(30, t, 3)) for t in ts]))
    sql += info(2, "R134a sample", "LIQVAP", "Saturation table of the fluid database, 5 samples", "CH2FCF3")
    sql += two_phase(2, sat_rows(20), [-20.0, 0.0, 20.0, 40.0, 60.0], 101.06197, 40.592764, 102.032, False)
    sql += info(3, "R407C sample", "LIQVAP", "Saturation table of the fluid database, 5 samples", "R32/R125/R134a")
    sql += two_phase(3, sat_rows(23), [-20.0, 0.0, 20.0, 40.0, 60.0], 86.195, 46.317, 86.2036, True)
    open(os.path.join(HERE, "userfluids_data.sql"), "w").write("\n".join(sql) + "\n")


if __name__ == "__main__":
    main()
