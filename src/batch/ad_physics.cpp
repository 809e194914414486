#include "batch/ad_physics.h"

#include "core/model_tree.h"
#include "core/price_data.h"
#include "core/xer_physics.h"
#include "platform/db.h"
#include "platform/error.h"

#include <fmt/format.h>

namespace hxq::batch {

using platform::Recordset;
using platform::Variant;

namespace {

constexpr const char* kSource = "GetADPhysics";

[[noreturn]] void lookup_failed(const std::string& what) {
    throw platform::object_error(core::kLookupErrorCode, kSource, what);
}

double num(const Variant& v) { return core::FieldValueOrZero(v).as_double(); }

// The volume of one channel of type `id`; 0 for a Null id or an unknown channel.
double channel_volume(Recordset& channel, const Variant& id) {
    if (id.is_null()) return 0;
    if (!channel.FindFirst("ChannelID=" + id.as_text())) return 0;
    return num(channel.Fields("ChVol"));
}

// Left channel volumes of side 1 and side 2 of the unit node of model and channels.
struct UnitChannels {
    double side1 = 0;
    double side2 = 0;
};

UnitChannels unit_channels(Recordset& tree, Recordset& channel, const Recordset& ad, const char* model,
                           const char* side1, const char* side2) {
    const std::string criteria = fmt::format("ModelID={} AND ChannelID1Left={} AND ChannelID2Left={}",
                                             ad.Fields(model).as_text(), ad.Fields(side1).as_text(),
                                             ad.Fields(side2).as_text());
    if (!tree.FindFirst(criteria)) lookup_failed("No model-tree node where " + criteria);
    UnitChannels u;
    u.side1 = channel_volume(channel, tree.Fields("ChannelID1Left"));
    u.side2 = channel_volume(channel, tree.Fields("ChannelID2Left"));
    return u;
}

}  // namespace

void GetADPhysics(ADOutputType& out, const std::string& product_db, const std::string& selector_db) {
    core::XerPhysicsType p;
    platform::Database product = platform::OpenDatabase(product_db, true);
    Recordset ad = product.OpenRecordset(fmt::format("SELECT * FROM [AD-Models] WHERE ADID={}", out.XerModelID));
    if (ad.Eof()) lookup_failed(fmt::format("No AD-Models row of model {}", out.XerModelID));
    Recordset tree = product.OpenRecordset("SELECT * FROM ModelTree");
    Recordset channel = product.OpenRecordset("SELECT * FROM Channel");
    const UnitChannels air = unit_channels(tree, channel, ad, "AirHXQID", "AirChannelIDSide1", "AirChannelIDSide2");
    const UnitChannels ref = unit_channels(tree, channel, ad, "RefHXQID", "RefChannelIDSide1", "RefChannelIDSide2");

    const core::SinglePhaseResult& a = out.AirHXQResults;
    const core::EvaporatorResult& e = out.RefHXQResults_new;
    p.Vol[1] = static_cast<float>(air.side1 * a.NoOfChannels[1] + air.side2 * a.NoOfChannels[2] +
                                  ref.side2 * e.NoOfChannels[2]);
    p.Vol[2] = static_cast<float>(ref.side1 * e.NoOfChannels[1]);

    if (out.XPc.empty()) out.XPc = core::GetXPC(out.XerNodeID, product_db);
    platform::Database selector = platform::OpenDatabase(selector_db, true);
    Recordset m = selector.OpenRecordset("SELECT * FROM HXQMeas WHERE XPC='" + core::JetText(out.XPc) + "'");
    if (m.Eof()) lookup_failed("No measures row of article " + out.XPc);
    p.Height = static_cast<float>(num(m.Fields("Height")));
    p.Width = static_cast<float>(num(m.Fields("Width")));
    p.length = static_cast<float>(num(m.Fields("PP_Start")) + out.TotalNumberOfPlates * num(m.Fields("PP_Plate")) +
                                  num(m.Fields("OffsetDepth")));
    // hPa in the measures table, Pa in the record.
    p.TestPress[1] = static_cast<float>(num(m.Fields("TestPressure1")) * 100);
    p.MaxInnerOPressure[1] = static_cast<float>(num(m.Fields("CH1PressAlt1")) * 100);
    p.MaxInnerOPressure[2] = static_cast<float>(num(m.Fields("CH1PressAlt2")) * 100);
    p.MaxOuterOPressure[1] = static_cast<float>(num(m.Fields("CH2PressAlt1")) * 100);
    p.MaxOuterOPressure[2] = static_cast<float>(num(m.Fields("CH2PressAlt2")) * 100);
    p.MaxWorkingTemperature[1] = static_cast<float>(num(m.Fields("CH1TempAlt1")));
    p.MaxWorkingTemperature[2] = static_cast<float>(num(m.Fields("CH1TempAlt2")));
    // The article's weights cover both units in their frame: start plus every plate.
    p.Weight_empty = static_cast<float>(num(m.Fields("Weight_Start")) +
                                        num(m.Fields("Weight_Plate")) * out.TotalNumberOfPlates);
    // Filled: the air at the evaporator's air density, the refrigerant side as liquid.
    p.Weight_full = static_cast<float>(p.Weight_empty + e.Side2.Density * p.Vol[1] + e.RefLiquid.Density * p.Vol[2]);
    out.XerPhysics = p;
}

}  // namespace hxq::batch
