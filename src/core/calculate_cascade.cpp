// The cascade main loop of clsCalculate: one pack that condenses the circuit of
// InDataCon and evaporates the circuit of InDataVap. Each circuit is rated by its own
// engine; the pack is accepted when both fit it with the same plates and units in
// parallel, the heat one circuit gives being the heat the other takes.
// docs/two-stage-cascade.md describes the search.
#include "core/calculate.h"

#include "core/calculate_run.h"
#include "core/filter_check.h"
#include "core/model_data.h"
#include "core/xer_physics.h"
#include "core/xer_tag.h"
#include "platform/error.h"
#include "records/engine_error_text.h"
#include "settings/library_state.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <utility>

namespace hxq::core {

using platform::Recordset;

namespace {

constexpr const char* kCascadeSource = "CascadeMainCalcLoop";
constexpr int kTooManyParameters = 39;
constexpr int kTooFewParameters = 40;
constexpr std::int16_t kMaxCascadeUnits = 6;
constexpr std::int16_t kMinPlates = 4;
// As the evaporator loop: a two-phase inlet faster than this (m/s) distributes badly
// (docs/engine-records.md); group searches drop it.
constexpr double kTwoPhaseInletPortVelocity = 12.5;
constexpr std::int32_t kOutOfMemory = 7;
constexpr std::int32_t kInternalError = 51;

platform::Error engine_error(int code) {
    const int calc_type = settings::library_state().UserSettings.StartUpCalcType;
    return platform::object_error(code, kCascadeSource, EngineErrorMessage(code, calc_type));
}

bool solution(std::int16_t status) { return status < 0; }

// The duty quantities of which exactly one sizes the cascade: the high stage's
// evaporator load, the low stage's condenser load or its refrigerant flow.
int given_duty_quantities(const CascadeDataType& d) {
    return (d.InDataVap.HeatLoad.Given ? 1 : 0) + (d.InDataCon.HeatLoad.Given ? 1 : 0) +
           (d.InDataCon.MassFlow[1].Given ? 1 : 0);
}

template <class Alternative>
void price(Alternative& a, const PriceType& p) {
    const auto& r = a.OutputData;
    if (!solution(r.Status)) {
        a.Price = kNoSolutionPrice;
        return;
    }
    const float units = static_cast<float>(r.ParallelUnits) * static_cast<float>(r.SerialUnits);
    a.Price = (static_cast<float>(r.NoOfPlates) * p.Plateprice + p.Startprice) * units;
}

// Fixes the engine input of one rating: a design over `units` in parallel, at `plates`
// only when given, with the load handed over from the other circuit when given.
template <class Input>
void set_attempt(Input& in, std::int16_t units, std::int16_t plates, const DutyValue& load) {
    in.CalcMode = std::string(1, 'D');  // not assigned from a literal: GCC 12 warns falsely (-Wrestrict)
    in.ParallelUnits = DutyCount{units, true};
    in.NoOfPlates = plates > 0 ? DutyCount{plates, true} : DutyCount{};
    if (load.Given) in.HeatLoad = load;
}

}  // namespace

// Everything the cascade opens: the single-phase run's tables and the refrigerants'.
struct clsCalculate::CascadeRun : clsCalculate::SPCRun {
    Recordset corr;
    Recordset vring;
};

CONOutDataType clsCalculate::CascadeConNode(CascadeDataType& data, Recordset& tree, CascadeRun& run,
                                            std::int16_t units, std::int16_t plates, const DutyValue& load) {
    CONDataType con;
    con.GivenValues = data.GivenValues;
    con.InData = data.InDataCon;
    con.GivenOutputUnits = data.GivenOutputUnits;
    CON_SetData(con, tree, run.hxq, run.channel, run.stock, run.cost, run.corr);
    set_attempt(con.InData, units, plates, load);
    CONOutDataType alternative;
    ReadDesignation(tree, alternative);
    Condenser().Calculate(con.InData, alternative.OutputData);
    data.GivenValues.Price = con.GivenValues.Price;
    price(alternative, con.GivenValues.Price);
    return alternative;
}

VAPOutDataType clsCalculate::CascadeVapNode(CascadeDataType& data, Recordset& tree, CascadeRun& run,
                                            std::int16_t units, std::int16_t plates, const DutyValue& load) {
    VAPDataType vap;
    vap.GivenValues = data.GivenValues;
    vap.InData = data.InDataVap;
    vap.GivenOutputUnits = data.GivenOutputUnits;
    VAP_SetData(vap, tree, run.hxq, run.channel, run.stock, run.cost, run.corr, run.vring);
    set_attempt(vap.InData, units, plates, load);
    VAPOutDataType alternative;
    ReadDesignation(tree, alternative);
    alternative.VType = vap.InData.VRing;
    Evaporator().Calculate(vap.InData, alternative.OutputData);
    data.GivenValues.Price = vap.GivenValues.Price;
    price(alternative, vap.GivenValues.Price);
    return alternative;
}

std::pair<CONOutDataType, VAPOutDataType> clsCalculate::CascadePair(CascadeDataType& data, Recordset& tree,
                                                                    CascadeRun& run, std::int16_t max_plates) {
    // The circuit whose quantity is given is rated first; its load sizes the other.
    const bool evaporator_first = data.InDataVap.HeatLoad.Given;
    CONOutDataType con;
    VAPOutDataType vap;
    // Both circuits at `plates` (0: each its own fewest): the load passes from the first
    // to the second; true when both fit.
    auto rate_both = [&](std::int16_t units, std::int16_t plates) {
        if (evaporator_first) {
            vap = CascadeVapNode(data, tree, run, units, plates, DutyValue{});
            if (!solution(vap.OutputData.Status)) return false;
            con = CascadeConNode(data, tree, run, units, plates, DutyValue{vap.OutputData.HeatLoad, true});
        } else {
            con = CascadeConNode(data, tree, run, units, plates, DutyValue{});
            if (!solution(con.OutputData.Status)) return false;
            vap = CascadeVapNode(data, tree, run, units, plates, DutyValue{con.OutputData.HeatLoad, true});
        }
        return solution(con.OutputData.Status) && solution(vap.OutputData.Status);
    };
    for (std::int16_t units = 1; units <= kMaxCascadeUnits; ++units) {
        try {
            if (!rate_both(units, 0)) continue;
            // One pack for both: the larger of the two plate counts, more when the
            // re-rated circuits need it.
            auto plates = std::max(con.OutputData.NoOfPlates, vap.OutputData.NoOfPlates);
            if (con.OutputData.NoOfPlates == vap.OutputData.NoOfPlates) return {con, vap};
            for (; plates <= max_plates; plates = static_cast<std::int16_t>(plates + 2))
                if (rate_both(units, plates)) return {con, vap};
        } catch (const platform::Error& e) {
            // This attempt has no solution; the search goes on.
            cascade_error_ = e.with_source(kCascadeSource);
            con.OutputData.Status = 0;
            vap.OutputData.Status = 0;
        }
    }
    // Nothing of up to six units fits: the last attempt tells why.
    return {con, vap};
}

void clsCalculate::CascadeSearch(CascadeDataType& data) {
    const CalculationSources sources = sources_ ? *sources_ : DefaultCalculationSources();
    InputData& given = data.GivenValues;
    const XerTagInfo tag = ParseXerTag(given.XerTag);

    CascadeRun run;
    OpenRun(run, given, sources, Duty::Evaporator);
    run.corr = run.product.OpenRecordset("SELECT * FROM [Channel-Fluid-Factors]");
    run.vring = run.product.OpenRecordset("SELECT * FROM VRing");
    for (auto& slot : data.outdataCon) EmptySlot(slot);
    for (auto& slot : data.outdataVap) EmptySlot(slot);

    Recordset query = run.product.OpenRecordset(
        MainQuery(Duty::Evaporator, given.IsXerGroup, tag.GroupOrNode, sources.UserLevel));
    if (query.BOF() || query.Eof()) return;
    query.MoveLast();
    query.MoveFirst();
    data.InDataCon.WallConductivity = WallConductivity(given.Material, data.InDataCon.WallConductivity);
    data.InDataVap.WallConductivity = WallConductivity(given.Material, data.InDataVap.WallConductivity);
    const long rows = query.RecordCount();

    auto& con_slots = data.outdataCon;
    auto& vap_slots = data.outdataVap;
    while (!query.Eof()) {
        const std::int16_t node = ToInt16(query.Fields("NodeID"));
        const std::int16_t model = ToInt16(query.Fields("ModelID"));
        EvaporatorInput& vin = data.InDataVap;
        if (model != 0 && run.hxq.FindFirst(fmt::format("HXQID = {}", model)) &&
            run.tree.FindFirst(fmt::format("NodeID={}", node)) &&
            FilterCheck("VAP", node, run.filter, given.Filter, vin.ForcedStock, vin.StockPlates, vin.StockCount)) {
            const auto max_plates = std::max(kMinPlates, ToInt16(run.hxq.Fields("MaxPlates")));
            // The filter's warehouse plates hold for the condensing circuit as well.
            data.InDataCon.ForcedStock = vin.ForcedStock;
            data.InDataCon.StockPlates = vin.StockPlates;
            data.InDataCon.StockCount = vin.StockCount;

            auto [con, vap] = CascadePair(data, run.tree, run, max_plates);
            EvaporatorResult& v = vap.OutputData;
            bool ok = solution(con.OutputData.Status) && solution(v.Status);
            if (ok && rows > 1 && v.TwoPhaseInlet && v.PortVelocity[1] > kTwoPhaseInletPortVelocity) ok = false;
            if (rows == 1 && !ok) {
                // Kept, not raised: the evaporator's status first, then the condenser's.
                const std::int16_t status = !solution(v.Status) ? v.Status : con.OutputData.Status;
                cascade_error_ = engine_error(status <= 0 ? kNoSolutionCode : status);
            }
            if (ok) {
                ConvertEngineUnits(con);
                ConvertEngineUnits(vap);
                if (BetterAlternative(vap.Price, v, vap_slots[7].Price, vap_slots[7].OutputData)) {
                    if (run.main_database) {
                        GetXerPhysicsVAP(run.denomination, run.measures, run.tree, run.channel, vap);
                        GetXerPhysicsCON(run.denomination, run.measures, run.tree, run.channel, con);
                    }
                    vap_slots[7] = std::move(vap);
                    con_slots[7] = std::move(con);
                    for (int i = 6; i >= 1; --i) {
                        if (!BetterAlternative(vap_slots[i + 1].Price, vap_slots[i + 1].OutputData, vap_slots[i].Price,
                                               vap_slots[i].OutputData))
                            break;
                        std::swap(vap_slots[i], vap_slots[i + 1]);
                        std::swap(con_slots[i], con_slots[i + 1]);
                    }
                }
            }
        }
        query.MoveNext();
        std::int16_t percent =
            query.Eof() ? std::int16_t{100} : static_cast<std::int16_t>(std::lround(query.PercentPosition()));
        CalcPercent.raise(percent);
    }
}

void clsCalculate::CascadeMainCalcLoop(CascadeDataType& data) {
    const int given = given_duty_quantities(data);
    if (given == 0) throw engine_error(kTooFewParameters);
    if (given > 1) throw engine_error(kTooManyParameters);
    cascade_error_.reset();
    // Whatever goes wrong from here is kept for CascadeError; the records and tables the
    // search opened are closed by the time it is.
    try {
        CascadeSearch(data);
    } catch (const platform::Error& e) {
        cascade_error_ = e.with_source(kCascadeSource);
    } catch (const std::bad_alloc&) {
        cascade_error_ = platform::Error(kOutOfMemory, kCascadeSource, "Out of memory");
    } catch (const std::exception& e) {
        cascade_error_ = platform::Error(kInternalError, kCascadeSource, e.what());
    }
}

}  // namespace hxq::core
