#include "batch/ad_opt.h"

#include "core/model_tree.h"
#include "core/price_data.h"
#include "core/xer_physics.h"
#include "core/xer_tag.h"
#include "engines/fluid/catalogue.h"
#include "platform/error.h"
#include "platform/prompter.h"
#include "settings/library_state.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <utility>

namespace hxq::batch {

using core::DutyCount;
using core::DutyValue;
using platform::Recordset;

namespace {

constexpr std::int32_t kInternalError = 51;
constexpr const char* kLineBreak = "\r\n";

// VB's Int for the non-negative plate arithmetic: the floor.
std::int16_t int_part(double x) { return static_cast<std::int16_t>(std::floor(x)); }

void show_error(std::int32_t number, const std::string& description, const char* place) {
    settings::prompter().show_message(
        fmt::format("Error number {}{}{}{}{}", number, kLineBreak, description, kLineBreak, place));
}

// Shows the error being handled, with the place it ended.
void show_current_error(const char* place) {
    try {
        throw;
    } catch (const platform::Error& e) {
        show_error(e.number(), e.description(), place);
    } catch (const std::exception& e) {
        show_error(kInternalError, e.what(), place);
    }
}

bool air_unit_rated(const core::SinglePhaseResult& r) { return r.Valid && (r.ErrorCode == 0 || r.WarningOnly); }

// The engines write some members in trade units; the pair keeps SI results like every
// other driver (docs/engine-records.md).
void to_si(core::SinglePhaseResult& r) {
    core::OutDataType holder;
    holder.OutputData = std::move(r);
    core::ConvertEngineUnits(holder);
    r = std::move(holder.OutputData);
}
void to_si(core::EvaporatorResult& r) {
    core::VAPOutDataType holder;
    holder.OutputData = std::move(r);
    core::ConvertEngineUnits(holder);
    r = std::move(holder.OutputData);
}

// The buildable pair of `air_plates` and `ref_plates`: at least two air channels on
// side 1 and six evaporator plates.
bool buildable(std::int16_t air_side1, std::int16_t ref_plates) { return air_side1 >= 2 && ref_plates >= 6; }

// The refined search result replaces the level's best only when it is not worse.
bool not_worse(const ADOutputType& candidate, const ADOutputType& best) {
    if (!candidate.Exist) return false;
    if (!best.Exist) return true;
    if (candidate.TotalNumberOfPlates != best.TotalNumberOfPlates)
        return candidate.TotalNumberOfPlates < best.TotalNumberOfPlates;
    return candidate.RefNumberOfPlates <= best.RefNumberOfPlates;
}

}  // namespace

void SetAirUnitDuty(ADInputType& input, double dew_temp) {
    core::SinglePhaseInput& in = input.AirIndata.InData;
    const ADFormIndataType& form = input.ADFormIndata;
    in.InletTemp[1] = DutyValue{dew_temp, true};
    in.InletTemp[2] = DutyValue{form.AirInletTemp, true};
    for (int s = 1; s <= 2; ++s) {
        in.MassFlow[s] = DutyValue{form.AirMassFlow, true};
        in.NoOfPasses[s] = DutyCount{1, true};
        // A performance rating takes four quantities; anything else the host left set
        // would be code 42.
        in.OutletTemp[s].Given = false;
        in.MaxPressureDrop[s].Given = false;
        in.NoOfChannels[s][2].Given = false;
    }
    in.HeatLoad.Given = false;
    in.NoOfPlates.Given = false;
    in.ParallelUnits = DutyCount{1, true};
    in.CalcMode = std::string(1, 'P');
    in.CalcMethod = "Normal";
    in.WallConductivity = kADWallConductivity;
}

void PrepareADFluids(ADInputType& input) {
    RefIndataType& ref = input.RefIndata;
    if (!ref.RefFluid && !input.ADFormIndata.RefFluid.empty())
        ref.RefFluid = engines::fluid::create_fluid(input.ADFormIndata.RefFluid);
    core::PerSide<core::FluidRef>& air = input.AirIndata.InData.Fluid;
    if (!ref.AirFluid) ref.AirFluid = air[2] ? air[2] : engines::fluid::create_fluid("Air");
    for (int s = 1; s <= 2; ++s)
        if (!air[s]) air[s] = ref.AirFluid;
    if (input.ADFormIndata.AirOperatingPressure > 0) {
        for (int s = 1; s <= 2; ++s) air[s]->SetYPressure(input.ADFormIndata.AirOperatingPressure);
        ref.AirFluid->SetYPressure(input.ADFormIndata.AirOperatingPressure);
    }
    core::EvaporatorInput& vap = ref.VAP.InData;
    vap.Refrigerant = ref.RefFluid;
    vap.Fluid = ref.AirFluid;
}

clsADOpt::clsADOpt() = default;
clsADOpt::~clsADOpt() = default;

float clsADOpt::MinOf(double a, double b) { return static_cast<float>(a < b ? a : b); }
float clsADOpt::MaxOf(double a, double b) { return static_cast<float>(a > b ? a : b); }

ADOutputType clsADOpt::ADCalc(ADInputType& input, double dew_temp, std::int16_t air_side1, std::int16_t air_side2,
                              std::int16_t ref_plates) {
    ADOutputType out;
    try {
        const ADFormIndataType& form = input.ADFormIndata;
        core::SinglePhaseInput& air = input.AirIndata.InData;
        air.InletTemp[1] = DutyValue{dew_temp, true};
        air.NoOfChannels[1][1] = DutyCount{air_side1, true};
        air.NoOfChannels[2][1] = DutyCount{air_side2, true};
        calc_.SinglePhase().Calculate(air, out.AirHXQResults);
        if (!air_unit_rated(out.AirHXQResults)) return out;

        // The evaporator takes the pre-cooled air leaving the warm side and cools it to
        // the dew temperature; its refrigerant states are the entered ones.
        RefIndataType& ref = input.RefIndata;
        ref.NoOfPlates = ref_plates;
        ref.AirOutletTemp = static_cast<float>(dew_temp);
        core::EvaporatorInput& vap = ref.VAP.InData;
        vap.CalcMode = std::string(1, 'X');
        vap.Refrigerant = ref.RefFluid;
        vap.Fluid = ref.AirFluid;
        vap.InletTemp[2] = DutyValue{out.AirHXQResults.OutletTemp[2], true};
        vap.OutletTemp[2] = DutyValue{dew_temp, true};
        vap.MassFlow[2] = DutyValue{form.AirMassFlow, true};
        vap.MassFlow[1].Given = false;
        vap.HeatLoad.Given = false;
        for (int s = 1; s <= 2; ++s) vap.MaxPressureDrop[s].Given = false;
        vap.EvapTemp = DutyValue{form.RefEvapTemp, true};
        vap.SuperHeating = DutyValue{form.RefSuperHeat, true};
        vap.Qin = DutyValue{form.RefVaporQualityInlet, true};
        vap.Qout.Given = false;
        vap.NoOfPlates = DutyCount{ref_plates, true};
        vap.ParallelUnits = DutyCount{1, true};
        vap.ForcedStock = false;
        vap.WallConductivity = kADWallConductivity;
        calc_.Evaporator().Calculate(vap, out.RefHXQResults_new);

        const core::EvaporatorResult& e = out.RefHXQResults_new;
        if (!(e.HeatTransferArea < kADNoSolutionArea)) return out;
        const core::SinglePhaseResult& a = out.AirHXQResults;
        out.TotalPressureDrop = static_cast<float>(a.PressureDrop[1] + a.PressureDrop[2] + e.PressureDrop[2]);
        out.TotalNumberOfPlates = static_cast<std::int16_t>(air_side1 + air_side2 + 1 + ref_plates);
        out.RefNumberOfPlates = ref_plates;
        out.DewTemp = static_cast<float>(dew_temp);
        out.AirMassFlow = static_cast<float>(a.MassFlow[1]);
        out.Exist = out.TotalPressureDrop < kADPressureDropTolerance * form.AirMaxPressureDrop &&
                    e.OverSurface >= 0 && a.OutletTemp[1] > form.AirMinOutletTemp;
        to_si(out.AirHXQResults);
        to_si(out.RefHXQResults_new);
    } catch (...) {
        show_current_error("Incurred in ADCalc");
        out.Exist = false;
    }
    return out;
}

ADOutputType clsADOpt::ADCalcAtPercent(ADInputType& input, float percent) {
    const double p = percent;
    const double dew = input.ADFormIndata.DewTemp;
    const std::int16_t h = static_cast<std::int16_t>(input.MaxNoOfPlates / 2);
    std::int16_t ref = static_cast<std::int16_t>(2 * int_part(h * p / 100 + 0.5));
    std::int16_t air = static_cast<std::int16_t>(2 * int_part(h * (100 - p) / 100 + 0.5));
    ADOutputType best;
    if (!buildable(static_cast<std::int16_t>(air / 2 - 1), ref)) return best;
    best = ADCalc(input, dew, static_cast<std::int16_t>(air / 2 - 1), static_cast<std::int16_t>(air / 2), ref);
    if (!best.Exist) return best;

    // Bisection on the size of the pack at this split: hi always builds a pair that
    // meets the duty, lo never does (or is below the smallest pair).
    std::int16_t lo = 4;
    std::int16_t hi = h;
    while (hi > lo + 1) {
        const std::int16_t mid = static_cast<std::int16_t>((lo + hi) / 2);
        ref = std::max<std::int16_t>(static_cast<std::int16_t>(2 * int_part(mid * p / 100 + 0.5)), 4);
        air = std::max<std::int16_t>(static_cast<std::int16_t>(2 * int_part(mid * (100 - p) / 100 + 0.5)), 4);
        bool success = false;
        if (ref >= 6 && air >= 6) {
            ADOutputType r =
                ADCalc(input, dew, static_cast<std::int16_t>(air / 2 - 1), static_cast<std::int16_t>(air / 2), ref);
            if (r.Exist) {
                success = true;
                best = std::move(r);
            }
        }
        (success ? hi : lo) = mid;
    }
    return best;
}

ADOutputType clsADOpt::OptimiseSplit(ADInputType& input, float min_percent, float max_percent, std::int16_t depth) {
    best_plates_ = kADNoBestPlates;
    best_ref_plates_ = 0;
    ADOutputType best;
    const int n = input.Optimisation.Split;
    const double step = (static_cast<double>(max_percent) - min_percent) / (n + 2);
    bool found = false;
    float window_min = 0;
    float window_max = 100;
    for (int i = 0; i <= n; ++i) {
        const double p = min_percent + (i + 1) * step;
        ADOutputType r = ADCalcAtPercent(input, static_cast<float>(p));
        if (!r.Exist) continue;
        if (r.TotalNumberOfPlates < best_plates_ ||
            (r.TotalNumberOfPlates == best_plates_ && r.RefNumberOfPlates < best_ref_plates_)) {
            best_plates_ = r.TotalNumberOfPlates;
            best_ref_plates_ = r.RefNumberOfPlates;
            best = std::move(r);
            found = true;
            window_min = MaxOf(p - step, 0);
            window_max = MinOf(p + step, 100);
        }
    }
    next_min_ = window_min;
    next_max_ = window_max;
    if (depth - 1 >= 1 && found) {
        // The finer level starts from scratch and may find nothing better (or nothing
        // at all) on its points; the pair found here is kept then.
        ADOutputType refined = OptimiseSplit(input, next_min_, next_max_, static_cast<std::int16_t>(depth - 1));
        if (not_worse(refined, best)) best = std::move(refined);
    }
    return best;
}

ADOutputType clsADOpt::D_ADCalc(ADInputType& input) {
    PrepareADFluids(input);
    SetAirUnitDuty(input, input.ADFormIndata.DewTemp);
    return OptimiseSplit(input, 0, 100, input.Optimisation.Depth);
}

ADOutputType clsADOpt::P_ADCalc(ADInputType& input) {
    PrepareADFluids(input);
    ADFormIndataType& form = input.ADFormIndata;
    const std::int16_t air_side1 = static_cast<std::int16_t>(form.AirNoOfPlates / 2 - 1);
    const std::int16_t air_side2 = static_cast<std::int16_t>(form.AirNoOfPlates / 2);
    const std::int16_t ref_plates = form.RefNoOfPlates;
    ADOutputType best;
    best.RefNumberOfPlates = ref_plates;
    best.TotalNumberOfPlates = static_cast<std::int16_t>(ref_plates + air_side1 + air_side2 + 1);
    if (!buildable(air_side1, ref_plates)) return best;

    // A rating has no limits; the entered ones are the host's and come back afterwards.
    struct Limits {
        ADFormIndataType& form;
        float pressure_drop = form.AirMaxPressureDrop;
        float outlet = form.AirMinOutletTemp;
        ~Limits() {
            form.AirMaxPressureDrop = pressure_drop;
            form.AirMinOutletTemp = outlet;
        }
    } keep{form};
    form.AirMaxPressureDrop = 1e30f;
    form.AirMinOutletTemp = -273;

    SetAirUnitDuty(input, form.AirInletTemp);
    double lo = form.RefEvapTemp + 1.0;
    double hi = form.AirInletTemp;
    // The pair reaches every dew temperature above the one it just reaches: the last
    // temperature that worked is the answer (the last one tried may have failed).
    while (hi - lo >= kADDewTempResolution) {
        const double t = (lo + hi) / 2;
        ADOutputType r = ADCalc(input, t, air_side1, air_side2, ref_plates);
        if (r.Exist) {
            hi = t;
            best = std::move(r);
        } else {
            lo = t;
        }
    }
    best.RefNumberOfPlates = ref_plates;
    best.TotalNumberOfPlates = static_cast<std::int16_t>(ref_plates + air_side1 + air_side2 + 1);
    return best;
}

void clsADOpt::ReadADModel(const Recordset& ad, ADInputType& input) {
    input.Optimisation.Split = core::ToInt16(core::FieldValueOrZero(ad.Fields("Split")));
    input.Optimisation.Depth = core::ToInt16(core::FieldValueOrZero(ad.Fields("Depth")));
    input.MaxNoOfPlates = core::ToInt16(core::FieldValueOrZero(ad.Fields("MaxNoOfPlates")));
    const platform::Variant ref = ad.Fields("RefNoOfPlates");
    if (ref.is_null()) return;
    input.ADFormIndata.RefNoOfPlates = core::ToInt16(ref);
    const platform::Variant air = ad.Fields("AirNoOfPlates");
    if (air.is_null()) return;
    input.ADFormIndata.AirNoOfPlates = core::ToInt16(air);
}

namespace {

// Everything AD_Main opens; closed in reverse order, also when an error ends the run.
struct ADRun {
    platform::Database product;
    platform::Database stock_db;
    Recordset cost;
    Recordset hxq;
    Recordset channel;
    Recordset stock;
    Recordset corr;
    Recordset vring;
    Recordset tree;
};

[[noreturn]] void lookup_failed(const std::string& what) {
    throw platform::object_error(core::kLookupErrorCode, "AD_Main", what);
}

// Puts the unit's node (model and both channel types) current in `tree`.
void find_unit(Recordset& tree, const platform::Variant& model, const platform::Variant& side1,
               const platform::Variant& side2) {
    const std::string criteria = fmt::format("ModelID={} AND ChannelID1Left={} AND ChannelID2Left={}",
                                             model.as_text(), side1.as_text(), side2.as_text());
    if (!tree.FindFirst(criteria)) lookup_failed("No model-tree node where " + criteria);
}

}  // namespace

void clsADOpt::AD_Main(ADDataType& data) {
    for (auto& slot : data.ADOutData) {
        slot = ADOutputType{};
        slot.TotalPrice = kADEmptySlotPrice;
    }
    try {
        ADInputType& input = data.ADInData;
        const core::CalculationSources sources = sources_ ? *sources_ : core::DefaultCalculationSources();
        const std::string tag_db = core::XerTagItem(input.XerTag, core::kXerTagDatabase);
        const std::string product_db = tag_db.empty() ? sources.MainProductDB : tag_db;

        ADRun run;
        run.product = platform::OpenDatabase(product_db);
        run.stock_db = platform::OpenDatabase(sources.StockDB);
        run.cost = run.product.OpenRecordset("SELECT * FROM Cost");
        run.hxq = run.product.OpenRecordset("SELECT * FROM HXQ");
        run.channel = run.product.OpenRecordset("SELECT * FROM Channel");
        run.stock = run.stock_db.OpenRecordset("SELECT * FROM Stock");
        run.corr = run.product.OpenRecordset("SELECT * FROM [Channel-Fluid-Factors]");
        run.vring = run.product.OpenRecordset("SELECT * FROM VRing");
        run.tree = run.product.OpenRecordset("SELECT * FROM ModelTree");
        PrepareADFluids(input);

        std::string query;
        if (input.IsGroup) {
            // The group node is the parent of its models, which name it as A/NNN.
            const std::string node = core::XerTagItem(input.XerTag, 1);
            const std::string group = core::XerTagItem(input.XerTag, core::kXerTagGroupOrNode);
            const long parent = node.empty() ? input.XerIndex : std::stol(node);
            const long code = group.empty() ? input.XerIndex : std::stol(group);
            query = fmt::format("SELECT * FROM ModelTree WHERE ParentID={} AND Instr(Group,'A/{:03d}') > 0 AND InUse",
                                parent, code);
        } else {
            query = fmt::format("SELECT * FROM ModelTree WHERE NodeID={}", input.XerIndex);
        }
        Recordset models = run.product.OpenRecordset(query);
        // A model without plate numbers of its own is rated with the entered ones, not
        // with those of the model before it.
        const std::int16_t entered_air = input.ADFormIndata.AirNoOfPlates;
        const std::int16_t entered_ref = input.ADFormIndata.RefNoOfPlates;
        auto& slots = data.ADOutData;
        while (!models.Eof()) {
            const platform::Variant model_id = models.Fields("ModelID");
            Recordset ad = run.product.OpenRecordset("SELECT * FROM [AD-Models] WHERE ADID=" + model_id.as_text());
            if (ad.Eof()) lookup_failed("No AD-Models row of model " + model_id.as_text());
            input.ADFormIndata.AirNoOfPlates = entered_air;
            input.ADFormIndata.RefNoOfPlates = entered_ref;
            ReadADModel(ad, input);

            find_unit(run.tree, ad.Fields("AirHXQID"), ad.Fields("AirChannelIDSide1"), ad.Fields("AirChannelIDSide2"));
            input.AirIndata.GivenValues.Xer = core::NullToText(run.tree.Fields("Alias"));
            input.AirIndata.GivenValues.XerID = core::ToInt16(run.tree.Fields("nodeid"));
            calc_.SPC_SetData(input.AirIndata, run.tree, run.hxq, run.channel, run.stock, run.cost);

            find_unit(run.tree, ad.Fields("RefHXQID"), ad.Fields("RefChannelIDSide1"), ad.Fields("RefChannelIDSide2"));
            input.RefIndata.HXQModel = core::NullToText(run.tree.Fields("Alias"));
            input.RefIndata.HXQChannel = core::NullToText(run.tree.Fields("ChannelType"));
            input.RefIndata.VAP.GivenValues.Xer = input.RefIndata.HXQModel;
            input.RefIndata.VAP.GivenValues.XerID = core::ToInt16(run.tree.Fields("nodeid"));
            calc_.VAP_SetData(input.RefIndata.VAP, run.tree, run.hxq, run.channel, run.stock, run.cost, run.corr,
                              run.vring);

            ADOutputType result = input.ADFormIndata.CalcMethod == 0 ? D_ADCalc(input) : P_ADCalc(input);
            if (result.Exist) {
                const platform::Variant price_id = ad.Fields("PriceID");
                result.Startprice = core::kDefaultStartprice;
                result.Plateprice = core::kDefaultPlateprice;
                if (!price_id.is_null() && run.cost.FindFirst("PriceID=" + price_id.as_text())) {
                    result.Startprice = static_cast<float>(core::FieldValueOrZero(run.cost.Fields("TQSP1")).as_double());
                    result.Plateprice = static_cast<float>(core::FieldValueOrZero(run.cost.Fields("TQSP2")).as_double());
                }
                result.TotalPrice = result.Startprice + result.Plateprice * result.TotalNumberOfPlates;
                result.XerType = core::NullToText(models.Fields("Alias"));
                result.XerNodeID = core::ToInt16(models.Fields("nodeid"));
                result.XerModelID = core::ToInt16(model_id);
                if (result.TotalPrice < slots[7].TotalPrice) {
                    slots[7] = std::move(result);
                    for (int i = 7; i >= 2 && slots[i].TotalPrice < slots[i - 1].TotalPrice; --i)
                        std::swap(slots[i], slots[i - 1]);
                }
            }
            models.MoveNext();
            std::int16_t percent =
                models.Eof() ? std::int16_t{100} : static_cast<std::int16_t>(std::floor(models.PercentPosition()));
            CalcPercent.raise(percent);
        }
    } catch (...) {
        show_current_error("Occured in AD-Main");
    }
}

}  // namespace hxq::batch
