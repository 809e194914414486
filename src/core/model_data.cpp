#include "core/model_data.h"

#include "core/model_tree.h"
#include "platform/error.h"

#include <fmt/format.h>

#include <cmath>

namespace hxq::core {

using platform::Recordset;
using platform::Variant;

namespace {

double num(const Variant& v) { return v.as_double(); }

// A number stored as text; either decimal separator is accepted. Empty: `fallback`.
double text_number(const Variant& v, double fallback) {
    std::string text = NullToText(v);
    if (text.find_first_not_of(" \t") == std::string::npos) return fallback;
    for (char& c : text)
        if (c == ',') c = '.';
    return Variant(text).as_double();
}

std::int16_t half_even_half(std::int16_t plates) {
    return static_cast<std::int16_t>(std::nearbyint(static_cast<double>(plates) / 2.0));
}

// The columns every duty reads from the HXQ row.
template <class Input>
void copy_geometry(const Recordset& hxq, Input& in, bool dual_calc) {
    in.plateThickness = num(hxq.Fields("plateThickness"));
    in.Enlargement = num(hxq.Fields("Enlargement"));
    in.Dh = num(hxq.Fields("Dh"));
    in.PlateArea = num(hxq.Fields("PlateArea"));
    in.FlowLength = num(hxq.Fields("FlowLength"));
    in.FlowWidth = num(hxq.Fields("FlowWidth"));
    in.CoCurrHTCFactor = text_number(hxq.Fields("CoCurrHTCFactor"), 1.0);
    in.MaxPlates = ToInt16(hxq.Fields("MaxPlates"));
    in.Dual = hxq.Fields("Dual").as_bool();
    if (dual_calc && !in.Dual) in.MaxPlates = half_even_half(in.MaxPlates);
}

void copy_single_phase(const Recordset& hxq, SinglePhaseInput& in, bool dual_calc) {
    in.PortMassFluxLimit[1] = kPortMassFluxLimitPreset;
    in.PortMassFluxLimit[2] = kPortMassFluxLimitPreset;
    copy_geometry(hxq, in, dual_calc);
    in.MaxPasses = ToInt16(hxq.Fields("MaxPasses"));
    in.Split = ToInt16(hxq.Fields("Split"));
    in.Depth = ToInt16(hxq.Fields("Depth"));
}

template <class Input>
void copy_two_phase(const Recordset& hxq, Input& in, bool dual_calc) {
    copy_geometry(hxq, in, dual_calc);
    in.Information2 = NullToText(hxq.Fields("Information2"));
    in.DTMin = num(hxq.Fields("DTMin"));
}

std::int16_t breakpoints(const Variant& v, const char* column) {
    std::int16_t n = ToInt16(v);
    if (n < 0 || n > 4)
        throw platform::Error(3349, "GetChannelData",
                              fmt::format("Numeric field overflow: {} = {} (0 to 4 breakpoints)", column, n));
    return n;
}

// Columns of the channel correlation. `scalars`: the single-phase layout, which also
// reads xFp0/xNu0 and ExtraChannel.
void copy_correlation(const Recordset& ch, SinglePhaseChannel& c, bool scalars) {
    c = SinglePhaseChannel{};
    c.Defined = true;
    c.ChannelName = NullToText(ch.Fields("ChannelName"));
    c.ChannelID = static_cast<std::int32_t>(ch.Fields("ChannelID").as_integer());
    c.cFp = num(ch.Fields("cFp"));
    c.noFp = breakpoints(ch.Fields("noFp"), "noFp");
    if (scalars) c.xFp[0] = num(ch.Fields("xFp0"));
    for (int i = 0; i <= c.noFp; ++i) {
        if (i >= 1) c.crFp[i] = num(ch.Fields(fmt::format("crFp{}", i)));
        c.xFp[i] = num(ch.Fields(fmt::format("xFp{}", i)));
    }
    c.cnu = num(ch.Fields("cnu"));
    c.noNu = breakpoints(ch.Fields("noNu"), "noNu");
    if (scalars) c.xNu[0] = num(ch.Fields("xNu0"));
    for (int i = 0; i <= c.noNu; ++i) {
        if (i >= 1) c.crNu[i] = num(ch.Fields(fmt::format("crNu{}", i)));
        c.xNu[i] = num(ch.Fields(fmt::format("xNu{}", i)));
    }
    if (scalars) c.ExtraChannel = ch.Fields("ExtraChannel").as_bool();
}

// The channel id of column `column` of the node, when it is neither Null nor "".
bool channel_of(const Recordset& tree, const std::string& column, std::string& id) {
    id = NullToText(tree.Fields(column));
    return !id.empty();
}

std::string channel_criteria(const std::string& id) {
    // Ids are numbers; a text id is quoted so that a stray text cannot change the query.
    if (Variant(id).to_number()) return "ChannelID=" + id;
    return "ChannelID='" + JetText(id) + "'";
}

void read_two_phase_sides(const Recordset& tree, Recordset& channel, PerSide<TwoPhaseSide>& sides) {
    for (int s = 1; s <= 2; ++s) {
        std::string id;
        if (!channel_of(tree, fmt::format("ChannelID{}Left", s), id)) continue;
        if (!channel.FindFirst(channel_criteria(id))) continue;
        sides[s].PortDiaUp = num(channel.Fields("PortDiaUp"));
        sides[s].PortDiaDown = num(channel.Fields("PortDiaDown"));
        sides[s].SlitResistance = num(channel.Fields("SlitResistance"));
        copy_correlation(channel, sides[s].Channel, false);
    }
}

CorrFactors corr_factors(std::int32_t channel, std::int32_t fluid, Recordset& corr, bool v_model,
                         bool counter_current, const char* duty) {
    const std::string tail = std::string(v_model ? " AND [V-model]" : " AND Not [V-model]") +
                             (counter_current ? " AND [CounterCurrent]" : " AND not [CounterCurrent]");
    CorrFactors f;
    if (!corr.FindFirst(fmt::format("ChannelID={} AND FluidID={}{}", channel, fluid, tail)) &&
        !corr.FindFirst(fmt::format("ChannelID={} AND FluidID=0{}", channel, tail)))
        return f;
    // Stored as texts; an empty one keeps the neutral value of its factor.
    f.cNuCorr = text_number(corr.Fields(fmt::format("cNuCorr{}", duty)), f.cNuCorr);
    f.xNuCorr = text_number(corr.Fields(fmt::format("xNuCorr{}", duty)), f.xNuCorr);
    f.cNuNoPCorr = text_number(corr.Fields(fmt::format("cNuNoPCorr{}", duty)), f.cNuNoPCorr);
    f.cNuNoPRef = text_number(corr.Fields(fmt::format("cNuNoPRef{}", duty)), f.cNuNoPRef);
    f.cNuMaxNoP = text_number(corr.Fields(fmt::format("cNuMaxNoP{}", duty)), f.cNuMaxNoP);
    return f;
}

}  // namespace

void GetModelDataSPC(Recordset& hxq, SPCDataType& data, std::int16_t model) {
    if (!hxq.FindFirst(fmt::format("HXQID={}", model))) return;
    copy_single_phase(hxq, data.InData, data.GivenValues.IsDualCalc);
    // The engine weighs an extra pass against plates; the ratio is 0 without a plate price.
    const PriceType& price = data.GivenValues.Price;
    data.InData.PassPriceRatio = price.Plateprice != 0 ? price.PassPrice / price.Plateprice : 0.0;
}

void GetModelDataTwoStage(Recordset& hxq, TwoStageType& data, std::int16_t model) {
    if (!hxq.FindFirst(fmt::format("HXQID={}", model))) return;
    copy_single_phase(hxq, data.InData, data.GivenValues.IsDualCalc);
}

void GetModelDataCON(Recordset& hxq, CONDataType& data, std::int16_t model) {
    if (!hxq.FindFirst(fmt::format("HXQID={}", model))) return;
    copy_two_phase(hxq, data.InData, data.GivenValues.IsDualCalc);
}

void GetModelDataVAP(Recordset& hxq, VAPDataType& data, std::int16_t model) {
    if (!hxq.FindFirst(fmt::format("HXQID={}", model))) return;
    EvaporatorInput& in = data.InData;
    copy_two_phase(hxq, in, data.GivenValues.IsDualCalc);
    const std::int16_t vring = ToInt16(hxq.Fields("VRingID"));
    in.VRing = vring != 0;
    in.VRingID = vring;
    if (!hxq.Fields("MaxPressureDropVRing").is_null())
        in.MaxPressureDropVRing = num(hxq.Fields("MaxPressureDropVRing"));
    if (!hxq.Fields("MinPressureDropVRing").is_null())
        in.MinPressureDropVRing = num(hxq.Fields("MinPressureDropVRing"));
}

void GetChannelData(const Recordset& channel, SinglePhaseSide& side, int which) {
    copy_correlation(channel, which == 2 ? side.Right : side.Left, true);
}

void GetChannelDataCON(const Recordset& channel, TwoPhaseSide& side) { copy_correlation(channel, side.Channel, false); }
void GetChannelDataVAP(const Recordset& channel, TwoPhaseSide& side) { copy_correlation(channel, side.Channel, false); }

double EffectivePortDiameter(double up, double down) {
    if (!(up > 0) || !(down > 0)) return 0.0;
    return std::pow((std::pow(up, -4.0) + std::pow(down, -4.0)) / 2.0, -0.25);
}

void ReadSideData(const Recordset& tree, Recordset& channel, PerSide<SinglePhaseSide>& sides) {
    for (int s = 1; s <= 2; ++s) {
        std::string id;
        if (channel_of(tree, fmt::format("ChannelID{}Left", s), id) && channel.FindFirst(channel_criteria(id))) {
            SinglePhaseSide& side = sides[s];
            side.SlitResistance = num(channel.Fields("SlitResistance"));
            side.PortDiaUp = num(channel.Fields("PortDiaUp"));
            side.PortDiaDown = num(channel.Fields("PortDiaDown"));
            side.PortDia = EffectivePortDiameter(side.PortDiaUp, side.PortDiaDown);
            GetChannelData(channel, side, 1);
        }
        if (channel_of(tree, fmt::format("ChannelID{}Right", s), id) && channel.FindFirst(channel_criteria(id)))
            GetChannelData(channel, sides[s], 2);
    }
}

void ReadSideDataCON(const Recordset& tree, Recordset& channel, PerSide<TwoPhaseSide>& sides) {
    read_two_phase_sides(tree, channel, sides);
}
void ReadSideDataVAP(const Recordset& tree, Recordset& channel, PerSide<TwoPhaseSide>& sides) {
    read_two_phase_sides(tree, channel, sides);
}

CorrFactors GetCorrFactorsVAP(std::int32_t channel, std::int32_t fluid, Recordset& corr, bool v_model,
                              bool counter_current) {
    return corr_factors(channel, fluid, corr, v_model, counter_current, "VAP");
}

CorrFactors GetCorrFactorsCON(std::int32_t channel, std::int32_t fluid, Recordset& corr, bool counter_current) {
    return corr_factors(channel, fluid, corr, false, counter_current, "CON");
}

void GetVRingData(EvaporatorInput& input, Recordset& vring) {
    if (vring.FindFirst(fmt::format("VRingID={}", input.VRingID))) {
        input.Dorifice = num(vring.Fields("Dorifice"));
        input.DiameterIN = num(vring.Fields("DiameterIN"));
        input.NoOrifice = ToInt16(vring.Fields("NoOrifice"));
    } else {
        input.Dorifice = 0;
        input.DiameterIN = 0;
        input.NoOrifice = 0;
    }
}

}  // namespace hxq::core
