#include "duty/cascade_duty.h"

#include "duty/single_phase_duty.h"
#include "duty/two_phase_duty.h"
#include "duty/unit_groups.h"
#include "engines/fluid/catalogue.h"
#include "platform/error.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <vector>

namespace hxq::duty {

namespace {

// The three quantities of which exactly one sizes the cascade, as "table.key".
struct DutyQuantity {
    const char* table;
    const char* key;
};
constexpr std::array<DutyQuantity, 3> kDutyQuantities{
    {{"evaporating", "heat_load"}, {"condensing", "heat_load"}, {"condensing", "mass_flow"}}};

std::vector<KeySpec> with_load(std::vector<KeySpec> keys) {
    keys.push_back(Quantity("heat_load", groups::kHeatLoad));
    return keys;
}

// The evaporating circuit's flow follows from the load the condensing one hands over.
std::vector<KeySpec> evaporating_keys() {
    std::vector<KeySpec> keys = EvaporatingRefrigerantKeys();
    std::erase_if(keys, [](const KeySpec& k) { return k.key == "mass_flow"; });
    return with_load(std::move(keys));
}

void require_table(const DutyDocument& d, const char* name, const char* what) {
    if (!d.table(name).present)
        throw DutyFileError(d.path, 0, name, fmt::format("missing table [{}] with {}, e.g. fluid = \"R134a\"", name, what));
}

// Exactly one duty quantity: the driver would refuse none (40) or several (39) without
// saying which keys; the one written last is named, with the others and their lines.
void check_duty_quantity(const DutyDocument& d) {
    std::vector<KeyPlace> given;
    for (const DutyQuantity& q : kDutyQuantities)
        if (const Entry* e = d.table(q.table).get(q.key)) given.push_back(e->place);
    if (given.empty())
        throw DutyFileError(d.path, 0, "evaporating.heat_load",
                            "missing: the duty, one of evaporating.heat_load, condensing.heat_load and "
                            "condensing.mass_flow");
    if (given.size() == 1) return;
    std::sort(given.begin(), given.end(), [](const KeyPlace& a, const KeyPlace& b) { return a.line < b.line; });
    std::string others;
    for (std::size_t i = 0; i + 1 < given.size(); ++i)
        others += fmt::format("{}{} (line {})", others.empty() ? "" : ", ", given[i].key, given[i].line);
    throw DutyFileError(d.path, given.back(),
                        fmt::format("give one of evaporating.heat_load, condensing.heat_load and condensing.mass_flow; "
                                    "{} given too",
                                    others));
}

void check(const DutyDocument& d) {
    require_table(d, "condensing", "the low stage's refrigerant condensing in the unit");
    require_table(d, "evaporating", "the high stage's refrigerant evaporating in the unit");
    CheckCondensingRefrigerant(d.table("condensing"));
    CheckEvaporatingRefrigerant(d.table("evaporating"));
    check_duty_quantity(d);
    if (d.top.has("stand_in_concentration") && !d.top.has("stand_in_fluid"))
        d.top.fail("stand_in_concentration", "give stand_in_fluid with it");
}

core::FluidRef stand_in_fluid(const Section& top) {
    if (!top.has("stand_in_fluid")) return engines::fluid::create_fluid(kStandInFluid, kStandInConcentration);
    const Entry* conc = top.get("stand_in_concentration");
    core::FluidRef f = CreateFluid(top, "stand_in_fluid", conc ? conc->number : 0);
    if (f->IsTwoPhase())
        top.fail("stand_in_fluid", fmt::format("\"{}\" is a refrigerant; the stand-in is a liquid", top.get("stand_in_fluid")->text));
    return f;
}

}  // namespace

const KindLayout& CascadeLayout() {
    static const KindLayout layout{
        DutyKind::Cascade,
        "cascade duties",
        {Quantity("over_surface", groups::kPercent), Quantity("fouling_factor", groups::kFouling),
         Count("material", 0, 1, "expected 0 (AISI 316) or 1 (higher-alloyed plates)"), Flag("forced_stock"),
         Text("stand_in_fluid"), Number("stand_in_concentration"),
         Quantity("stand_in_glide", groups::kTemperatureDifference), Table("condensing"), Table("evaporating"),
         Table("filter")},
        {{"condensing", with_load(CondensingRefrigerantKeys())}, {"evaporating", evaporating_keys()}},
        &check};
    return layout;
}

core::CascadeDataType BuildCascadeData(const DutyDocument& duty, const ResolvedTarget& target,
                                       const std::string& database) {
    core::CascadeDataType data;
    FillTarget(duty, target, database, data.GivenValues);
    const Section& top = duty.top;
    const Section& con_table = duty.table("condensing");
    const Section& vap_table = duty.table("evaporating");
    core::CondenserInput& con = data.InDataCon;
    core::EvaporatorInput& vap = data.InDataVap;
    // The driver takes SI inputs only; the texts as written are of no use to it.
    core::InputData con_given;
    core::InputData vap_given;
    ReadCondensingRefrigerant(con_table, con_given, con);
    ReadEvaporatingRefrigerant(vap_table, vap_given, vap);
    TakeQuantity(con_table, "heat_load", con_given.heatLoad, con.HeatLoad);
    TakeQuantity(vap_table, "heat_load", vap_given.heatLoad, vap.HeatLoad);
    con.CalcMode = "D";
    vap.CalcMode = "D";
    if (const Entry* e = top.get("forced_stock")) vap.ForcedStock = e->flag;
    for (const char* key : {"over_surface", "fouling_factor"}) {
        if (!top.has(key)) continue;
        const double v = SiValue(top, key);
        core::DutyValue& c = key[0] == 'o' ? con.OverSurface : con.FoulingFactor;
        core::DutyValue& e = key[0] == 'o' ? vap.OverSurface : vap.FoulingFactor;
        c = e = core::DutyValue{v, true};
    }

    const double glide = top.has("stand_in_glide") ? SiValue(top, "stand_in_glide") : kStandInGlide;
    if (!(glide > 0)) top.fail("stand_in_glide", "the stand-in's temperature change must be above 0");
    const double tc = con.CondTemp.Value;
    const double te = vap.EvapTemp.Value;
    if (!(tc - te > glide))
        con_table.fail("condensing_temp",
                       fmt::format("the low stage must condense above the high stage's evaporating temperature "
                                   "({:g} °C) by more than the stand-in's {:g} K",
                                   te, glide));
    con.Fluid = stand_in_fluid(top);
    vap.Fluid = stand_in_fluid(top);
    con.InletTemp[2] = core::DutyValue{te, true};
    con.OutletTemp[2] = core::DutyValue{te + glide, true};
    vap.InletTemp[2] = core::DutyValue{tc + glide, true};
    vap.OutletTemp[2] = core::DutyValue{tc, true};
    return data;
}

}  // namespace hxq::duty
