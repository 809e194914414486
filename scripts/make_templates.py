#!/usr/bin/env python3
"""Writes the printout templates under sample/templates/<Language>/.

Every template is a rich-text document (code page 1252, A4, Arial) with MERGEFIELD
fields named exactly as the save operations write their merge data. The labels come
from the localised text tables (src/settings/texts/<code>.txt) so that the printouts
and the previews speak alike. Run it from anywhere after changing a layout or a text:

    scripts/make_templates.py

The generated files are committed; the build does not run this.
"""

from __future__ import annotations

import pathlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
TEXTS = ROOT / "src" / "settings" / "texts"
OUT = ROOT / "sample" / "templates"

LANGUAGES = {"English": "en", "German": "de", "Swedish": "sv"}

# Labels the text tables do not hold.
EXTRA_TEXT = {
    "result sheet": {"en": "Result sheet", "de": "Ergebnisblatt", "sv": "Resultatblad"},
    "data sheet": {"en": "Extra data sheet", "de": "Zusätzliches Datenblatt", "sv": "Extra datablad"},
    "article": {"en": "Article number", "de": "Artikelnummer", "sv": "Artikelnummer"},
    "inlet": {"en": "inlet", "de": "Eintritt", "sv": "inlopp"},
    "outlet": {"en": "outlet", "de": "Austritt", "sv": "utlopp"},
    "stage": {"en": "Stage", "de": "Stufe", "sv": "Steg"},
    "channels pd": {"en": "Pressure drop - channels", "de": "Druckverlust - Kanäle",
                    "sv": "Tryckfall - kanaler"},
    "two-stage": {"en": "Two-stage unit", "de": "Zweistufiger Wärmeübertrager", "sv": "Tvåstegsväxlare"},
    "program": {"en": "Calculated with", "de": "Berechnet mit", "sv": "Beräknad med"},
}


def load_texts(code: str) -> dict[int, str]:
    texts = {}
    for line in (TEXTS / f"{code}.txt").read_text(encoding="utf-8").splitlines():
        if not line or line.startswith("#") or "\t" not in line:
            continue
        number, text = line.split("\t", 1)
        texts[int(number)] = text.replace("&", "")
    return texts


def rtf_text(text: str) -> str:
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 128:
            out.append(ch)
        else:
            out.append("\\'%02x" % ch.encode("cp1252")[0])
    return "".join(out)


def field(name: str) -> str:
    shown = name.strip("'")
    return ("{\\field{\\*\\fldinst { MERGEFIELD %s }}{\\fldrslt {\\'ab%s\\'bb}}}"
            % (name, rtf_text(shown)))


class Literal:
    """A unit printed as it stands, not a field."""

    def __init__(self, text: str):
        self.text = text


PERCENT = Literal("%")
HEAT_LOAD = ("'HeatLoad'", "HeatLoad_u")  # its unit field has no quotes


def q(name: str) -> tuple[str, str]:
    """A quantity: the value field and its unit field ("_u" inside the closing quote)."""
    if name.endswith("'"):
        return name, name[:-1] + "_u'"
    return name, name + "_u"


# Tab stops of a row: side 1's value right-aligned, its unit, side 2's value, its unit.
ROW_TABS = "\\tqr\\tx6000\\tx6090\\tqr\\tx8250\\tx8340"
BODY = "\\pard\\plain\\f0\\fs17\\sl-230\\slmult0" + ROW_TABS + " "
HEADING = ("\\pard\\plain\\f0\\fs19\\b\\cf1\\sb150\\sa40\\brdrb\\brdrs\\brdrw8\\brdrcf1"
           "\\tqr\\tx6000\\tqr\\tx8250 ")


class Sheet:
    """One template being written, in one language."""

    def __init__(self, code: str):
        self.code = code
        self.texts = load_texts(code)
        self.parts: list[str] = []

    def t(self, key) -> str:
        if isinstance(key, int):
            return self.texts[key]
        if key in EXTRA_TEXT:
            return EXTRA_TEXT[key][self.code]
        return key

    def short(self, key) -> str:
        """A label without its parenthesised ending ("H.T.C.")."""
        return self.t(key).split(" (")[0]

    def label(self, key) -> str:
        if isinstance(key, tuple):
            return " - ".join(self.t(k) for k in key)
        return self.t(key)

    def add(self, rtf: str):
        self.parts.append(rtf)

    # --- building blocks -------------------------------------------------------

    def address(self):
        for i in range(5):
            self.add("\\pard\\plain\\qr\\f0\\fs16\\cf2 %s\\par" % field("'Header%d'" % i))

    def title(self, kind_title, subtitle):
        # The program's name at the right margin of the title line (text width 9638).
        self.add("\\pard\\plain\\f0\\fs34\\b\\cf1\\sb200\\tqr\\tx9638 %s\\tab {\\fs20\\b0\\cf2 %s}\\par"
                 % (rtf_text(self.label(kind_title)), field("'TQSName'")))
        self.add("\\pard\\plain\\f0\\fs22\\b\\sa120 %s: %s\\par" % (rtf_text(self.t(311)), field("'XerName'")))
        if subtitle:
            self.add("\\pard\\plain\\f0\\fs18\\cf2\\sa60 %s\\par" % rtf_text(self.label(subtitle)))

    def references(self, method=True):
        rows = [(197, "'Date'"), (192, "'Customer'"), (398, "'OurRef'"), (451, "'Reference'")]
        if method:
            rows.insert(0, (126, "'CalcM'"))
        for key, name in rows:
            self.add("\\pard\\plain\\f0\\fs17\\tx2600 %s\\tab %s\\par" % (rtf_text(self.t(key)), field(name)))

    def section(self, heading, columns=None):
        text = rtf_text(self.label(heading))
        if columns:
            text += "".join("\\tab " + rtf_text(self.label(c)) for c in columns)
        self.add(HEADING + text + "\\par")

    def row(self, label, first=None, second=None):
        """A row of one or two cells; a cell is a (value, unit) pair, a bare field name,
        or a literal text."""
        cells = []
        for cell in (first, second):
            if cell is None:
                cells.append("\\tab \\tab ")
            elif isinstance(cell, tuple):
                value, unit = cell
                unit_rtf = rtf_text(unit.text) if isinstance(unit, Literal) else field(unit)
                cells.append("\\tab %s\\tab %s" % (field(value), unit_rtf))
            else:
                cells.append("\\tab %s\\tab " % field(cell))
        while cells and cells[-1] == "\\tab \\tab ":
            cells.pop()
        self.add(BODY + rtf_text(self.label(label)) + "".join(cells) + "\\par")

    def text_row(self, label, name):
        self.add("\\pard\\plain\\f0\\fs17\\tx2600 %s\\tab %s\\par" % (rtf_text(self.label(label)), field(name)))

    def note(self):
        self.add("\\pard\\plain\\f0\\fs17\\sb120\\tx2600 {\\b %s}\\tab %s\\par"
                 % (rtf_text(self.t(377).rstrip(" :")), field("'Note'")))

    def disclaimer(self):
        self.add("\\pard\\plain\\f0\\fs14\\cf2\\sb240\\brdrt\\brdrs\\brdrw5\\brdrcf2 %s\\par"
                 % " ".join(rtf_text(self.t(i)) for i in range(204, 208)))
        self.add("\\pard\\plain\\f0\\fs14\\cf2 %s %s %s\\par"
                 % (rtf_text(self.t("program")), field("'TQSName'"), field("'TQSVersion'")))

    def document(self) -> str:
        head = ("{\\rtf1\\ansi\\ansicpg1252\\deff0"
                "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
                "{\\colortbl;\\red0\\green62\\blue122;\\red96\\green96\\blue96;}"
                "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt794\\margb794\r\n")
        return head + "\r\n".join(self.parts) + "\r\n}"


# --- the sheets of each kind -------------------------------------------------------

def side_columns(sheet: Sheet):
    return [sheet.t(483) + " 1", sheet.t(483) + " 2"]


def pair(name_1: str, name_2: str):
    return q(name_1), q(name_2)


def exchanger(s: Sheet, dual=False, serie=False, flux=True):
    s.section(562)
    s.row(305, HEAT_LOAD)
    if dual:
        s.row((305, 512), "'HeatLoadTotal'")
    s.row(505, q("'Area'"))
    if flux:
        s.row(308, q("'HeatFlux'"))
    s.row(365, q("'MTD'"))
    s.row(385, ("'OHTC'", "'OHTC_u'"), ("'OHTC_req'", "'OHTC_u'"))
    s.row(429, *pair("'PressDropTot1'", "'PressDropTot2'"))
    s.row(431, *pair("'PressDropPort1'", "'PressDropPort2'"))
    s.row(426, *pair("'ConnDia1'", "'ConnDia2'"))
    s.row(152, "'NoofChan1'", "'NoofChan2'")
    s.row(262, "'Para'")
    if serie:
        s.row(528, "'Serie'")
    s.row(375, "'NoOfPlates'")
    s.row(397, ("'OverSurf'", PERCENT))
    s.row(266, q("'FoulingF'"))


def detail_rows(s: Sheet, columns, fluid1: str, wall_limits: bool, ports: bool = True):
    """The extra data sheet's per-side detail every kind shares."""
    s.section(565, columns)
    s.row(276, fluid1, "'Fluid2'")
    s.row(454, *pair("'RefTemp1'", "'RefTemp2'"))
    if wall_limits:
        s.row(357, *pair("'Tmin1'", "'Tmin2'"))
        s.row(356, *pair("'Tmax1'", "'Tmax2'"))
    s.row(116, *pair("'Walltemp1'", "'Walltemp2'"))
    s.row(457, "'Rey1'", "'Rey2'")
    s.row(268, *pair("'Film1'", "'Film2'"))
    s.row("channels pd", ("'PD1'", "'TPD1_u'"), ("'TPD2'", "'TPD2_u'"))
    if ports:
        s.row(431, *pair("'PressDropPort1'", "'PressDropPort2'"))
    s.row(181, *pair("'PortVel1'", "'PortVel2'"))
    s.row(154, *pair("'ChanVel1'", "'ChanVel2'"))


def single_phase(s: Sheet, kind: str, dual: bool):
    columns = side_columns(s)
    if kind == "quote":
        quote_summary(s, dual, "'Fluid1a'" if dual else "'Fluid1'")
        return
    if kind == "prev":
        s.section(209, columns)
        s.row(322, *pair("'Tin1'", "'Tin2'"))
        s.row(400, *pair("'Tout1'", "'Tout2'"))
        s.row(348, ("FlowRate1", "FlowRate1_u"), ("FlowRate2", "FlowRate2_u"))
        s.row(382, "'NTU1'", "'NTU2'")
        s.row(351, ("'TmaxPD1'", "'TmaxPD1_u'"), ("'TMaxPD2'", "'TMaxPD2_u'"))
        s.section(417, columns)
        s.row(276, "'Fluid1a'" if dual else "'Fluid1'", "'Fluid2'")
        if dual:
            s.row(276, "'Fluid1b'")
        s.row(454, *pair("'RefTemp1'", "'RefTemp2'"))
        s.row(557, *pair("'Visc1'", "'Visc2'"))
        s.row(538, *pair("'ViscWall1'", "'ViscWall2'"))
        s.row(200, *pair("'Dens1'", "'Dens2'"))
        s.row(306, *pair("'HeatCap1'", "'HeatCap2'"))
        s.row(499, *pair("'Conduct1'", "'Conduct2'"))
        exchanger(s, dual)
        s.note()
    else:
        detail_rows(s, columns, "'Fluid1a'" if dual else "'Fluid1'", wall_limits=True)
        s.row(481, ("'Shear1'", "Shear1_u'"), ("'Shear2'", "Shear2_u'"))
        s.row(426, *pair("'ConnDia1'", "'ConnDia2'"))


def two_phase(s: Sheet, kind: str, dual: bool, condenser: bool):
    columns = [s.t(599), s.t(276)]
    fluid1 = "'Fluid1a'" if dual else "'Fluid1'"
    if kind == "quote":
        quote_summary(s, dual, fluid1, columns=columns)
        return
    if kind == "prev":
        s.section(209, columns)
        s.row(322, *pair("'Tin1'", "'Tin2'"))
        if condenser:
            s.row(495, q("'CondTemp'"))
            s.row(492, q("'SubC'"))
            s.row(400, *pair("'Tout1'", "'Tout2'"))
        else:
            s.row(517, q("'EvapTemp'"))
            s.row(400, q("'ToutGas'"), q("'Tout2'"))
        s.row(348, ("FlowRate1", "FlowRate1_u"), ("FlowRate2", "FlowRate2_u"))
        if condenser:
            s.row(279, ("FluidCond", "FluidCond_u"))
        else:
            s.row((348, 323), ("FlowRateGas", "FlowRateGas_u"))
            s.row(290, ("FluidVap", "FluidVap_u"))
        s.row(391, ("OPout", "OPout_u"))
        s.row(351, ("'TmaxPD1'", "'TmaxPD1_u'"), ("'TMaxPD2'", "'TMaxPD2_u'"))
        s.section(417, columns)
        s.row(276, fluid1, "'Fluid2'")
        if dual:
            s.row(276, "'Fluid1b'")
        s.row(454, *pair("'RefTemp1'", "'RefTemp2'"))
        s.row((341, 557), *pair("'ViscRefLiq'", "'Visc2'"))
        s.row((341, 200), *pair("'DensLiq'", "'Dens2'"))
        s.row((341, 306), *pair("'HeatCapLiq'", "'HeatCap2'"))
        s.row((341, 499), *pair("'ConductLiq'", "'Conduct2'"))
        s.row((545, 557), q("'ViscRefGas'"))
        s.row((545, 200), q("'DensGas'"))
        s.row((545, 306), q("'HeatCapGas'"))
        s.row((545, 499), q("'ConductGas'"))
        exchanger(s, dual, serie=True)
        s.note()
    else:
        detail_rows(s, columns, fluid1, wall_limits=False)
        s.row((426, "inlet"), ("'Dia1'", "'Dia_u'"), ("'Dia3", "'Dia_u'"))
        s.row((426, "outlet"), ("'Dia2'", "'Dia_u'"), ("'Dia4'", "'Dia_u'"))
        if condenser:
            s.row(492, q("'SubC'"))
        else:
            s.row(611, ("'PDropFlu'", "PDropFlu_u'"))


def cascade(s: Sheet, kind: str):
    columns = [s.t(604), s.t(605)]
    if kind == "quote":
        quote_summary(s, False, "'Fluid1'", columns=columns)
        return
    if kind == "prev":
        s.section(209, columns)
        s.row(322, *pair("'Tin1'", "'Tin2'"))
        s.row(400, *pair("'Tout1'", "'Tout2'"))
        s.row((400, 545), q("'ToutGas'"))
        s.row(517, q("'EvapTemp'"))
        s.row(493, q("'SuperHeat'"))
        s.row(495, None, q("'CondTemp'"))
        s.row(492, None, q("'SubC'"))
        s.row(348, ("FlowRate1", "FlowRate1_u"), ("FlowRate2", "FlowRate2_u"))
        s.row((348, 323), ("FlowRateGas", "FlowRateGas_u"))
        s.row(290, ("FluidVap", "FluidVap_u"))
        s.row(279, None, ("FluidCond", "FluidCond_u"))
        s.row(391, ("OPout", "OPout_u"), q("'OPout2'"))
        s.row(351, ("'TmaxPD1'", "'TmaxPD1_u'"), ("'TMaxPD2'", "'TMaxPD2_u'"))
        s.section(417, columns)
        s.row(276, "'Fluid1'", "'Fluid2'")
        s.row(454, *pair("'RefTemp1'", "'RefTemp2'"))
        s.row((341, 557), *pair("'ViscRefLiq'", "'Visc2'"))
        s.row((341, 200), *pair("'DensLiq'", "'Dens2'"))
        s.row((341, 306), *pair("'HeatCapLiq'", "'HeatCap2'"))
        s.row((341, 499), *pair("'ConductLiq'", "'Conduct2'"))
        s.row((545, 557), *pair("'ViscRefGas'", "'ViscRefGas2'"))
        s.row((545, 200), *pair("'DensGas'", "'DensGas2'"))
        s.row((545, 306), *pair("'HeatCapGas'", "'HeatCapGas2'"))
        s.row((545, 499), *pair("'ConductGas'", "'ConductGas2'"))
        exchanger(s, serie=True)
        s.note()
    else:
        detail_rows(s, columns, "'Fluid1'", wall_limits=False, ports=False)
        s.row(611, ("'PDropFlu'", "PDropFlu_u'"))
        s.row((607,), ("'Dia1'", "'Dia_u'"))
        s.row((608,), ("'Dia2'", "'Dia_u'"))
        s.row((609,), None, ("'Dia5'", "'Dia_u'"))
        s.row((610,), None, ("'Dia6'", "'Dia_u'"))


def two_stage(s: Sheet, kind: str):
    columns = side_columns(s)
    if kind == "quote":
        quote_summary(s, False, "'Fluid1'", two_stage=True)
        return
    s.section(209, columns)
    s.row(589, *pair("'Tin1'", "'Tin2'"))
    s.row(590, *pair("'Tout1'", "'Tout2'"))
    s.row((348, 593), ("FlowRate1", "FlowRate1_u"), ("FlowRate2", "FlowRate2_u"))
    s.row(588, ("FlowRateAdd", "FlowRateAdd_u"))
    s.row(594, ("FlowRateTot", "FlowRate1_u"))
    s.row(351, ("'TmaxPD1'", "'TmaxPD1_u'"), ("'TMaxPD2'", "'TMaxPD2_u'"))
    s.row(382, "'NTU1'", "'NTU2'")
    s.section(417, columns)
    s.row(276, "'Fluid1'", "'Fluid2'")
    for stage, suffix in (("1", ""), ("2", "_2")):
        def n(base, side):
            return "'%s%s%s'" % (base, side, suffix)

        for key, base in ((454, "RefTemp"), (557, "Visc"), (200, "Dens"), (306, "HeatCap"), (499, "Conduct")):
            s.row(s.t("stage") + " " + stage + " - " + s.t(key), q(n(base, 1)), q(n(base, 2)))
    s.section(562)
    s.row(591, HEAT_LOAD)
    s.row(505, q("'Area'"))
    s.row(343, q("'MTD'"))
    s.row("%s (%s 1 / 2)" % (s.short(385), s.t("stage")), ("'OHTC_1'", "'OHTC_u'"), ("'OHTC_2'", "'OHTC_u'"))
    s.row(592, *pair("'PressDropTot1'", "'PressDropTot2'"))
    s.row(431, *pair("'PressDropPort1'", "'PressDropPort2'"))
    s.row("channels pd", ("'PD1'", "'TPD1_u'"), ("'TPD2'", "'TPD2_u'"))
    s.row(426, *pair("'ConnDia1'", "'ConnDia2'"))
    s.row(152, "'NoofChan1'", "'NoofChan2'")
    s.row(375, "'NoOfPlates'")
    s.row(397, ("'OverSurf'", "'OverSurf_u'"))
    s.row(266, q("'FoulingF'"))
    s.note()


def air_dryer(s: Sheet, kind: str):
    columns = [s.t(599), s.t(110)]
    s.section(108, columns)
    s.row(277, "'FluNameRef'", "FluNameAir'")
    s.row(322, None, q("'TinAir'"))
    s.row(348, None, q("'FlowAir'"))
    s.row(517, q("'Tevap'"))
    s.section(460, columns)
    s.row(202, None, q("'Tdew'"))
    s.row(400, q("'ToutRef'"), q("'ToutAir'"))
    s.row(391, q("'OpPOutRef'"), q("'OpPOutAir'"))
    s.row(305, q("'LoadRef'"), q("'LoadAir'"))
    s.row((305, 512), q("'LoadTot'"))
    s.row(505, q("'AreaRef'"), q("'AreaAir'"))
    s.row((505, 512), q("'AreaTot'"))
    s.row(308, q("'HFluxRef'"), q("'HFluxAir'"))
    s.row(365, q("'MTDRef'"), q("'MTDAir'"))
    s.row(s.short(385), q("'OHTCRef'"), q("'OHTCAir'"))
    s.row(125, None, q("'dPTot'"))
    s.row(375, "'NoPRef'", "'NoPAir'")
    if kind == "prev":
        s.section(417, columns)
        s.row(454, q("'TrefRef'"), ("TrefAir'", "'TrefAir_u'"))
        s.row((341, 557), q("'Lvisc'"))
        s.row((341, 200), q("'Ldens'"))
        s.row((341, 306), q("'Lhcap'"))
        s.row((341, 499), q("'Lcond'"))
        s.row((545, 557), q("'VviscRef'"), q("'VviscAir'"))
        s.row((545, 200), ("'VdensRef'", "'VdesnRef_u'"), q("'VdensAir'"))
        s.row((545, 306), q("'VhcapRef'"), q("'VhcapAir'"))
        s.row((545, 499), q("'VcondRef'"), q("'VcondAir'"))
        s.row(328, q("'Vlath'"))
        return
    s.section(448)
    s.row(421, "'PlMtrl'")
    s.row("article", "'ArtNo'")
    s.section(138)
    for i in range(1, 4):
        s.row(s.t(138) + " %d" % i, "'ConnPlace%d'" % i, "'ConnType%d'" % i)
    s.row(518, ("'FluVolRef'", "'Vol_u'"), ("'FluVolAir'", "'Vol_u'"))
    s.row(559, ("'MaxOpPress'", "'OpPress_u'"))
    s.row(516, ("'TestPress'", "'TestPress_u'"))
    s.row(560, ("'MaxWTemp'", "'WTemp_u'"))
    s.row(332, ("'Length'", "'Meas_u'"))
    s.row(554, ("'Width'", "'Meas_u'"))
    s.row(313, ("'Height'", "'Meas_u'"))
    s.row(553, ("'WeightF'", "'Weight_u'"))
    s.row(551, ("'WeightE'", "'Weight_u'"))
    price_block(s)


def price_block(s: Sheet):
    s.section(514)
    s.row(514, ("'Price'", "'Price_u'"))
    s.text_row(199, "'DeliveryTime'")
    s.text_row(407, "'Packing'")
    s.section(165)
    for i in range(1, 4):
        s.add("\\pard\\plain\\f0\\fs17 %s\\par" % field("'Comment%d'" % i))


def quote_summary(s: Sheet, dual: bool, fluid1: str, two_stage: bool = False, columns=None):
    """The quotation: the duty in short, then what is offered."""
    columns = columns or side_columns(s)
    s.section(209, columns)
    s.row(276, fluid1, "'Fluid2'")
    s.row(322, *pair("'Tin1'", "'Tin2'"))
    s.row(400, *pair("'Tout1'", "'Tout2'"))
    s.row(348, ("FlowRate1", "FlowRate1_u"), ("FlowRate2", "FlowRate2_u"))
    s.row(305, HEAT_LOAD)
    if dual:
        s.row((305, 512), "'HeatLoadTotal'")
    s.row(505, q("'Area'"))
    s.row(429, *pair("'PressDropTot1'", "'PressDropTot2'"))
    s.row(375, "'NoOfPlates'")
    s.row(397, ("'OverSurf'", "'OverSurf_u'" if two_stage else PERCENT))
    s.section(448)
    s.row(421, "'Platemtrl'")
    s.row("article", "'ArtNo'")
    s.section(138)
    for i in range(1, 4):
        s.row(s.t(138) + " %d" % i, "'ConnPlace%d'" % i, "'ConnName%d'" % i)
    s.row(180, "'loc1'", "'loc2'")
    s.row(518, *pair("'Vol1'", "'Vol2'"))
    s.row(559, q("'MaxOPress'"))
    s.row(516, q("'TestPress'"))
    s.row(560, q("'MaxWTemp'"))
    width_unit = "'Length_u'" if s.two_phase_quote else "'Width_u'"
    s.row(332, q("'Length'"))
    s.row(554, ("'Width'", width_unit))
    s.row(313, q("'Height'"))
    s.row(553, ("'Weight_full'", "'WeightF_u'"))
    s.row(551, ("'Weight_empty'", "'WeightE_u'"))
    price_block(s)


# (file, title, subtitle, builder, two-phase quotation); the builder takes the sheet.
def templates():
    def spc(kind, dual):
        return lambda s: single_phase(s, kind, dual)

    def con(kind, dual, condenser):
        return lambda s: two_phase(s, kind, dual, condenser)

    sheet = {"prev": "result sheet", "Xtra": "data sheet", "quote": 448}
    out = []
    for kind in ("prev", "Xtra", "quote"):
        suffix = {"prev": "_prev", "Xtra": "_Xtra", "quote": "_quote"}[kind]
        out += [
            (("SPC/SPC_quote" if kind == "quote" else "SPC" + suffix), sheet[kind], 484, spc(kind, False), False),
            (("SPC/SPCDual_quote" if kind == "quote" else "SPCDual" + suffix), sheet[kind], (484, 598), spc(kind, True),
             False),
            (("COND/CON_quote" if kind == "quote" else "CON" + suffix), sheet[kind], 605, con(kind, False, True), True),
            (("COND/CONDual_quote" if kind == "quote" else "CONDual" + suffix), sheet[kind], (605, 598),
             con(kind, True, True), True),
            (("VAP/VAP_quote" if kind == "quote" else ("Vap" if kind == "prev" else "VAP") + suffix), sheet[kind], 604,
             con(kind, False, False), True),
            (("VAP/VAPDual_quote" if kind == "quote" else "VAPDual" + suffix), sheet[kind], (604, 598),
             con(kind, True, False), True),
            (("CASCADE/CASCADE_quote" if kind == "quote" else "Cascade" + suffix), sheet[kind], 606,
             lambda s, kind=kind: cascade(s, kind), True),
        ]
    out += [
        ("TS_prev", "result sheet", "two-stage", lambda s: two_stage(s, "prev"), False),
        ("TwoStage/TS_quote", 448, "two-stage", lambda s: two_stage(s, "quote"), False),
        ("ADPrev", "result sheet", 104, lambda s: air_dryer(s, "prev"), False),
        ("AD/ADQuote", 448, 104, lambda s: air_dryer(s, "quote"), False),
    ]
    return out


def main():
    written = 0
    for language, code in LANGUAGES.items():
        for name, title, subtitle, build, two_phase_quote in templates():
            s = Sheet(code)
            s.two_phase_quote = two_phase_quote
            s.address()
            s.title(title, subtitle)
            s.references(method=not name.startswith("TS") and not name.startswith("TwoStage"))
            build(s)
            s.disclaimer()
            path = OUT / language / (name + ".rtf")
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(s.document().encode("ascii"))
            written += 1
    print("wrote %d templates under %s" % (written, OUT))


if __name__ == "__main__":
    main()
