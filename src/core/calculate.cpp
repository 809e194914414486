#include "core/calculate.h"

#include "core/filter_check.h"
#include "core/calculate_run.h"
#include "core/loop_guard.h"
#include "core/model_data.h"
#include "core/price_data.h"
#include "records/engine_error_text.h"
#include "core/xer_physics.h"
#include "engines/single_phase/single_phase_engine.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include <cmath>
#include <exception>
#include <new>
#include <utility>

namespace hxq::core {

using platform::Database;
using platform::Recordset;
using platform::Variant;

namespace {

constexpr const char* kSPCSource = "SPCMainCalcLoop";
// Error numbers of the platform for what is not a database or engine error.
constexpr std::int32_t kOutOfMemory = 7;
constexpr std::int32_t kInternalError = 51;

int calc_type_setting() { return settings::library_state().UserSettings.StartUpCalcType; }

platform::Error engine_error(int code) {
    return platform::object_error(code, kSPCSource, EngineErrorMessage(code, calc_type_setting()));
}

// A result the ranking may use: a solution whose error code is at most a remark.
bool usable(const SinglePhaseResult& r) { return r.Valid && (r.ErrorCode == 0 || r.WarningOnly); }

}  // namespace

void RunMainLoop(const char* source, const std::function<void()>& body) {
    try {
        body();
    } catch (const platform::Error& e) {
        throw e.with_source(source);
    } catch (const std::bad_alloc&) {
        throw platform::Error(kOutOfMemory, source, "Out of memory");
    } catch (const std::exception& e) {
        throw platform::Error(kInternalError, source, e.what());
    }
}

bool BetterAlternative(float price_a, std::int16_t units_a, float price_b, std::int16_t units_b) {
    if (units_a < units_b) return true;
    return units_a == units_b && price_a <= price_b;
}

bool BetterAlternative(float price_a, const SinglePhaseResult& a, float price_b, const SinglePhaseResult& b) {
    return BetterAlternative(price_a, a.ParallelUnits, price_b, b.ParallelUnits);
}

void EmptySlot(OutDataType& slot) {
    slot = OutDataType{};
    slot.OutputData.ParallelUnits = kEmptySlotUnits;
    slot.OutputData.Valid = false;
    slot.Price = kEmptySlotPrice;
    slot.XerAlias.clear();
    slot.Chantype.clear();
    slot.ChanComb.clear();
}

void ConvertEngineUnits(OutDataType& result) {
    SinglePhaseResult& r = result.OutputData;
    for (int s = 1; s <= 2; ++s) {
        r.PortDiameterUp[s] /= 1000.0;  // mm -> m
        r.PortDiameterDown[s] /= 1000.0;
        r.Viscosity[s] /= 1000.0;       // mPa s -> Pa s
        r.WallViscosity[s] /= 1000.0;
    }
    r.FoulingFactor /= 1000.0;  // m² K/kW -> m² K/W
    r.HeatLoad *= 1000.0;       // kW -> W
    // The engine's own flag: it reports one circuit of the pack exactly when it rated the
    // model as dual, so the tree's flag cannot double a load that was never halved.
    if (r.Dual) r.HeatLoad *= 2.0;
}

double WallConductivity(std::int16_t material, double current) {
    switch (material) {
        case 0: return kWallConductivityMaterial0;
        case 1: return kWallConductivityMaterial1;
        default: return current;
    }
}

CalculationSources DefaultCalculationSources() {
    const settings::LibraryState& state = settings::library_state();
    CalculationSources s;
    s.MainProductDB = state.Settings.HXQDB;
    s.StockDB = state.UserSettings.StockDB;
    const std::string app =
        state.host.ExePath.empty() ? platform::application_path().string() : state.host.ExePath;
    s.SelectorDB = settings::GetSettingHXQ("HXQSelector", "Info", "DBPath", platform::join_path(app, "\\ps.dat"));
    s.UserLevel = state.host.UsrLev;
    return s;
}


// The walk's view of the driver: the filter, the rating of one candidate and the
// ranking inside a subtree.
class clsCalculate::SPCRating final : public CandidateRating<OutDataType> {
public:
    SPCRating(clsCalculate& calc, SPCDataType& data, SPCRun& run) : calc_(calc), data_(data), run_(run) {}

    bool PassesFilter(std::int16_t node) override {
        SinglePhaseInput& in = data_.InData;
        return FilterCheck("SPC", node, run_.filter, data_.GivenValues.Filter, in.ForcedStock, in.StockPlates,
                           in.StockCount);
    }

    void Rate(Recordset& tree, OutDataType& alternative) override {
        calc_.RateCandidate(data_, tree, run_, alternative);
    }

    // A solution always beats a failed rating, whatever their unit counts; the failed
    // ones are kept only so that a single candidate can report its engine error.
    bool Better(const OutDataType& candidate, const OutDataType& best) override {
        const bool c = usable(candidate.OutputData);
        const bool b = usable(best.OutputData);
        if (c != b) return c;
        return BetterAlternative(candidate.Price, candidate.OutputData, best.Price, best.OutputData);
    }

private:
    clsCalculate& calc_;
    SPCDataType& data_;
    SPCRun& run_;
};

void clsCalculate::OpenRun(SPCRun& run, const InputData& given, const CalculationSources& sources, Duty duty) {
    run.product = platform::OpenDatabase(given.XerDB);
    run.stock_db = platform::OpenDatabase(sources.StockDB);
    run.tree = run.product.OpenRecordset("SELECT * FROM ModelTree");
    run.hxq = run.product.OpenRecordset("SELECT * FROM HXQ");
    run.channel = run.product.OpenRecordset("SELECT * FROM Channel");
    run.cost = run.product.OpenRecordset("SELECT * FROM Cost");
    run.stock = run.stock_db.OpenRecordset("SELECT * FROM Stock");
    run.main_database = given.XerDB == sources.MainProductDB;
    if (run.main_database) {
        run.selector = platform::OpenDatabase(sources.SelectorDB);
        run.measures = run.selector.OpenRecordset("SELECT * FROM HXQMeas");
        run.denomination = run.product.OpenRecordset("SELECT * FROM Denomination");
        run.filter.Denomination = &run.denomination;
        run.filter.Selector = &run.selector;
    }
    run.walk.duty = duty;
    run.walk.user_level = sources.UserLevel;
}

clsCalculate::clsCalculate() = default;

clsCalculate::clsCalculate(std::unique_ptr<SinglePhaseEngine> engine) : single_phase_(std::move(engine)) {}

clsCalculate::~clsCalculate() = default;

void clsCalculate::SetSinglePhaseEngine(std::unique_ptr<SinglePhaseEngine> engine) {
    single_phase_ = std::move(engine);
}

SinglePhaseEngine& clsCalculate::SinglePhase() {
    if (!single_phase_) single_phase_ = std::make_unique<engines::single_phase::SinglePhaseEngine>();
    return *single_phase_;
}

void clsCalculate::NoOfAlternatives(std::int16_t count) { settings::library_state().derived.NrResults = count; }

void clsCalculate::SPC_SetData(SPCDataType& data, Recordset& recTree, Recordset& recHXQ, Recordset& recChan,
                               Recordset& recStock, Recordset& recPrice) {
    SinglePhaseInput& in = data.InData;
    const Variant method = recTree.Fields("CalcMethod");
    if (!method.is_null()) in.CalcMethod = method.as_text();

    // The input carries the previous candidate's stock levels; a model without a Stock
    // row must not be held to them. With `cew` the filter has just set this model's.
    const bool skip_stock = data.GivenValues.Filter.cew;
    if (!skip_stock) in.StockCount = 0;
    const Variant stock_id = recTree.Fields("StockID");
    const std::int16_t price_id = ToInt16(recTree.Fields("PriceID"));
    GetPriceData(stock_id, price_id, in.StockPlates, in.StockCount, data.GivenValues.Price, recStock, recPrice,
                 skip_stock);

    GetModelDataSPC(recHXQ, data, ToInt16(recTree.Fields("ModelID")));

    // Likewise the channels: a side without a right channel must not keep the one of
    // the model rated before.
    for (int s = 1; s <= 2; ++s) in.Side[s] = SinglePhaseSide{};
    ReadSideData(recTree, recChan, in.Side);
}

bool clsCalculate::DualCheckSPC(const SPCDataType& data, OutDataType& result) {
    if (!data.GivenValues.IsDualCalc || data.InData.Dual) return false;
    SinglePhaseResult& r = result.OutputData;
    const std::int16_t a = r.NoOfChannels[1];
    const std::int16_t b = r.NoOfChannels[2];

    // The pair as one pack: twice the plates with both circuits' flows, rated from the
    // inlets of the alternative in its own arrangement.
    SinglePhaseInput pair = data.InData;
    pair.CalcMode = std::string(1, 'P');  // not assigned from a literal: GCC 12 warns falsely (-Wrestrict)
    pair.HeatLoad.Given = false;
    for (int s = 1; s <= 2; ++s) {
        pair.MassFlow[s] = DutyValue{2.0 * r.MassFlow[s], true};
        pair.InletTemp[s] = DutyValue{r.InletTemp[s], true};
        pair.OutletTemp[s].Given = false;
        pair.MaxPressureDrop[s].Given = false;
        pair.NoOfPasses[s] = DutyCount{r.Passes[s] > 0 ? r.Passes[s] : std::int16_t{1}, true};
        pair.NoOfChannels[s][2].Given = false;
    }
    pair.NoOfChannels[1][1] = DutyCount{static_cast<std::int16_t>(2 * a + 1), true};
    pair.NoOfChannels[2][1] = DutyCount{static_cast<std::int16_t>(2 * b), true};
    pair.NoOfPlates = DutyCount{static_cast<std::int16_t>(2 * r.NoOfPlates), true};
    pair.ParallelUnits = DutyCount{r.ParallelUnits, true};
    pair.ForcedStock = false;

    SinglePhaseResult rerated;
    SinglePhase().Calculate(pair, rerated);
    if (!usable(rerated)) {
        r.Valid = false;
        return false;
    }
    // The load of the pair (engine unit, converted with the rest of the result).
    r.HeatLoad = rerated.HeatLoad;
    r.NoOfPlates = static_cast<std::int16_t>(2 * r.NoOfPlates);
    r.NoOfChannels[2] = static_cast<std::int16_t>(2 * b);
    // The channel types of side 2 follow its count, so that the pair's fluid volume and
    // channel text agree with it; side 1 keeps the channels of one circuit.
    for (int t = 1; t <= 2; ++t) r.Channelout[2][t] = static_cast<std::int16_t>(2 * r.Channelout[2][t]);
    return true;
}

void clsCalculate::RateCandidate(SPCDataType& data, Recordset& tree, SPCRun& run, OutDataType& alternative) {
    SPC_SetData(data, tree, run.hxq, run.channel, run.stock, run.cost);
    SinglePhaseResult& r = alternative.OutputData;
    SinglePhaseInput both;
    SinglePhase().Calculate(RatedInput(data.GivenValues.IsDualCalc, data.InData, both), r);
    bool dual_pair = false;
    if (r.Valid) dual_pair = DualCheckSPC(data, alternative);
    if (!r.Valid) {
        alternative.Price = kNoSolutionPrice;
        return;
    }
    const PriceType& p = data.GivenValues.Price;
    const float plates = static_cast<float>(r.NoOfPlates);
    const float units = static_cast<float>(r.ParallelUnits);
    float unit_price = plates * p.Plateprice + p.Startprice;
    if (!dual_pair && r.NoOfPasses >= 2) unit_price += p.PassPrice;
    alternative.Price = unit_price * units;
}

OutDataType clsCalculate::SPCNodeCalc(SPCDataType& data, std::int16_t node, SPCRun& run) {
    SPCRating rating(*this, data, run);
    std::optional<OutDataType> best = NodeCalc<OutDataType>(run.tree, node, run.walk, calculated_, rating);
    if (best) return std::move(*best);
    return OutDataType{};
}

void clsCalculate::SPCMainCalcLoop(SPCDataType& data) {
    RunMainLoop(kSPCSource, [&] {
        calculated_.Clear();
        const CalculationSources sources = sources_ ? *sources_ : DefaultCalculationSources();
        InputData& given = data.GivenValues;

        // Locals of this block are closed before the error leaves the loop.
        SPCRun run;
        OpenRun(run, given, sources, Duty::SinglePhase);
        run.walk.without_terms = data.InData.CalcMode == "PM";

        for (auto& slot : data.outdata) EmptySlot(slot);

        if (given.IsXerGroup) {
            SinglePhaseResult check;
            SinglePhase().CheckInput(data.InData, check);
            if (check.ErrorCode != 0) throw engine_error(check.ErrorCode);
        }
        Recordset query =
            run.product.OpenRecordset(MainQuery(Duty::SinglePhase, given.IsXerGroup, given.XerID, sources.UserLevel));
        if (query.BOF() || query.Eof()) return;
        query.MoveLast();
        query.MoveFirst();
        data.InData.WallConductivity = WallConductivity(given.Material, data.InData.WallConductivity);
        const long rows = query.RecordCount();

        auto& slots = data.outdata;
        while (!query.Eof()) {
            OutDataType result = SPCNodeCalc(data, ToInt16(query.Fields("NodeID")), run);
            const SinglePhaseResult& r = result.OutputData;
            if (rows == 1 && r.ErrorCode >= 1 && !r.WarningOnly) throw engine_error(r.ErrorCode);
            ConvertEngineUnits(result);
            if (usable(r) && BetterAlternative(result.Price, r, slots[7].Price, slots[7].OutputData)) {
                bool keep = true;
                if (run.main_database)
                    keep = GetXerPhysicsSPC(run.denomination, run.measures, run.tree, run.channel, result);
                if (keep) {
                    slots[7] = std::move(result);
                    RankLastSlot(slots);
                }
            }
            query.MoveNext();
            std::int16_t percent =
                query.Eof() ? std::int16_t{100} : static_cast<std::int16_t>(std::lround(query.PercentPosition()));
            CalcPercent.raise(percent);
        }
        if (!slots[1].OutputData.Valid) throw engine_error(kNoSolutionCode);
        // The two port limits leave the loop divided by 1000 (docs/engine-records.md,
        // "Single-phase driver rescaling"); every candidate presets them again, so no
        // later rating sees the divided values.
        for (int s = 1; s <= 2; ++s) data.InData.PortMassFluxLimit[s] /= 1000.0;
    });
}

}  // namespace hxq::core
