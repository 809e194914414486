#!/usr/bin/env python3
"""Writes the data of the sample product range as SQL text.

The sample range is fictional: the "Q" brazed plate line of eleven plate sizes from
0.01 m^2 to 0.5 m^2 per plate (plus a retired size and three dual-circuit builds) and the
small "QL" legacy line of a second product database. Every table that describes the same
model (HXQ, Channel, HXQMeas, Stock, Cost ...) is derived here from one geometry record
per model, so the databases agree with each other.

Geometry (VDI Heat Atlas, plate heat exchangers; Martin 1996):
    wave number X = 2 pi a / wavelength, a = corrugation amplitude
    enlargement Phi = (1 + sqrt(1 + X^2) + 4 sqrt(1 + X^2/2)) / 6
    plate gap (corrugation depth) b = 2 a,  hydraulic diameter dh = 2 b / Phi
    effective plate area = FlowLength x FlowWidth x Phi
    channel volume = b x FlowWidth x FlowLength,  plate pitch = b + plate thickness

Writes (run from anywhere; the script finds the folders beside its own):
    sample/products/range.sql     HXQ, Channel, ModelTree, Cost, VRing, channel-fluid
                                  factors, Denomination, XPC, AD-Models
    sample/legacy/legacy.sql      the legacy database's rows
    sample/stock/stock.sql        Stock
    sample/selector/selector.sql  HXQMeas, BaseArticleNumbers, ITEM_PLAN_NF, Models,
                                  Connections, XPCmaterial
    sample/README.md              the description of the range with its table of models

    python3 sample/products/generate_range.py
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fit_channels  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE = os.path.dirname(HERE)

TRUE, FALSE = -1, 0  # Jet booleans

# Refrigerant identifiers of the fluid database (sample/fluids/refrigerants.csv), which
# the fluid objects report as their FluidID for the channel-fluid correction table.
FLUID_IDS = {"R134a": 20, "R407C": 23, "R410A": 24, "R717": 26}

HIGH_ANGLE_SMALL = 65.0  # chevron angle from the flow direction, degrees
HIGH_ANGLE_LARGE = 60.0
LOW_ANGLE = 30.0


class Model:
    def __init__(self, hxq_id, name, width, length, amp_mm, wave_mm, t_mm, port_mm,
                 max_plates, max_passes, **kw):
        self.id = hxq_id
        self.name = name
        self.width = width
        self.length = length
        self.amp = amp_mm / 1000.0
        self.wave = wave_mm / 1000.0
        self.t = t_mm / 1000.0
        self.port = port_mm / 1000.0
        self.port_mm = port_mm
        self.max_plates = max_plates
        self.max_passes = max_passes
        self.dual = kw.get("dual", False)
        self.retired = kw.get("retired", False)
        self.vring = kw.get("vring", 0)
        self.info2 = kw.get("info2")
        self.port_down = kw.get("port_down_mm", port_mm) / 1000.0
        # Small plates take the steeper high angle (more turbulence at their low flows).
        self.h_angle = HIGH_ANGLE_SMALL if port_mm <= 33 else HIGH_ANGLE_LARGE
        self.extra_m = kw.get("extra_m", False)
        self.slit = kw.get("slit", 0.0)
        self.cocurr = kw.get("cocurr", "0.85")
        self.dtmin = kw.get("dtmin", 0.5 if self.port_mm < 50 else 1.0)
        self.three_pass_code = kw.get("three_pass_code", max_passes >= 3)
        self.base_of = kw.get("base_of")  # the model a dual build is derived from
        # Duty letters the model is listed for: the dual refrigerant builds are condensers
        # and evaporators only, the dual single-phase build is single phase only.
        self.duties = kw.get("duties", "CE" if self.dual else "SCE")
        # A build made for one duty only ("T" two-stage, "CE" cascade): it stays out of the
        # single-phase, condenser and evaporator trees.
        self.only = kw.get("only")
        self.split = kw.get("split", 3)
        self.depth = kw.get("depth", 2)
        self.design_bar = kw.get("design_bar")  # (bar at CH1TempAlt1, at CH1TempAlt2)

    @property
    def x(self):
        return 2.0 * math.pi * self.amp / self.wave

    @property
    def phi(self):
        x = self.x
        return (1.0 + math.sqrt(1.0 + x * x) + 4.0 * math.sqrt(1.0 + x * x / 2.0)) / 6.0

    @property
    def gap(self):
        return 2.0 * self.amp

    @property
    def dh(self):
        return 2.0 * self.gap / self.phi

    @property
    def plate_area(self):
        return self.width * self.length * self.phi

    @property
    def ch_vol(self):
        return self.gap * self.width * self.length

    @property
    def pitch(self):
        return self.gap + self.t

    @property
    def m_angle(self):
        # A channel between a high-angle and a low-angle plate: the mean angle (VDI).
        return (self.h_angle + LOW_ANGLE) / 2.0

    def channel_id(self, kind):
        return self.id * 10 + {"H": 1, "L": 2, "M": 3}[kind]

    def angle(self, kind):
        return {"H": self.h_angle, "L": LOW_ANGLE, "M": self.m_angle}[kind]


# id, name, FlowWidth m, FlowLength m, amplitude mm, wavelength mm, thickness mm, port mm,
# max plates, max passes
MODELS = [
    Model(1, "Q10", 0.070, 0.118, 1.00, 6.4, 0.30, 16, 60, 2),
    Model(2, "Q14", 0.078, 0.150, 1.00, 6.4, 0.30, 20, 80, 2, port_down_mm=16),
    Model(3, "Q22", 0.090, 0.200, 1.00, 6.4, 0.30, 24, 100, 3, extra_m=True),
    Model(4, "Q32", 0.105, 0.252, 1.00, 6.5, 0.35, 27, 120, 3),
    Model(5, "Q45", 0.118, 0.318, 1.00, 6.5, 0.35, 33, 140, 3, vring=1, extra_m=True,
          three_pass_code=False),
    Model(6, "Q60", 0.180, 0.275, 1.10, 7.0, 0.40, 40, 150, 2, vring=2, cocurr="0.9"),
    Model(7, "Q90", 0.210, 0.355, 1.10, 7.0, 0.40, 50, 180, 2, vring=2, cocurr="0.9"),
    Model(8, "Q140", 0.250, 0.460, 1.20, 7.6, 0.40, 65, 200, 2, vring=3, slit=0.3),
    Model(9, "Q220", 0.300, 0.600, 1.20, 7.6, 0.40, 80, 220, 2, vring=3, slit=0.3),
    Model(10, "Q320", 0.350, 0.760, 1.25, 8.0, 0.40, 100, 250, 2, vring=4, slit=0.5),
    Model(11, "Q500", 0.400, 1.030, 1.25, 8.0, 0.40, 100, 250, 2, vring=4, slit=0.5,
          info2="CrossFlow"),
    Model(12, "Q18", 0.080, 0.190, 1.00, 6.4, 0.30, 20, 80, 2, retired=True),
    Model(13, "Q45D", 0.118, 0.318, 1.00, 6.5, 0.35, 33, 140, 1, vring=1, dual=True,
          base_of=5),
    Model(14, "Q90D", 0.210, 0.355, 1.10, 7.0, 0.40, 50, 180, 1, vring=2, dual=True,
          cocurr="0.9", base_of=7),
    # Two liquid circuits on side 1 against one common side 2, the Q32 plate in a
    # single-pass pack (district heating with two primary circuits).
    Model(15, "Q32D", 0.105, 0.252, 1.00, 6.5, 0.35, 27, 120, 1, dual=True, base_of=4,
          duties="S"),
]


# --- two-stage and cascade builds ---------------------------------------------------------
#
# Two-stage district-heating units (tap-water heaters of a district-heating substation):
# one pack in two sections with a connection plate between them. Primary district water
# enters the after-heater (stage 2), leaves it into the pre-heater (stage 1), where the
# return of the radiator circuit joins it, and leaves the substation cooled well below the
# return of a one-stage heater (Frederiksen & Werner, District Heating and Cooling,
# Studentlitteratur 2013, ch. 9: two-stage connection of domestic hot water). Plate sizes
# of the Q32 and Q60 plates, copper brazed for 16 bar district water; Split is the section
# of the connection plate counted in passes (one per stage), Depth the two stages.
#
# Cascade units: the low stage of a cascade plant condenses in one circuit of the pack,
# the high stage evaporates in the other. R744 low stages condense at -5..0 degC, i.e.
# 30.5..34.9 bar (Span & Wagner, J. Phys. Chem. Ref. Data 25 (1996) 1509): the builds
# take 0.5 mm plates and a 46 bar design pressure (test 1.43 x design, as the range);
# the frame and ports of the Q32 and Q60 plates.
def two_stage_builds():
    return [
        Model(21, "Q32T", 0.105, 0.252, 1.00, 6.5, 0.35, 27, 120, 1, only="T", split=1,
              depth=2, design_bar=(16.0, 14.0)),
        Model(22, "Q60T", 0.180, 0.275, 1.10, 7.0, 0.40, 40, 150, 1, only="T", split=1,
              depth=2, cocurr="0.9", design_bar=(16.0, 14.0)),
    ]


def cascade_builds():
    return [
        Model(23, "Q32C", 0.105, 0.252, 1.00, 6.5, 0.50, 27, 120, 1, only="CE",
              design_bar=(46.0, 42.0)),
        Model(24, "Q60C", 0.180, 0.275, 1.10, 7.0, 0.50, 40, 150, 1, only="CE",
              cocurr="0.9", design_bar=(46.0, 42.0)),
    ]


# Builds priced as their plate with a dearer frame: the connection plate of a two-stage
# unit, the thicker plates and high-pressure connections of a cascade unit.
SPECIAL_COST = {"Q32T": (520.0, 12.5, 160.0), "Q60T": (900.0, 22.0, 260.0),
                "Q32C": (610.0, 17.5, 0.0), "Q60C": (1100.0, 30.0, 0.0)}
SPECIAL_STOCK = {21: ["30", "40", "50", "60", "80"], 22: ["40", "60", "80", "100"],
                 23: ["20", "30", "40", "60"], 24: ["30", "40", "60", "80"]}


def add_two_stage_build_nodes(t):
    for m in MODELS:
        if m.only == "T":
            folder = t.folder(None, 42, m.name, "T T/042")
            for kind in ("H", "M", "L"):
                t.model(folder, m, "T", kind, "T")


def add_cascade_build_nodes(t):
    for m in MODELS:
        if m.only == "CE":
            for kind in ("H", "M"):
                t.model(35, m, "CE", kind, "C E E/035")


MODELS += two_stage_builds() + cascade_builds()
BY_NAME = {m.name: m for m in MODELS}

LEGACY = [
    Model(1, "QL12", 0.075, 0.160, 1.00, 6.3, 0.40, 20, 60, 2),
    Model(2, "QL25", 0.095, 0.220, 1.05, 6.6, 0.40, 27, 100, 2),
    Model(3, "QL40", 0.115, 0.290, 1.05, 6.6, 0.40, 33, 120, 1),
]
for m in LEGACY:
    m.h_angle = HIGH_ANGLE_LARGE

# Price of a model: start price, price per plate, price per extra pass (currency units);
# a bigger plate costs roughly in proportion to its area, the frame and connections less so.
COST = {
    "Q10": (180.0, 4.6, 60.0), "Q22": (260.0, 8.9, 90.0), "Q32": (330.0, 12.5, 120.0),
    "Q45": (420.0, 16.8, 150.0), "Q60": (640.0, 22.0, 220.0), "Q90": (860.0, 31.0, 300.0),
    "Q140": (1450.0, 47.0, 450.0), "Q220": (2300.0, 70.0, 600.0),
    "Q320": (3500.0, 98.0, 800.0), "Q500": (5200.0, 145.0, 1100.0),
    "Q18": (240.0, 7.4, 80.0), "Q45D": (520.0, 18.5, 150.0), "Q90D": (1050.0, 34.0, 300.0),
    "Q32D": (410.0, 13.8, 120.0),
    # Q14 deliberately has no Cost row: its rating falls back to the default prices.
}
COST.update(SPECIAL_COST)
LEGACY_COST = {"QL12": (210.0, 6.8, 75.0), "QL25": (300.0, 10.9, 110.0),
               "QL40": (380.0, 14.7, 140.0)}

VRINGS = [  # VRingID, orifice diameter m, ring inlet diameter m, orifices
    (1, 0.0012, 0.012, 8),
    (2, 0.0016, 0.016, 12),
    (3, 0.0022, 0.022, 16),
    (4, 0.0030, 0.028, 24),
]
VRING_DP = (30000.0, 150000.0)  # Pa, the distributor's pressure-drop window

CLASS = "QB"
MATERIAL = "C"  # copper brazed; "N" nickel brazed


def sql(v):
    if v is None:
        return "NULL"
    if isinstance(v, bool):
        return str(TRUE if v else FALSE)
    if isinstance(v, int):
        return str(v)
    if isinstance(v, float):
        r = repr(float(f"{v:.6g}"))
        return r[:-2] if r.endswith(".0") else r
    return "'" + str(v).replace("'", "''") + "'"


def insert(table, columns, rows, comments=None):
    cols = ", ".join(f'"{c}"' for c in columns)
    out = [f'INSERT INTO "{table}" ({cols}) VALUES']
    for i, row in enumerate(rows):
        end = "," if i + 1 < len(rows) else ";"
        line = "    (" + ", ".join(sql(v) for v in row) + ")" + end
        if comments and comments[i]:
            line += "  -- " + comments[i]
        out.append(line)
    return "\n".join(out) + "\n"


# --- channel correlations -----------------------------------------------------------

_fit_cache = {}


def fit(angle, breaks):
    key = (angle, breaks)
    if key not in _fit_cache:
        fp = fit_channels.fit_curve(lambda re: fit_channels.martin_xi(re, angle), breaks)
        nu = fit_channels.fit_curve(lambda re: fit_channels.martin_nu0(re, angle), breaks)
        _fit_cache[key] = (fp, nu)
    return _fit_cache[key]


def ceil_pct(err):
    return math.ceil(err * 10000.0 + 0.5) / 100.0  # percent, two decimals, with margin


def fit_comments(breaks):
    lines = []
    for (angle, b), (fp, nu) in sorted(_fit_cache.items()):
        if b != breaks:
            continue
        lines.append(
            f"-- fit: beta={angle:g} Re={fit_channels.RE_MIN:g}..{fit_channels.RE_MAX:g} "
            f"breakpoints={b} friction_max_error={ceil_pct(fp[3]):.2f}% "
            f"nusselt_max_error={ceil_pct(nu[3]):.2f}%")
    return "\n".join(lines) + "\n"


CHANNEL_COLUMNS = (
    ["ChannelID", "ChannelName", "HXQID", "ChevronAngle", "PortDiaUp", "PortDiaDown",
     "SlitResistance", "cFp", "noFp"]
    + [f"xFp{i}" for i in range(5)] + [f"crFp{i}" for i in range(5)]
    + ["cnu", "noNu"] + [f"xNu{i}" for i in range(5)] + [f"crNu{i}" for i in range(5)]
    + ["ExtraChannel", "ChVol"])


def law_columns(law):
    c0, exps, breaks, _ = law
    xs = list(exps) + [0.0] * (5 - len(exps))
    crs = [0.0] + list(breaks) + [0.0] * (4 - len(breaks))
    return [c0, len(breaks)] + xs + crs


def channel_rows(models, kinds, breaks):
    rows, comments = [], []
    for m in models:
        for kind in kinds:
            angle = m.angle(kind)
            fp, nu = fit(angle, breaks)
            extra = kind == "M" and m.extra_m
            rows.append([m.channel_id(kind), f"{m.name}-{kind}", m.id, angle, m.port,
                         m.port_down, m.slit] + law_columns(fp) + law_columns(nu)
                        + [extra, m.ch_vol])
            comments.append(f"beta {angle:g} deg")
    return rows, comments


# --- model table ----------------------------------------------------------------------

HXQ_COLUMNS = ["HXQID", "ModelName", "plateThickness", "Enlargement", "Dh", "PlateArea",
               "FlowLength", "FlowWidth", "Information2", "CoCurrHTCFactor", "MaxPlates",
               "MaxPasses", "Dual", "Split", "Depth", "DTMin", "VRingID",
               "MaxPressureDropVRing", "MinPressureDropVRing"]


def hxq_rows(models):
    rows, comments = [], []
    for m in models:
        v = m.vring
        rows.append([m.id, m.name, m.t, m.phi, m.dh, m.plate_area, m.length, m.width,
                     m.info2, m.cocurr, m.max_plates, m.max_passes, m.dual, m.split, m.depth, m.dtmin,
                     v, VRING_DP[1] if v else None, VRING_DP[0] if v else None])
        comments.append(f"X={m.x:.3f} b={1000 * m.gap:.2f} mm pitch={1000 * m.pitch:.2f} mm")
    return rows, comments


# --- model tree -----------------------------------------------------------------------

TREE_COLUMNS = ["NodeID", "ParentID", "Alias", "Group", "UserLevel", "InUse", "Table",
                "ChannelCombination", "PureType", "ChannelType", "Information2",
                "CalcMethod", "ModelID", "Dual", "StockID", "PriceID",
                "ChannelID1Left", "ChannelID1Right", "ChannelID2Left", "ChannelID2Right"]


class Tree:
    def __init__(self):
        self.rows = []
        self.next_id = 100
        self.models = []  # (node id, model, duty, chantype, execution)

    def folder(self, node_id, parent, alias, group, level="ABC", in_use=True):
        if node_id is None:
            node_id = self.next_id
            self.next_id += 1
        self.rows.append([node_id, parent, alias, group, level, in_use, None, None, None,
                          None, None, None, None, False, None, None, None, None, None, None])
        return node_id

    def model(self, parent, m, duty, chantype, group, level="ABC", in_use=True,
              execution="", price_id=None, stock_id=None):
        node_id = self.next_id
        self.next_id += 1
        left = {"H": "H", "L": "L", "M": "M", "HM": "H", "ML": "M"}[chantype]
        right = {"HM": "M", "ML": "L"}.get(chantype)
        lid = m.channel_id(left)
        rid = m.channel_id(right) if right else None
        alias = f"{m.name} {chantype}" + (f" {execution}" if execution else "")
        self.rows.append([node_id, parent, alias, group, level, in_use, "HXQ", chantype,
                          m.name, chantype, m.info2, None, m.id, m.dual,
                          m.id if stock_id is None else stock_id,
                          m.id if price_id is None else price_id,
                          lid, rid, lid, rid])
        self.models.append((node_id, m, duty, chantype, execution))
        return node_id


def build_tree():
    t = Tree()
    # Duty folders at the root.
    t.folder(1, 0, "Single phase", "S")
    t.folder(2, 0, "Condensers", "C")
    t.folder(3, 0, "Evaporators", "E")
    t.folder(4, 0, "Two-stage units", "T")
    t.folder(5, 0, "Air dryers", "A")
    # Group nodes: a membership "S/012" names node 12.
    t.folder(11, 1, "All single-phase units", "S")
    t.folder(12, 1, "Small single-phase units", "S S/011")
    t.folder(13, 1, "Large single-phase units", "S S/011")
    t.folder(14, 1, "Retired units", "S", level="A")
    t.folder(15, 1, "Special builds (none yet)", "S", level="AB")  # a folder without children
    t.folder(16, 1, "Dual-circuit single-phase units", "S")
    t.folder(22, 2, "Condensers", "C")
    t.folder(23, 2, "Dual-circuit condensers", "C")
    t.folder(32, 3, "Evaporators", "E")
    t.folder(33, 3, "Dual-circuit evaporators", "E")
    t.folder(34, 3, "Large evaporators", "E", level="AB")
    t.folder(35, 3, "Cascade units", "E")
    t.folder(42, 4, "Two-stage units", "T")
    t.folder(52, 5, "Air dryers", "A")

    # Single phase: a folder per model, its channel variants below it.
    for m in MODELS:
        if m.dual or m.only:
            continue  # the dual builds are listed after every other node (below), so no node id moves
        if m.retired:
            parent, group, level = 14, "S", "A"
        elif m.port_mm <= 27:
            parent, group, level = 12, "S S/012", "ABC"
        else:
            parent, group, level = 13, "S S/013", "ABC"
        if m.name == "Q32":  # sits in both size groups and is listed in the whole range
            group = "S S/011 S/012 S/013"
        if m.name in ("Q320", "Q500"):
            level = "AB"
        folder = t.folder(None, parent, m.name, group, level=level, in_use=not m.retired)
        kinds = ["H", "M", "L"]
        if m.name in ("Q22", "Q45", "Q140"):
            kinds += ["HM", "ML"]
        for kind in kinds:
            lvl = "AB" if kind in ("HM", "ML") else level
            t.model(folder, m, "S", kind, "S", level=lvl, in_use=not m.retired)
        if m.name == "Q22":
            t.model(folder, m, "S", "H", "S", level="AB", execution="DW")

    # Condensers and evaporators: the left channel only.
    for m in MODELS:
        if m.retired or m.only or "C" not in m.duties:
            continue
        if m.dual:
            cgroup, egroup, cparent, eparent = "C C/023", "E E/033", 23, 33
        elif m.name in ("Q320", "Q500"):
            cgroup, egroup, cparent, eparent = "C C/022", "E E/034", 22, 34
        else:
            cgroup, egroup, cparent, eparent = "C C/022", "E E/032", 22, 32
        level = "AB" if m.name in ("Q320", "Q500") else "ABC"
        folder = t.folder(None, cparent, m.name, cgroup, level=level)
        for kind in ("H", "M", "L"):
            t.model(folder, m, "C", kind, "C", level=level)
        folder = t.folder(None, eparent, m.name, egroup, level=level)
        for kind in ("H", "M", "L"):
            t.model(folder, m, "E", kind, "E", level=level)

    # Cascade units: model nodes directly in the group, rated as condenser and evaporator.
    for name in ("Q32", "Q60", "Q90"):
        t.model(35, BY_NAME[name], "CE", "H", "C E E/035")

    # Two-stage units.
    for name in ("Q22", "Q32", "Q45", "Q60"):
        m = BY_NAME[name]
        folder = t.folder(None, 42, m.name, "T T/042")
        for kind in ("H", "M", "L") + (("HM",) if name == "Q45" else ()):
            t.model(folder, m, "T", kind, "T")

    # Air dryers: model nodes of the AD-Models table.
    ad = []
    for ad_id, alias in ((201, "AD 200"), (202, "AD 350"), (203, "AD 600")):
        node = t.next_id
        t.next_id += 1
        t.rows.append([node, 52, alias, "A/052", "ABC", True, "AD-Models", None, alias,
                       None, None, None, ad_id, False, None, ad_id, None, None, None, None])
        ad.append((node, ad_id, alias))

    # Dual single-phase builds: their group, a folder per model, one pass.
    for m in MODELS:
        if m.dual and "S" in m.duties:
            folder = t.folder(None, 16, m.name, "S S/016")
            for kind in ("H", "M", "L"):
                t.model(folder, m, "S", kind, "S")
    # The special builds last, so that the nodes above keep their numbers.
    add_two_stage_build_nodes(t)
    add_cascade_build_nodes(t)
    return t, ad


# AD-Models: air unit (model, channel side 1, side 2), evaporator (model, channels),
# price id, split, depth, plates available, refrigerant and air plates for rating.
AD_MODELS = [
    (201, "Q22", "L", "L", "Q22", "H", "H", 3, 2, 100, 40, 60),
    (202, "Q45", "L", "L", "Q32", "H", "H", 3, 2, 140, 50, 90),
    (203, "Q90", "L", "L", "Q60", "M", "M", 4, 3, 180, None, None),
]
AD_COST = {201: (1900.0, 14.0), 202: (2700.0, 21.0), 203: (4100.0, 38.0)}


# --- channel-fluid factors ------------------------------------------------------------

CFF_COLUMNS = ["ChannelID", "FluidID", "V-model", "CounterCurrent",
               "cNuCorrVAP", "xNuCorrVAP", "cNuNoPCorrVAP", "cNuNoPRefVAP", "cNuMaxNoPVAP",
               "cNuCorrCON", "xNuCorrCON", "cNuNoPCorrCON", "cNuNoPRefCON", "cNuMaxNoPCON"]


def num_text(v):
    return f"{v:g}"


def cff_rows(models):
    """FluidID 0 rows for every H and M channel of a two-phase model, in the four
    V-model / counter-current variants, and refrigerant rows for a few channels.
    L channels have none: their factors are the defaults 1, 1, 0, 0, 0."""
    rows = []
    for m in models:
        if m.retired or "C" not in m.duties:
            continue
        for kind in ("H", "M"):
            cid = m.channel_id(kind)
            for vmodel in (False, True):
                if vmodel and not m.vring:
                    continue
                for cc in (True, False):
                    # Co-current flow and a V-ring distributor both even out the
                    # refrigerant; the values are the range's own test-rig factors.
                    cv = 1.0 if cc else 0.93
                    cv *= 1.05 if vmodel else 1.0
                    cc_con = 1.0 if cc else 0.95
                    rows.append([cid, 0, vmodel, cc, num_text(cv), "1", "0.002", "20",
                                 "120", num_text(cc_con), "1", "0", "0", "0"])
    special = [  # channel, fluid, factors (evaporator c, x; condenser c, x)
        ("Q22", "H", "R134a", 1.08, 0.98, 1.04, 1.0),
        ("Q22", "H", "R410A", 0.96, 1.0, 1.02, 1.0),
        ("Q32", "H", "R407C", 0.88, 1.0, 0.92, 1.0),
        ("Q45", "H", "R134a", 1.06, 0.99, 1.03, 1.0),
        ("Q60", "H", "R717", 1.15, 0.97, 1.1, 0.98),
        ("Q90", "M", "R410A", 0.97, 1.0, 1.0, 1.0),
    ]
    for name, kind, fluid, cv, xv, ccon, xcon in special:
        m = BY_NAME[name]
        for vmodel in ((False, True) if m.vring else (False,)):
            for cc in (True, False):
                rows.append([m.channel_id(kind), FLUID_IDS[fluid], vmodel, cc,
                             num_text(cv if cc else cv * 0.95), num_text(xv), "0.0015",
                             "24", "140", num_text(ccon), num_text(xcon), "0.001", "20",
                             "100"])
    return rows


# --- selector data --------------------------------------------------------------------

def size_code(m):
    return f"{m.port_mm:d}"


def xpc(m, chantype, tail, material=MATERIAL):
    return f"{CLASS}*{m.name}*{size_code(m)}*{material}*{chantype}*{tail}*S"


def meas_row(m, code, passes, chantype):
    height = m.length + 2.0 * m.port + 0.02
    width = m.width + 0.012
    big = m.port_mm >= 50
    pp_start = 0.010 if big else 0.004
    less = 2 if big else 0
    offset = 0.012 if big else 0.0
    # Design pressures (bar) at the two design temperatures, stored in hPa: the physical-
    # data routines multiply the stored values by 100, which gives Pa.
    design_bar = m.design_bar or ((16.0, 14.0) if big else (30.0, 27.0))
    design = tuple(1000.0 * p for p in design_bar)
    test = 1.43 * design[0]
    steel = 8000.0  # kg/m^3, AISI 316
    braze = 1.3 if not m.dual else 1.35
    w_plate = height * width * m.t * steel * braze
    frame = 0.008 if big else 0.0015  # m, thickness of each end plate
    w_start = 0.4 + 2.0 * height * width * frame * steel
    min_plates = {1: 4, 2: 9, 3: 13}.get(passes, 10)
    ch2 = [design[0], design[1]]
    if m.name == "Q140" and chantype == "M":
        ch2[1] = ""  # an empty design pressure counts as 0
    return [code, min_plates, height, width, pp_start, m.pitch, less, offset, test,
            design[0], design[1], ch2[0], ch2[1], 150.0, 200.0, w_start, w_plate,
            w_plate * less]


MEAS_COLUMNS = ["XPC", "MinNoP", "Height", "Width", "PP_Start", "PP_Plate", "PP_LessChpl",
                "OffsetDepth", "TestPressure1", "CH1PressAlt1", "CH1PressAlt2",
                "CH2PressAlt1", "CH2PressAlt2", "CH1TempAlt1", "CH1TempAlt2",
                "Weight_Start", "Weight_Plate", "Weight_LessChpl"]


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


HEADER = ("-- Generated by sample/products/generate_range.py from the geometry of the sample\n"
          "-- range; edit the generator, not this file, and run it again.\n")


def products_sql(tree, ad):
    out = [HEADER]
    out.append("""
-- Models. Lengths in m, areas in m^2; Dh = 2 b / Enlargement with b = 2 x corrugation
-- amplitude (VDI Heat Atlas); PlateArea is the effective (enlarged) area of one plate.
-- The V-ring pressure-drop window is in Pa.
""")
    rows, comments = hxq_rows(MODELS)
    out.append(insert("HXQ", HXQ_COLUMNS, rows, comments))

    out.append("""
-- Channel types: H high-angle plates, L low-angle plates, M one plate of each. Port
-- diameters in m, SlitResistance in velocity heads, ChVol (one channel) in m^3.
-- Friction (Darcy) and Nusselt laws are continuous piecewise power laws in Re
-- (docs/engine-records.md), fitted by fit_channels.py to Martin (1996) for the channel's
-- chevron angle. The fit and its largest relative error over the fitted span, for the
-- stored (rounded) numbers:
""")
    crows, ccomments = channel_rows(MODELS, ("H", "L", "M"), fit_channels.MAX_BREAKS)
    out.append(fit_comments(fit_channels.MAX_BREAKS))
    out.append(insert("Channel", CHANNEL_COLUMNS, crows, ccomments))

    out.append("\n-- Prices: start price, price per plate, price per pass (TQSP1, TQSP2,"
               " PricePass).\n-- Q14 has no row on purpose: its price is the default.\n")
    cost_rows = [[m.id, m.name] + list(COST[m.name]) for m in MODELS if m.name in COST]
    cost_rows += [[i, f"AD {i}", s, p, 0.0] for i, (s, p) in AD_COST.items()]
    out.append(insert("Cost", ["PriceID", "Description", "TQSP1", "TQSP2", "PricePass"],
                      cost_rows))

    out.append("\n-- V-ring distributors: orifice and inlet diameters in m.\n")
    out.append(insert("VRing", ["VRingID", "Dorifice", "DiameterIN", "NoOrifice"],
                      [list(v) for v in VRINGS]))

    out.append("""
-- Channel-fluid correction of the refrigerant heat transfer (texts holding numbers).
-- FluidID 0 is the fallback for refrigerants without rows of their own; FluidIDs are
-- the fluid-property component's identifiers.
""")
    out.append(insert("Channel-Fluid-Factors", CFF_COLUMNS, cff_rows(MODELS)))

    out.append("""
-- The model tree. Folder nodes have no Table; model nodes name the table their ModelID
-- keys into. Group holds the duty letters and the memberships (duty letter, "/", group
-- node number); UserLevel the user levels that see the node.
""")
    out.append(insert("ModelTree", TREE_COLUMNS, tree.rows))

    out.append("\n-- Denomination of every model node: the parts of its article codes.\n")
    den = []
    for node, m, duty, chantype, execution in tree.models:
        den.append([node, CLASS, m.name, size_code(m), MATERIAL, chantype, execution])
    out.append(insert("Denomination", ["NodeID", "Class", "Type", "Size", "Material",
                                       "Chantype", "Execution"], den))

    out.append("\n-- Article code of a node for quotations; the mixed-channel nodes have"
               " none.\n")
    xrows = []
    for node, m, duty, chantype, execution in tree.models:
        if chantype in ("HM", "ML"):
            continue
        tail = execution or ("2S" if duty == "T" else "1P")
        xrows.append([node, xpc(m, chantype, tail)])
    for node, ad_id, alias in ad:
        xrows.append([node, f"QA*AD{ad_id}*S"])
    out.append(insert("XPC", ["NodeID", "XPc"], xrows))

    out.append("\n-- Air dryers: an air-to-air unit and an evaporator per size.\n")
    adrows = []
    for (ad_id, an, a1, a2, rn, r1, r2, split, depth, maxp, refp, airp) in AD_MODELS:
        am, rm = BY_NAME[an], BY_NAME[rn]
        adrows.append([ad_id, am.id, am.channel_id(a1), am.channel_id(a2), rm.id,
                       rm.channel_id(r1), rm.channel_id(r2), ad_id, split, depth, maxp,
                       refp, airp])
    out.append(insert("AD-Models", ["ADID", "AirHXQID", "AirChannelIDSide1",
                                    "AirChannelIDSide2", "RefHXQID", "RefChannelIDSide1",
                                    "RefChannelIDSide2", "PriceID", "Split", "Depth",
                                    "MaxNoOfPlates", "RefNoOfPlates", "AirNoOfPlates"],
                      adrows))
    return "".join(out)


def legacy_sql():
    out = [HEADER]
    out.append("""
-- The legacy "QL" line: three sizes with high- and low-angle channels, single phase,
-- condenser and evaporator. No physical data and no article codes.
""")
    rows, comments = hxq_rows(LEGACY)
    out.append(insert("HXQ", HXQ_COLUMNS, rows, comments))
    out.append("\n-- Channel laws as in the main range, fitted with two breakpoints:\n")
    crows, ccomments = channel_rows(LEGACY, ("H", "L"), 2)
    out.append(fit_comments(2))
    out.append(insert("Channel", CHANNEL_COLUMNS, crows, ccomments))
    out.append(insert("Cost", ["PriceID", "Description", "TQSP1", "TQSP2", "PricePass"],
                      [[m.id, m.name] + list(LEGACY_COST[m.name]) for m in LEGACY]))
    cff = []
    for cc in (True, False):
        cff.append([LEGACY[1].channel_id("H"), 0, False, cc, "1", "1", "0", "0", "0",
                    "0.97", "1", "0", "0", "0"])
    out.append(insert("Channel-Fluid-Factors", CFF_COLUMNS, cff))
    t = Tree()
    t.folder(1, 0, "Legacy single phase", "S")
    t.folder(2, 0, "Legacy condensers", "C")
    t.folder(3, 0, "Legacy evaporators", "E")
    t.folder(4, 1, "QL line", "S S/004")
    t.folder(5, 2, "QL line", "C C/005")
    t.folder(6, 3, "QL line", "E E/006")
    t.next_id = 10
    for parent, duty in ((4, "S"), (5, "C"), (6, "E")):
        for m in LEGACY:
            folder = t.folder(None, parent, m.name, f"{duty} {duty}/{parent:03d}")
            for kind in ("H", "L"):
                t.model(folder, m, duty, kind, duty, stock_id=300 + m.id)
    out.append(insert("ModelTree", TREE_COLUMNS, t.rows))
    return "".join(out)


# Stock levels (plate counts) per model; "" marks a level left empty by the stock editor.
STOCK = {
    1: ["10", "14", "20", "24", "30", "40", "50", "60"],
    2: ["10", "20", "", "40", "50", "60"],  # the gap: only the first two levels count
    3: ["10", "20", "30", "40", "50", "60", "70", "80", "90", "100"],
    4: ["20", "30", "40", "50", "60", "70", "80", "90", "100", "110", "120"],
    5: ["20", "30", "40", "50", "60", "80", "100", "120", "140"],
    6: ["30", "40", "50", "60", "80", "100", "120", "150"],
    7: ["30", "40", "50", "60", "70", "80", "90", "100", "110", "120", "130", "140",
        "150", "160", "170", "180"],
    8: ["40", "60", "80", "100", "120", "140", "160", "180", "200"],
    9: ["40", "60", "80", "100", "120", "150", "180", "200", "220"],
    10: [str(n) for n in range(20, 250, 12)][:20],  # all twenty levels in use
    11: ["50", "100", "150", "200", "250"],
    12: ["10", "20", "30"],
    13: ["20", "40", "60", "80", "100", "120", "140"],
    14: ["40", "60", "80", "100", "120", "140", "160", "180"],
    15: ["20", "40", "60", "80", "100", "120"],
    **SPECIAL_STOCK,
    301: ["10", "20", "30", "40", "50", "60"],
    302: ["20", "40", "60", "80", "100"],
    303: ["20", "40", "60", "80", "100", "120"],
}


def stock_sql():
    cols = ["StockID"] + [f"Level{i}" for i in range(1, 21)]
    rows = []
    for sid, levels in sorted(STOCK.items()):
        rows.append([sid] + levels + [None] * (20 - len(levels)))
    return HEADER + "\n" + insert("Stock", cols, rows)


CONNECTIONS = [  # article number, connection code, denomination, height m, short text
    (880016, "CT16", "G 1/2 external thread, 16 mm port", 0.020, "Thread 1/2"),
    (880020, "CT20", "G 3/4 external thread, 20 mm port", 0.020, "Thread 3/4"),
    (880024, "CT24", "G 1 external thread, 24 mm port", 0.025, "Thread 1"),
    (881016, "CS16", "Solder 16 mm", 0.018, "Solder 16"),
    (881022, "CS22", "Solder 22 mm", 0.018, "Solder 22"),
    (881028, "CS28", "Solder 28 mm", 0.022, "Solder 28"),
    (882033, "CT33", "G 1 1/4 external thread, 33 mm port", 0.030, "Thread 1 1/4"),
    (883050, "CF50", "Flange DN50 PN16", 0.060, "Flange DN50"),
    (883100, "CF100", "Flange DN100 PN16", 0.080, "Flange DN100"),
]

WAREHOUSE = {  # model: (warehouse, plates, connection codes)
    "Q10": [("100", 10, "CT16"), ("100", 20, "CT16"), ("100", 30, "CS16"),
            ("200", 20, "CT16")],
    "Q14": [("100", 20, "CT20")],
    "Q22": [("100", 20, "CT24"), ("100", 40, "CS22")],
    "Q32": [("100", 30, "CS28"), ("100", 50, "CS28"), ("100", 70, "CS28"),
            ("200", 50, "CS28")],
    "Q45": [("200", 40, "CT33"), ("200", 60, "CT33")],
    "Q90": [("200", 60, "CF50"), ("200", 100, "CF50")],
}


def selector_sql(tree, ad):
    out = [HEADER]
    out.append("""
-- Construction data per article code "Class*Type*Size*Material*Chantype*<passes>P*S"
-- (two-stage units "...*2S*S", special executions "...*<execution>*S"). Dimensions in m
-- (length of the pack = PP_Start + (plates - PP_LessChpl) x PP_Plate + OffsetDepth),
-- design and test pressures in hPa (= mbar; the physical-data routines multiply them by
-- 100, giving Pa), design temperatures in degC, weights in kg. Q45 has no 3-pass code although it allows three
-- passes: a 3-pass rating takes the 2-pass row.
""")
    codes = {}
    for node, m, duty, chantype, execution in tree.models:
        if execution:
            codes[xpc(m, chantype, execution)] = (m, 1, chantype)
            continue
        if duty == "T":
            codes[xpc(m, chantype, "2S")] = (m, 2, chantype)
            continue
        codes[xpc(m, chantype, "1P")] = (m, 1, chantype)
        if duty == "S":
            for p in range(2, m.max_passes + 1):
                if p == 3 and not m.three_pass_code:
                    continue
                codes[xpc(m, chantype, f"{p}P")] = (m, p, chantype)
    rows = [meas_row(m, code, p, ct) for code, (m, p, ct) in sorted(codes.items())]
    for node, ad_id, alias in ad:
        pair = next(a for a in AD_MODELS if a[0] == ad_id)
        am, rm = BY_NAME[pair[1]], BY_NAME[pair[4]]
        r = meas_row(am, f"QA*AD{ad_id}*S", 1, "L")
        r[2] = am.length + rm.length + 0.3  # both units and the separator in one frame
        r[3] = max(am.width, rm.width) + 0.05
        rows.append(r)
    out.append(insert("HXQMeas", MEAS_COLUMNS, rows))

    out.append("\n-- Base articles per model, material and pressure class; Q500 has none,"
               " so an active\n-- filter never passes it.\n")
    barts = []
    n = 0
    for m in MODELS:
        if m.name == "Q500":
            continue
        for mat in ("C", "N"):
            if mat == "N" and m.port_mm > 50:
                continue
            n += 1
            pressure = "16" if m.port_mm >= 50 else "30"
            factory = "F1;F2" if m.port_mm <= 33 else "F2"
            art = f"71{m.id:03d}{0 if mat == 'C' else 1}"
            barts.append([CLASS, m.name, size_code(m), mat, pressure, factory, art,
                          f"{m.name}-{mat}{pressure}", f"{CLASS}*{m.name}*{size_code(m)}"])
    out.append(insert("BaseArticleNumbers", ["Class", "Type", "Size", "Material",
                                             "Pressure", "Factory", "BaseArtNo",
                                             "Denomination", "XPC"], barts))

    out.append("\n-- Warehouse stock of base articles with their connections.\n")
    items = []
    for name, rows_ in WAREHOUSE.items():
        m = BY_NAME[name]
        art = f"71{m.id:03d}0"
        for whs, plates, con in rows_:
            items.append([art, plates, whs, con])
    out.append(insert("ITEM_PLAN_NF", ["ArtNo", "NoPlates", "WHS_NBR", "conXPC"], items))

    out.append("\n-- Model descriptions by product code.\n")
    models = [[f"{CLASS}*{m.name}*{size_code(m)}",
               f"{m.name} brazed plate heat exchanger"
               + (", dual circuit" if m.dual else "") + (" (retired)" if m.retired else "")]
              for m in MODELS]
    out.append(insert("Models", ["XPC", "Description"], models))
    out.append(insert("Connections", ["ArtNo", "Connection XPC", "Denomination", "Height",
                                      "ShortDesc"], [list(c) for c in CONNECTIONS]))
    out.append(insert("XPCmaterial", ["Material", "Plate", "Brazing"],
                      [["C", "AISI 316L", "Copper"], ["N", "AISI 316L", "Nickel"]]))
    return "".join(out)


def readme_text(tree):
    groups = {}
    names = {r[0]: r[2] for r in tree.rows}
    for r in tree.rows:
        model = r[8] if r[6] == "HXQ" else (r[2] if r[6] is None and r[2] in BY_NAME else None)
        if not model:
            continue
        for token in (r[3] or "").split():
            if "/" in token:
                groups.setdefault(model, set()).add(token)
    lines = [
        "| Model | HXQID | Plate area m² | Ports mm | Max plates | Max passes | Channels "
        "(chevron angle) | Groups | Notes |",
        "|---|---|---|---|---|---|---|---|---|",
    ]
    for m in MODELS:
        notes = []
        if m.retired:
            notes.append("retired (InUse false)")
        if m.dual:
            notes.append("dual circuit")
        if m.base_of:
            notes.append("plates of " + next(b.name for b in MODELS if b.id == m.base_of))
        if m.vring:
            notes.append(f"V-ring {m.vring}")
        if m.info2:
            notes.append("cross flow")
        if m.name not in COST:
            notes.append("no Cost row: default prices")
        if m.port_down != m.port:
            notes.append(f"outlet ports {1000 * m.port_down:g} mm")
        if m.name in ("Q320", "Q500"):
            notes.append("hidden from user level C")
        if m.only == "T":
            notes.append("two-stage build, 16 bar")
        if m.only == "CE":
            notes.append(f"cascade build, {m.design_bar[0]:g} bar")
        chans = f"H {m.h_angle:g}°, M {m.m_angle:g}°, L {LOW_ANGLE:g}°"
        grp = ", ".join(f"{g} {names[int(g[2:])]}" for g in sorted(groups.get(m.name, ())))
        lines.append(f"| {m.name} | {m.id} | {m.plate_area:.4f} | {m.port_mm} | {m.max_plates} | "
                     f"{m.max_passes} | {chans} | {grp} | {'; '.join(notes)} |")
    table = "\n".join(lines)
    legacy = "\n".join(
        f"| {m.name} | {m.id} | {m.plate_area:.4f} | {m.port_mm} | {m.max_plates} | "
        f"{m.max_passes} | H {m.h_angle:g}°, L {LOW_ANGLE:g}° |" for m in LEGACY)
    return README.format(table=table, legacy=legacy)


README = """# Sample data

A fictional but physically sound product range, built into SQLite files in the build's
`sample/` folder (`build/<preset>/sample/`) from the SQL text of the folders here. No
binary database is kept in git.

| Folder | Database | Holds |
|---|---|---|
| `products/` | `products.db` | the main product database (setting "HXQnew"): model tree, models, channel types, prices, V-rings, channel-fluid factors, denominations, article codes, air dryers, connection standards |
| `legacy/` | `legacy.db` | a second product database with the small legacy line: no physical data, no filter |
| `stock/` | `stock.db` | plate counts held in stock per model (setting "DBStock") |
| `selector/` | `selector.db` | construction data per article code, base articles, warehouse stock, models, connections, plate materials (setting "DBPath" of "HXQSelector\\Info") |
| `units/` | `units.db` | units and quantity groups (setting "ConvertDB") |
| `fluids/` | `fluids.db` | refrigerant tables of the fluid component (setting "DBFluid2000") |
| `userfluids/` | `userfluids.db` | user fluids of the sample installation (user setting "DBUserfluid2000") |
| `duties/` | — | example duty files for `hxq select` |
| `install/` | `registry.ini`, `hxq.ini` | the sample installation: machine-wide store and user settings with this build's paths |

The program built beside them uses this installation by default (otherwise set
`HXQ_REGISTRY=build/<preset>/sample/registry.ini` and give `build/<preset>/sample/hxq.ini`
as the initialisation file), e.g. `build/<preset>/apps/hxq/hxq select sample/duties/water_heating.toml`.

`products/generate_range.py` writes `products/range.sql`, `legacy/legacy.sql`,
`stock/stock.sql`, `selector/selector.sql` and this file from one geometry record per
model; `products/fit_channels.py` fits the channel laws. Both are plain Python 3 and are
run by hand when the range changes (`python3 sample/products/generate_range.py`), not at
build time.

## The Q line (main product database)

Brazed plates of AISI 316L, copper brazed (material "C"; some base articles also nickel
brazed, "N"). Plate gap b = 2 × corrugation amplitude, hydraulic diameter 2b/Φ, effective
plate area = flow length × flow width × Φ (VDI Heat Atlas). Every model has three channel
types: H (two high-angle plates), L (two low-angle plates) and M (one of each, fitted at
the mean angle). Friction and heat-transfer laws are piecewise power laws fitted to
Martin's chevron correlation; the fits and their largest errors are recorded in
`products/range.sql`.

{table}

Groups are selected by their node number: a calculation of group `S/012` rates every
member of node 12. Single phase: 11 all units, 12 small, 13 large (Q32 is in both), 14
retired, 15 an empty folder, 16 dual circuit (Q32D: two side-1 circuits against one common
side 2). Condensers: 22, dual circuit 23. Evaporators: 32, dual circuit 33, large 34,
cascade units 35 (model nodes rated as condenser and evaporator, among them the 46 bar
cascade builds Q32C and Q60C for R744 low stages). Two-stage: 42 (with the district-heating
builds Q32T and Q60T, whose stages are one pass each). Air dryers: 52 with AD 200 (Q22 air
unit + Q22 evaporator), AD 350 (Q45 + Q32) and AD 600 (Q90 + Q60; no plate numbers for
rating). User levels: A sees everything; B not the retired units; C neither the
mixed-channel nodes (channel types HM and ML, with a right channel beside the left one),
the double-wall execution of Q22, Q320, Q500 nor the empty folder.

Article codes: `QB*<model>*<port mm>*C*<channel>*<n>P*S` for n = 1, 2 and 3 where the model
allows three passes (Q45 has no 3-pass code: a 3-pass rating takes the 2-pass row),
`...*2S*S` for two-stage units and `QB*Q22*24*C*H*DW*S` for the double-wall execution.
Units of the measures table: m, hPa for the design and test pressures (30 bar is stored
as 30000; the physical-data routines multiply by 100, which gives the library's Pa), °C,
kg.

Stock: one row per model (`StockID` = model id); Q14's row has an empty third level, so only
two levels count; Q320's uses all twenty.

## The QL line (legacy database)

| Model | HXQID | Plate area m² | Ports mm | Max plates | Max passes | Channels |
|---|---|---|---|---|---|---|
{legacy}

Groups `S/004`, `C/005`, `E/006`; channel laws fitted with two breakpoints.
"""


def main():
    tree, ad = build_tree()
    write(os.path.join(SAMPLE, "README.md"), readme_text(tree))
    write(os.path.join(HERE, "range.sql"), products_sql(tree, ad))
    write(os.path.join(SAMPLE, "legacy", "legacy.sql"), legacy_sql())
    write(os.path.join(SAMPLE, "stock", "stock.sql"), stock_sql())
    write(os.path.join(SAMPLE, "selector", "selector.sql"), selector_sql(tree, ad))
    for m in MODELS + LEGACY:
        print(f"{m.name:5s} Phi={m.phi:.4f} dh={1000 * m.dh:.2f} mm "
              f"A={m.plate_area:.4f} m2 ChVol={1e6 * m.ch_vol:.1f} cm3")


if __name__ == "__main__":
    main()
