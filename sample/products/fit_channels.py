#!/usr/bin/env python3
"""Fits the stored channel correlations of the sample range.

Each channel type stores its friction factor and its Nusselt number as a continuous
piecewise power law in the Reynolds number (see docs/engine-records.md for the exact
meaning of cFp, noFp, xFp<i>, crFp<i>, cnu, noNu, xNu<i>, crNu<i>):

    y(Re) = c_k * Re**x_k   for cr_k <= Re < cr_(k+1)   (range 0 starts at Re = 0,
                                                         the last range is open)
    c_0   = cFp (or cnu),   c_k = c_(k-1) * cr_k**(x_(k-1) - x_k)   (continuity)

The target is the chevron-plate correlation of Martin (1996), "A theoretical approach to
predict the performance of chevron-type plate heat exchangers", Chem. Eng. Process.
35:301-310, in the form printed in the VDI Heat Atlas (section on plate heat exchangers):

    1/sqrt(xi) = cos(b) / sqrt(0.18 tan(b) + 0.36 sin(b) + xi0/cos(b))
               + (1 - cos(b)) / sqrt(3.8 xi1)
    Re < 2000: xi0 = 64/Re,  xi1 = 597/Re + 3.85
    Re >= 2000: xi0 = (1.8 log10(Re) - 1.5)**-2,  xi1 = 39 Re**-0.289
    Nu = 0.122 Pr**(1/3) (eta/eta_w)**(1/6) (xi Re**2 sin(2b))**0.374

xi is the Darcy factor (dp = xi L/dh rho w^2/2). The stored Nusselt law is the part
without the Prandtl and viscosity-ratio factors, which the engine applies itself.
Martin's branches do not meet at Re = 2000 (xi jumps by 5 to 7 %); a continuous fit
cannot follow the jump, so about half of it shows up in the friction error.

A mixed channel (one high-angle and one low-angle plate) is fitted at the mean of the two
angles, the rule the VDI Heat Atlas gives for unsymmetric plate pairs.

The fit minimises the largest relative error over log-spaced Reynolds numbers (minimax,
Lawson's iteratively reweighted least squares, with the breakpoints moved by a
Nelder-Mead search). The stored numbers are rounded to six significant digits and the
recorded error is that of the rounded law, rounded up to the next 0.01 % after a margin
of 0.005 % for what lies between the sampled Reynolds numbers.

Run: python3 fit_channels.py  (pure Python 3, no third-party modules); the generator of
the sample range imports fit_angle() from here.
"""

import math

RE_MIN = 10.0
RE_MAX = 20000.0
N_POINTS = 240
MAX_BREAKS = 4  # columns xFp0..xFp4 / crFp1..crFp4


def martin_xi(re, beta_deg):
    """Darcy friction factor of a chevron channel, Martin (1996), VDI Heat Atlas form."""
    b = math.radians(beta_deg)
    if re < 2000.0:
        xi0 = 64.0 / re
        xi1 = 597.0 / re + 3.85
    else:
        xi0 = (1.8 * math.log10(re) - 1.5) ** -2
        xi1 = 39.0 * re ** -0.289
    s = (math.cos(b) / math.sqrt(0.18 * math.tan(b) + 0.36 * math.sin(b) + xi0 / math.cos(b))
         + (1.0 - math.cos(b)) / math.sqrt(3.8 * xi1))
    return 1.0 / (s * s)


def martin_nu0(re, beta_deg):
    """Martin's Nusselt number without Pr**(1/3) and the viscosity-ratio factor."""
    b = math.radians(beta_deg)
    return 0.122 * (martin_xi(re, beta_deg) * re * re * math.sin(2.0 * b)) ** 0.374


def sig(v, digits=6):
    if v == 0.0:
        return 0.0
    return float(f"{v:.{digits - 1}e}")


def evaluate(c0, exps, breaks, re):
    """Value of a stored piecewise power law; breaks ascending, len(exps) = len(breaks)+1."""
    c = c0
    k = 0
    while k < len(breaks) and re >= breaks[k]:
        c = c * breaks[k] ** (exps[k] - exps[k + 1])
        k += 1
    return c * re ** exps[k]


def _solve(a, b):
    """Gaussian elimination with partial pivoting on a small dense system."""
    n = len(b)
    m = [row[:] + [b[i]] for i, row in enumerate(a)]
    for col in range(n):
        piv = max(range(col, n), key=lambda r: abs(m[r][col]))
        m[col], m[piv] = m[piv], m[col]
        p = m[col][col]
        if abs(p) < 1e-300:
            raise ZeroDivisionError("singular system")
        for r in range(col + 1, n):
            f = m[r][col] / p
            if f:
                for j in range(col, n + 1):
                    m[r][j] -= f * m[col][j]
    x = [0.0] * n
    for r in range(n - 1, -1, -1):
        x[r] = (m[r][n] - sum(m[r][j] * x[j] for j in range(r + 1, n))) / m[r][r]
    return x


def _hat_basis(u, knots):
    """Piecewise-linear hat functions on the knot vector (first and last knot = ends)."""
    row = [0.0] * len(knots)
    for j in range(len(knots) - 1):
        if knots[j] <= u <= knots[j + 1]:
            t = (u - knots[j]) / (knots[j + 1] - knots[j])
            row[j] = 1.0 - t
            row[j + 1] = t
            break
    return row


def _minimax_values(us, ys, knots, iterations=60):
    """Knot values of the continuous broken line minimising max |error| (Lawson)."""
    rows = [_hat_basis(u, knots) for u in us]
    n = len(knots)
    w = [1.0 / len(us)] * len(us)
    best = None
    for _ in range(iterations):
        ata = [[0.0] * n for _ in range(n)]
        aty = [0.0] * n
        for row, y, wi in zip(rows, ys, w):
            for i in range(n):
                if row[i]:
                    aty[i] += wi * row[i] * y
                    for j in range(n):
                        if row[j]:
                            ata[i][j] += wi * row[i] * row[j]
        for i in range(n):
            ata[i][i] += 1e-14
        vals = _solve(ata, aty)
        errs = [abs(sum(r * v for r, v in zip(row, vals)) - y) for row, y in zip(rows, ys)]
        emax = max(errs)
        if best is None or emax < best[0]:
            best = (emax, vals)
        total = sum(wi * e for wi, e in zip(w, errs))
        if total <= 0.0:
            break
        w = [wi * e / total for wi, e in zip(w, errs)]
    return best


def _nelder_mead(f, x0, step, iterations):
    pts = [list(x0)]
    for i in range(len(x0)):
        p = list(x0)
        p[i] += step
        pts.append(p)
    vals = [f(p) for p in pts]
    for _ in range(iterations):
        order = sorted(range(len(pts)), key=lambda i: vals[i])
        pts = [pts[i] for i in order]
        vals = [vals[i] for i in order]
        centroid = [sum(p[j] for p in pts[:-1]) / (len(pts) - 1) for j in range(len(x0))]
        refl = [c + (c - w) for c, w in zip(centroid, pts[-1])]
        fr = f(refl)
        if fr < vals[0]:
            exp = [c + 2.0 * (c - w) for c, w in zip(centroid, pts[-1])]
            fe = f(exp)
            pts[-1], vals[-1] = (exp, fe) if fe < fr else (refl, fr)
        elif fr < vals[-2]:
            pts[-1], vals[-1] = refl, fr
        else:
            con = [c + 0.5 * (w - c) for c, w in zip(centroid, pts[-1])]
            fc = f(con)
            if fc < vals[-1]:
                pts[-1], vals[-1] = con, fc
            else:
                for i in range(1, len(pts)):
                    pts[i] = [pts[0][j] + 0.5 * (pts[i][j] - pts[0][j]) for j in range(len(x0))]
                    vals[i] = f(pts[i])
    i = min(range(len(pts)), key=lambda k: vals[k])
    return pts[i], vals[i]


def fit_curve(func, n_breaks=MAX_BREAKS):
    """Stored (c0, exponents, breaks) and max relative error of the rounded law."""
    lo, hi = math.log(RE_MIN), math.log(RE_MAX)
    us = [lo + (hi - lo) * i / (N_POINTS - 1) for i in range(N_POINTS)]
    ys = [math.log(func(math.exp(u))) for u in us]

    def knots_of(inner):
        return [lo] + sorted(inner) + [hi]

    def objective(inner):
        ks = knots_of(inner)
        if any(b - a < 0.15 for a, b in zip(ks, ks[1:])):
            return 1e9
        return _minimax_values(us, ys, ks, iterations=25)[0]

    start = [lo + (hi - lo) * (i + 1) / (n_breaks + 1) for i in range(n_breaks)]
    inner, _ = _nelder_mead(objective, start, 0.4, 120)
    ks = knots_of(inner)
    _, vals = _minimax_values(us, ys, ks, iterations=120)

    slopes = [(vals[j + 1] - vals[j]) / (ks[j + 1] - ks[j]) for j in range(len(ks) - 1)]
    c0 = math.exp(vals[0] - slopes[0] * ks[0])
    exps = [sig(s) for s in slopes]
    breaks = [sig(math.exp(k)) for k in ks[1:-1]]
    c0 = sig(c0)

    err = max_error(func, c0, exps, breaks)
    return c0, exps, breaks, err


def max_error(func, c0, exps, breaks):
    """Largest relative error over the span: a dense log grid plus both sides of the
    reference's branch switch and of every breakpoint, where the extremes sit."""
    lo, hi = math.log(RE_MIN), math.log(RE_MAX)
    points = [math.exp(lo + (hi - lo) * i / 20000) for i in range(20001)]
    for edge in [2000.0] + list(breaks):
        points += [edge * (1.0 - 1e-12), edge, edge * (1.0 + 1e-12)]
    return max(abs(evaluate(c0, exps, breaks, re) / func(re) - 1.0)
               for re in points if RE_MIN <= re <= RE_MAX)


def fit_angle(beta_deg):
    """Friction and Nusselt laws of one chevron angle with their max relative errors."""
    f = fit_curve(lambda re: martin_xi(re, beta_deg))
    nu = fit_curve(lambda re: martin_nu0(re, beta_deg))
    return {"beta": beta_deg, "fp": f, "nu": nu}


if __name__ == "__main__":
    for beta in (30.0, 45.0, 47.5, 60.0, 65.0):
        r = fit_angle(beta)
        for name in ("fp", "nu"):
            c0, exps, breaks, err = r[name]
            print(f"beta={beta} {name}: c0={c0} x={exps} cr={breaks} maxerr={100 * err:.3f}%")
