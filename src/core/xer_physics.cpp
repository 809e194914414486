#include "core/xer_physics.h"

#include "core/model_tree.h"
#include "core/price_data.h"
#include "platform/error.h"

#include <fmt/format.h>

#include <algorithm>
#include <string>

namespace hxq::core {

using platform::Recordset;
using platform::Variant;

namespace {

double num(const Variant& v) { return FieldValueOrZero(v).as_double(); }

[[noreturn]] void lookup_failed(const char* source, const std::string& what) {
    throw platform::object_error(kLookupErrorCode, source, what);
}

// "XPC='Class*Type*Size*Material*Chantype" of the node's denomination, without the tail.
struct Article {
    std::string prefix;
    std::string execution;
};

Article find_article(Recordset& denomination, std::int16_t node, const char* source) {
    if (!denomination.FindFirst(fmt::format("NodeID={}", node)))
        lookup_failed(source, fmt::format("Node {} has no row in Denomination", node));
    auto f = [&](const char* name) { return JetText(NullToText(denomination.Fields(name))); };
    Article a;
    a.prefix = "XPC='" + f("Class") + "*" + f("Type") + "*" + f("Size") + "*" + f("Material") + "*" + f("Chantype");
    a.execution = NullToText(denomination.Fields("Execution"));
    return a;
}

void find_measures(Recordset& measures, const std::string& criteria, const char* source) {
    if (!measures.FindFirst(criteria)) lookup_failed(source, "No measures row where " + criteria);
}

void find_tree_row(Recordset& tree, std::int16_t node, const char* source) {
    if (!tree.FindFirst(fmt::format("NodeID={}", node)))
        lookup_failed(source, fmt::format("Node {} has no row in ModelTree", node));
}

// Dimensions, pressures and temperatures of the measures row; `plates_in_depth` is the
// plate term of the pack depth.
void read_measures(const Recordset& m, double plates_in_depth, XerPhysicsType& p) {
    p.Height = static_cast<float>(num(m.Fields("Height")));
    p.Width = static_cast<float>(num(m.Fields("Width")));
    p.length = static_cast<float>(num(m.Fields("PP_Start")) +
                                  (plates_in_depth - num(m.Fields("PP_LessChpl"))) * num(m.Fields("PP_Plate")) +
                                  num(m.Fields("OffsetDepth")));
    // The measures table holds hPa; the record holds Pa, as every pressure of the library.
    p.TestPress[1] = static_cast<float>(num(m.Fields("TestPressure1")) * 100);
    p.MaxInnerOPressure[1] = static_cast<float>(num(m.Fields("CH1PressAlt1")) * 100);
    p.MaxInnerOPressure[2] = static_cast<float>(num(m.Fields("CH1PressAlt2")) * 100);
    p.MaxOuterOPressure[1] = static_cast<float>(num(m.Fields("CH2PressAlt1")) * 100);
    p.MaxOuterOPressure[2] = static_cast<float>(num(m.Fields("CH2PressAlt2")) * 100);
    p.MaxWorkingTemperature[1] = static_cast<float>(num(m.Fields("CH1TempAlt1")));
    p.MaxWorkingTemperature[2] = static_cast<float>(num(m.Fields("CH1TempAlt2")));
}

// "ChVol" of the channel named by column `column` of the tree row; 0 when the column is
// Null or empty or the channel is not found.
double channel_volume(const Recordset& tree, Recordset& channel, const std::string& column) {
    const std::string id = NullToText(tree.Fields(column));
    if (id.empty()) return 0.0;
    const std::string criteria =
        Variant(id).to_number() ? "ChannelID=" + id : "ChannelID='" + JetText(id) + "'";
    if (!channel.FindFirst(criteria)) return 0.0;
    return num(channel.Fields("ChVol"));
}

void weigh(const Recordset& m, double plates, double density1, double density2, XerPhysicsType& p) {
    p.Weight_empty = static_cast<float>(num(m.Fields("Weight_Start")) + num(m.Fields("Weight_Plate")) * plates);
    p.Weight_full = static_cast<float>(p.Weight_empty + density1 * p.Vol[1] + density2 * p.Vol[2]);
}

template <class Alt>
void two_phase_physics(Recordset& denomination, Recordset& measures, Recordset& tree, Recordset& channel, Alt& result,
                       const char* source) {
    XerPhysicsType& p = result.XerPhysics;
    p = XerPhysicsType{};
    const Article a = find_article(denomination, result.nodeid, source);
    find_measures(measures, a.prefix + "*1P*S'", source);
    find_tree_row(tree, result.nodeid, source);
    const auto& out = result.OutputData;
    read_measures(measures, out.NoOfPlates, p);
    for (int s = 1; s <= 2; ++s)
        p.Vol[s] = static_cast<float>(channel_volume(tree, channel, fmt::format("ChannelID{}Left", s)) *
                                      out.NoOfChannels[s]);
    // Side 1 is filled with refrigerant liquid, the heavier phase.
    weigh(measures, out.NoOfPlates, out.RefLiquid.Density, out.Side2.Density, p);
}

}  // namespace

bool GetXerPhysicsSPC(Recordset& denomination, Recordset& measures, Recordset& tree, Recordset& channel,
                      OutDataType& result) {
    const char* source = "GetXerPhysicsSPC";
    XerPhysicsType& p = result.XerPhysics;
    p = XerPhysicsType{};
    const SinglePhaseResult& out = result.OutputData;
    const Article a = find_article(denomination, result.nodeid, source);
    if (!a.execution.empty()) {
        find_measures(measures, a.prefix + "*" + JetText(a.execution) + "*S'", source);
    } else {
        // A unit of n passes uses the article of n passes, else the nearest fewer.
        bool found = false;
        for (int n = std::max<int>(out.NoOfPasses, 1); n >= 1 && !found; --n)
            found = measures.FindFirst(fmt::format("{}*{}P*S'", a.prefix, n));
        if (!found)
            lookup_failed(source, fmt::format("No measures row for {}' with {} passes or fewer", a.prefix,
                                              out.NoOfPasses));
    }
    if (out.NoOfPlates < num(measures.Fields("MinNoP"))) return false;
    find_tree_row(tree, result.nodeid, source);
    read_measures(measures, out.NoOfPlates, p);
    // Channelout counts every channel of the unit, all passes together: the channels
    // of one pass times the passes, so the passes are not multiplied in again.
    for (int s = 1; s <= 2; ++s) {
        double vol = channel_volume(tree, channel, fmt::format("ChannelID{}Left", s)) * out.Channelout[s][1];
        vol += channel_volume(tree, channel, fmt::format("ChannelID{}Right", s)) * out.Channelout[s][2];
        p.Vol[s] = static_cast<float>(vol);
    }
    weigh(measures, out.NoOfPlates, out.Density[1], out.Density[2], p);
    return true;
}

void GetXerPhysicsCON(Recordset& denomination, Recordset& measures, Recordset& tree, Recordset& channel,
                      CONOutDataType& result) {
    two_phase_physics(denomination, measures, tree, channel, result, "GetXerPhysicsCON");
}

void GetXerPhysicsVAP(Recordset& denomination, Recordset& measures, Recordset& tree, Recordset& channel,
                      VAPOutDataType& result) {
    two_phase_physics(denomination, measures, tree, channel, result, "GetXerPhysicsVAP");
}

void GetXerPhysicsTwoStage(Recordset& denomination, Recordset& measures, Recordset& tree, Recordset& channel,
                           TwoStageOutDataType& result) {
    const char* source = "GetXerPhysicsTwoStage";
    XerPhysicsType& p = result.XerPhysics;
    p = XerPhysicsType{};
    const SinglePhaseResult& s1 = result.Stage1.OutputData;
    const SinglePhaseResult& s2 = result.Stage2.OutputData;
    const Article a = find_article(denomination, result.Stage1.nodeid, source);
    find_measures(measures, a.prefix + "*2S*S'", source);
    find_tree_row(tree, result.Stage1.nodeid, source);
    // Both stages' plates and the one plate that separates them make the pack
    // (docs/model-designation.md, "Two-stage plate pack").
    const int plates = s1.NoOfPlates + s2.NoOfPlates + 1;
    read_measures(measures, plates, p);
    for (int s = 1; s <= 2; ++s)
        p.Vol[s] = static_cast<float>(channel_volume(tree, channel, fmt::format("ChannelID{}Left", s)) *
                                      (s1.NoOfChannels[s] + s2.NoOfChannels[s]));
    weigh(measures, plates, s1.Density[1], s1.Density[2], p);
}

}  // namespace hxq::core
