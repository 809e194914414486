// The two-stage main loop of clsCalculate: a single-phase duty (primary on side 1,
// secondary on side 2) rated as one plate pack in two stages. The stages are sized on the
// primary's pressure drop and then rated as a chain that delivers the whole duty; the
// choices are described in docs/two-stage-cascade.md.
#include "core/calculate.h"

#include "core/calculate_run.h"
#include "core/filter_check.h"
#include "core/loop_guard.h"
#include "core/model_data.h"
#include "core/price_data.h"
#include "core/two_stage_sizing.h"
#include "core/xer_physics.h"
#include "core/xer_tag.h"
#include "platform/error.h"
#include "records/engine_error_text.h"
#include "settings/library_state.h"

#include <fmt/format.h>

#include <cmath>
#include <utility>

namespace hxq::core {

using platform::Recordset;

namespace {

constexpr const char* kTwoStageSource = "TwoStageMainCalcLoop";
constexpr double kWithinTarget = 1.05;
// Engine codes this driver reports itself.
constexpr std::int16_t kWrongDirection = 4;
constexpr std::int16_t kUnreasonableLoad = 44;
// The chain of the two stages is closed when the primary flow and the temperature
// between the stages change by less than this from one pass to the next.
constexpr double kChainFlowTolerance = 1e-9;  // relative
constexpr double kChainTempTolerance = 1e-6;  // K
constexpr int kChainPasses = 60;

platform::Error engine_error(int code) {
    const int calc_type = settings::library_state().UserSettings.StartUpCalcType;
    return platform::object_error(code, kTwoStageSource, EngineErrorMessage(code, calc_type));
}

bool usable(const SinglePhaseResult& r) { return r.Valid && (r.ErrorCode == 0 || r.WarningOnly); }
bool hard_error(const SinglePhaseResult& r) { return r.ErrorCode >= 1 && !r.WarningOnly; }

float summed_price(const TwoStageOutDataType& a) { return a.Stage1.Price + a.Stage2.Price; }

void empty_slot(TwoStageOutDataType& slot) {
    slot = TwoStageOutDataType{};
    EmptySlot(slot.Stage1);
    slot.Stage2 = slot.Stage1;
}

// The end states of the whole duty as its design rating found them (engine units).
struct WholeDuty {
    double primary_in = 0;
    double primary_out = 0;
    double primary_flow = 0;
    double secondary_in = 0;
    double secondary_out = 0;
    double secondary_flow = 0;
    double load_w = 0;
};

WholeDuty whole_duty_of(const SinglePhaseResult& r) {
    return {r.InletTemp[1], r.OutletTemp[1], r.MassFlow[1], r.InletTemp[2], r.OutletTemp[2], r.MassFlow[2],
            r.HeatLoad * 1000.0};
}

// A stage is rated in performance, one pass per side, one unit, its channels given.
SinglePhaseInput stage_input(const SinglePhaseInput& whole) {
    SinglePhaseInput s = whole;
    s.CalcMode = std::string(1, 'P');  // not assigned from a literal: GCC 12 warns falsely (-Wrestrict)
    s.HeatLoad.Given = false;
    for (int side = 1; side <= 2; ++side) {
        s.InletTemp[side].Given = false;
        s.OutletTemp[side].Given = false;
        s.MassFlow[side].Given = false;
        s.MaxPressureDrop[side].Given = false;
        s.NoOfPasses[side] = DutyCount{1, true};
    }
    s.ParallelUnits = DutyCount{1, true};
    s.ForcedStock = false;
    return s;
}

// Both inlets and both flows: the stage finds its load and outlets.
void set_flows(SinglePhaseInput& s, double primary_in, double primary_flow, double secondary_in,
               double secondary_flow) {
    s.HeatLoad.Given = false;
    s.InletTemp[1] = DutyValue{primary_in, true};
    s.MassFlow[1] = DutyValue{primary_flow, true};
    s.InletTemp[2] = DutyValue{secondary_in, true};
    s.MassFlow[2] = DutyValue{secondary_flow, true};
}

// Both inlets, the secondary flow and the load: the stage finds the primary flow it needs.
void set_load(SinglePhaseInput& s, double primary_in, double secondary_in, double secondary_flow, double load_w) {
    s.HeatLoad = DutyValue{load_w, true};
    s.InletTemp[1] = DutyValue{primary_in, true};
    s.MassFlow[1].Given = false;
    s.InletTemp[2] = DutyValue{secondary_in, true};
    s.MassFlow[2] = DutyValue{secondary_flow, true};
}

// What the host gave beside the whole duty, in the driver's terms.
struct TwoStageOptions {
    double limit = 0;          // primary pressure-drop limit L1 (Pa), 0 when not given
    double share = 0;          // stage 1's part of the primary drop, 0..1, 0 when not given
    double radiator_flow = 0;  // kg/s mixed into the primary before stage 1
    bool radiator_temp_given = false;
    double radiator_temp = 0;  // °C

    bool by_share() const { return share > 0 && limit > 0; }
    bool by_radiator() const { return radiator_flow > 0 && limit > 0; }
    // Stage 1's primary inlet: the stage-2 outlet, with the radiator return mixed in.
    double stage1_inlet(double primary_flow, double stage2_outlet) const {
        if (!(radiator_flow > 0)) return stage2_outlet;
        const double t = radiator_temp_given ? radiator_temp : stage2_outlet;
        return MixedTemperature(primary_flow, stage2_outlet, radiator_flow, t);
    }
};

TwoStageOptions options_of(const TwoStageType& data) {
    TwoStageOptions o;
    const SinglePhaseInput& in = data.InData;
    if (in.MaxPressureDrop[1].Given) o.limit = in.MaxPressureDrop[1].Value;
    const double percent = data.Primary_dP_Percentage.SngValue;
    if (data.Primary_dP_Percentage.bolSet && percent > 0 && percent < 100) o.share = percent / 100.0;
    if (data.Rad_Flow.bolSet && data.Rad_Flow.SngValue > 0) o.radiator_flow = data.Rad_Flow.SngValue;
    o.radiator_temp_given = data.Rad_Temp.bolSet;
    o.radiator_temp = data.Rad_Temp.SngValue;
    return o;
}

SinglePhaseResult failed(std::int16_t code) {
    SinglePhaseResult r;
    r.ErrorCode = code;
    return r;
}

// The two stages rated as one chain: the primary enters stage 2 at its supply
// temperature, the secondary stage 1 at its inlet; stage 2 takes what stage 1 leaves of
// the whole load and finds the primary flow it needs, which (with the radiator return)
// feeds stage 1. Passes repeat until that flow and the stage-2 outlet settle.
struct Chain {
    SinglePhaseResult stage1;
    SinglePhaseResult stage2;
};

Chain close_chain(SinglePhaseEngine& engine, SinglePhaseInput& s1, SinglePhaseInput& s2, const WholeDuty& w,
                  const TwoStageOptions& o, double stage2_outlet_guess) {
    Chain c;
    double flow = w.primary_flow;
    double outlet = stage2_outlet_guess;
    for (int pass = 0; pass < kChainPasses; ++pass) {
        set_flows(s1, o.stage1_inlet(flow, outlet), flow + o.radiator_flow, w.secondary_in, w.secondary_flow);
        engine.Calculate(s1, c.stage1);
        if (!usable(c.stage1)) return c;
        const double rest = w.load_w - c.stage1.HeatLoad * 1000.0;
        if (!(rest > 0)) {
            // Stage 1 alone covers the duty: stage 2 has nothing to do.
            c.stage2 = failed(kUnreasonableLoad);
            return c;
        }
        set_load(s2, w.primary_in, c.stage1.OutletTemp[2], w.secondary_flow, rest);
        engine.Calculate(s2, c.stage2);
        if (!usable(c.stage2)) return c;
        const double next_flow = c.stage2.MassFlow[1];
        const double next_outlet = c.stage2.OutletTemp[1];
        const bool settled = std::abs(next_flow - flow) <= kChainFlowTolerance * next_flow &&
                             std::abs(next_outlet - outlet) <= kChainTempTolerance;
        flow = next_flow;
        outlet = next_outlet;
        if (settled) return c;
    }
    c.stage2 = failed(kNoSolutionCode);
    return c;
}

SinglePhaseResult rate(SinglePhaseEngine& engine, SinglePhaseInput& s) {
    SinglePhaseResult r;
    engine.Calculate(s, r);
    return r;
}

std::int16_t total_channels(const SinglePhaseResult& r) {
    return static_cast<std::int16_t>(r.NoOfChannels[1] + r.NoOfChannels[2]);
}

}  // namespace

void clsCalculate::TwoStage_SetData(TwoStageType& data, Recordset& recTree, Recordset& recHXQ, Recordset& recChan,
                                    Recordset& recStock, Recordset& recPrice) {
    SinglePhaseInput& in = data.InData;
    const platform::Variant method = recTree.Fields("CalcMethod");
    if (!method.is_null()) in.CalcMethod = method.as_text();
    // As SPC_SetData: no stock levels or channels of the model rated before.
    const bool skip_stock = data.GivenValues.Filter.cew;
    if (!skip_stock) in.StockCount = 0;
    GetPriceData(recTree.Fields("StockID"), ToInt16(recTree.Fields("PriceID")), in.StockPlates, in.StockCount,
                 data.GivenValues.Price, recStock, recPrice, skip_stock);
    GetModelDataTwoStage(recHXQ, data, ToInt16(recTree.Fields("ModelID")));
    for (int s = 1; s <= 2; ++s) in.Side[s] = SinglePhaseSide{};
    ReadSideData(recTree, recChan, in.Side);
}

void clsCalculate::TwoStageRate(TwoStageType& data, Recordset& tree, SPCRun& run, TwoStageOutDataType& result) {
    SinglePhaseEngine& engine = SinglePhase();
    SinglePhaseResult& r1 = result.Stage1.OutputData;
    SinglePhaseResult& r2 = result.Stage2.OutputData;

    // 1. The whole duty in one pack.
    const SinglePhaseResult whole = rate(engine, data.InData);
    if (!usable(whole)) {
        r1 = whole;
        return;
    }
    const WholeDuty w = whole_duty_of(whole);
    if (!(w.primary_in > w.secondary_in)) {
        r1 = failed(kWrongDirection);  // the primary must be the heating side
        return;
    }
    const TwoStageOptions o = options_of(data);
    const std::int16_t max_plates = data.InData.MaxPlates;
    // Sizing states: the stages meet halfway along both fluids.
    const double secondary_mid = 0.5 * (w.secondary_in + w.secondary_out);
    const double primary_mid = 0.5 * (w.primary_in + w.primary_out);

    // 2. Stage 2: the whole pack less one secondary channel, or sized on its share.
    data.Stage2 = stage_input(data.InData);
    set_flows(data.Stage2, w.primary_in, w.primary_flow, secondary_mid, w.secondary_flow);
    SetStageChannels(data.Stage2, whole.NoOfChannels[1], static_cast<std::int16_t>(whole.NoOfChannels[2] - 1));
    r2 = rate(engine, data.Stage2);
    if (o.by_share()) {
        SinglePhaseResult sized = PlateBisection(engine, data.Stage2, 0, (1 - o.share) * o.limit, 4, max_plates);
        if (sized.Valid) r2 = sized;
    }
    if (!usable(r2)) return;
    SetStageChannels(data.Stage2, r2.NoOfChannels[1], r2.NoOfChannels[2]);

    // 3. Stage-1 candidates: every channel type of the model, or the node alone.
    Recordset candidates = tree.Clone();
    const std::string criteria =
        NullToText(tree.Fields("ChannelType")).empty()
            ? fmt::format("NodeID={}", ToInt16(tree.Fields("NodeID")))
            : fmt::format("ModelID={} AND Table='HXQ' AND Instr(Group,'T')>0", ToInt16(tree.Fields("ModelID")));

    // 4. The stage-1 candidate of fewest plates (the stage-2 channel combination on a tie).
    SPCDataType best_stage;
    SinglePhaseResult best;
    best.NoOfPlates = 999;
    for (bool found = candidates.FindFirst(criteria); found; found = candidates.FindNext(criteria)) {
        SPCDataType stage;
        stage.GivenValues = data.GivenValues;
        stage.InData = stage_input(data.InData);
        SPC_SetData(stage, candidates, run.hxq, run.channel, run.stock, run.cost);
        SinglePhaseInput& s1 = stage.InData;
        set_flows(s1, o.stage1_inlet(w.primary_flow, primary_mid), w.primary_flow + o.radiator_flow, w.secondary_in,
                  w.secondary_flow);
        SinglePhaseResult r;
        if (o.by_share() || o.by_radiator()) {
            const double d2 = PrimaryDrop(r2);
            const double target = o.by_share() ? d2 / (1 - o.share) : o.limit;
            const int lo = o.by_share() ? r2.NoOfPlates : whole.NoOfPlates;
            r = PlateBisection(engine, s1, d2, target, lo, stage.InData.MaxPlates);
        } else {
            SetStageChannels(s1, whole.NoOfChannels[1], whole.NoOfChannels[2]);
            r = rate(engine, s1);
        }
        if (!usable(r)) {
            if (!best.Valid) r1 = r;  // kept so that a single model can report it
            continue;
        }
        const bool same_combination =
            NullToText(candidates.Fields("ChannelCombination")) == NullToText(tree.Fields("ChannelCombination"));
        if (r.NoOfPlates < best.NoOfPlates || (r.NoOfPlates == best.NoOfPlates && same_combination)) {
            best = r;
            best_stage = std::move(stage);
            ReadDesignation(candidates, result.Stage1);
        }
    }
    if (!best.Valid) return;
    SinglePhaseInput& s1 = best_stage.InData;
    SetStageChannels(s1, best.NoOfChannels[1], best.NoOfChannels[2]);
    data.Stage1 = s1;

    // 5. With the radiator return but no share: channels move between the stages.
    if (!o.by_share() && o.by_radiator()) {
        SinglePhaseInput t1 = s1;
        SinglePhaseInput t2 = data.Stage2;
        double sum = PrimaryDrop(best) + PrimaryDrop(r2);
        // (a) From stage 1 to stage 2 while the summed drop falls.
        while (best.NoOfChannels[1] > 1 && best.NoOfChannels[2] > 1) {
            SetStageChannels(t1, static_cast<std::int16_t>(best.NoOfChannels[1] - 1),
                             static_cast<std::int16_t>(best.NoOfChannels[2] - 1));
            SetStageChannels(t2, static_cast<std::int16_t>(r2.NoOfChannels[1] + 1),
                             static_cast<std::int16_t>(r2.NoOfChannels[2] + 1));
            const SinglePhaseResult a = rate(engine, t1);
            const SinglePhaseResult b = rate(engine, t2);
            if (!usable(a) || !usable(b) || !(PrimaryDrop(a) + PrimaryDrop(b) < sum)) break;
            best = a;
            r2 = b;
            sum = PrimaryDrop(a) + PrimaryDrop(b);
        }
        // (b) Stage 1 smaller while the pair keeps within the limit and stage 1 keeps the
        // channels of the whole pack.
        const int floor = total_channels(whole) - 1;
        for (;;) {
            const auto n1 = static_cast<std::int16_t>(best.NoOfChannels[1] - 1);
            const auto n2 = static_cast<std::int16_t>(best.NoOfChannels[2] - 1);
            if (n1 < 1 || n1 + n2 <= floor) break;
            SetStageChannels(t1, n1, n2);
            const SinglePhaseResult a = rate(engine, t1);
            if (!usable(a) || PrimaryDrop(a) + PrimaryDrop(r2) > kWithinTarget * o.limit) break;
            best = a;
        }
        SetStageChannels(s1, best.NoOfChannels[1], best.NoOfChannels[2]);
        SetStageChannels(data.Stage2, r2.NoOfChannels[1], r2.NoOfChannels[2]);
    }

    // 6. The chosen pair rated as one chain on the whole load.
    const Chain chain = close_chain(engine, s1, data.Stage2, w, o, primary_mid);
    data.Stage1 = s1;
    r1 = chain.stage1;
    r2 = chain.stage2;
}

class clsCalculate::TwoStageRating final : public CandidateRating<TwoStageOutDataType> {
public:
    TwoStageRating(clsCalculate& calc, TwoStageType& data, SPCRun& run) : calc_(calc), data_(data), run_(run) {}

    bool PassesFilter(std::int16_t node) override {
        SinglePhaseInput& in = data_.InData;
        return FilterCheck("SPC", node, run_.filter, data_.GivenValues.Filter, in.ForcedStock, in.StockPlates,
                           in.StockCount);
    }

    void Rate(Recordset& tree, TwoStageOutDataType& alternative) override {
        calc_.TwoStage_SetData(data_, tree, run_.hxq, run_.channel, run_.stock, run_.cost);
        calc_.TwoStageRate(data_, tree, run_, alternative);
        const SinglePhaseResult& a = alternative.Stage1.OutputData;
        const SinglePhaseResult& b = alternative.Stage2.OutputData;
        if (!usable(a) || !usable(b)) {
            alternative.Stage1.Price = kNoSolutionPrice;
            return;
        }
        // One frame, one set of connections: start and pass price once, in stage 1.
        const PriceType& p = data_.GivenValues.Price;
        alternative.Stage1.Price =
            (static_cast<float>(a.NoOfPlates) * p.Plateprice + p.Startprice + p.PassPrice) *
            static_cast<float>(a.ParallelUnits);
        alternative.Stage2.Price =
            static_cast<float>(b.NoOfPlates) * p.Plateprice * static_cast<float>(b.ParallelUnits);
    }

    bool Better(const TwoStageOutDataType& candidate, const TwoStageOutDataType& best) override {
        const bool c = candidate.Stage1.Price < kNoSolutionPrice;
        const bool b = best.Stage1.Price < kNoSolutionPrice;
        if (c != b) return c;
        return BetterAlternative(summed_price(candidate), 1, summed_price(best), 1);
    }

private:
    clsCalculate& calc_;
    TwoStageType& data_;
    SPCRun& run_;
};

void clsCalculate::TwoStageMainCalcLoop(TwoStageType& data) {
    RunMainLoop(kTwoStageSource, [&] {
        calculated_.Clear();
        const CalculationSources sources = sources_ ? *sources_ : DefaultCalculationSources();
        InputData& given = data.GivenValues;
        const XerTagInfo tag = ParseXerTag(given.XerTag);

        SPCRun run;
        OpenRun(run, given, sources, Duty::TwoStage);
        for (auto& slot : data.outdata) empty_slot(slot);

        if (given.IsXerGroup) {
            SinglePhaseResult check;
            SinglePhase().CheckInput(data.InData, check);
            if (check.ErrorCode != 0) throw engine_error(check.ErrorCode);
        }
        Recordset query =
            run.product.OpenRecordset(MainQuery(Duty::TwoStage, given.IsXerGroup, tag.GroupOrNode, sources.UserLevel));
        if (query.BOF() || query.Eof()) return;
        query.MoveLast();
        query.MoveFirst();
        data.InData.WallConductivity = WallConductivity(given.Material, data.InData.WallConductivity);
        const long rows = query.RecordCount();

        auto& slots = data.outdata;
        TwoStageRating rating(*this, data, run);
        while (!query.Eof()) {
            std::optional<TwoStageOutDataType> best =
                NodeCalc<TwoStageOutDataType>(run.tree, ToInt16(query.Fields("NodeID")), run.walk, calculated_, rating);
            TwoStageOutDataType result = best ? std::move(*best) : TwoStageOutDataType{};
            const SinglePhaseResult& a = result.Stage1.OutputData;
            const SinglePhaseResult& b = result.Stage2.OutputData;
            if (rows == 1) {
                if (hard_error(a)) throw engine_error(a.ErrorCode);
                if (hard_error(b)) throw engine_error(b.ErrorCode);
            }
            // A stage-1 error drops the pair; a stage-2 error only with stage 2 invalid.
            const bool dropped = hard_error(a) || !a.Valid || !b.Valid;
            if (!dropped) {
                ConvertEngineUnits(result.Stage1);
                ConvertEngineUnits(result.Stage2);
                result.heatLoad = static_cast<float>((a.HeatLoad + b.HeatLoad) / 1000.0);  // W -> kW
                if (BetterAlternative(summed_price(result), 1, summed_price(slots[7]), 1)) {
                    if (run.main_database)
                        GetXerPhysicsTwoStage(run.denomination, run.measures, run.tree, run.channel, result);
                    slots[7] = std::move(result);
                    for (int i = 6; i >= 1; --i) {
                        if (!BetterAlternative(summed_price(slots[i + 1]), 1, summed_price(slots[i]), 1)) break;
                        std::swap(slots[i], slots[i + 1]);
                    }
                }
            }
            query.MoveNext();
            std::int16_t percent =
                query.Eof() ? std::int16_t{100} : static_cast<std::int16_t>(std::lround(query.PercentPosition()));
            CalcPercent.raise(percent);
        }
        if (!slots[1].Stage1.OutputData.Valid) throw engine_error(kNoSolutionCode);
        // As the single-phase loop: the port limits preset for every candidate leave
        // divided by 1000 (docs/engine-records.md).
        for (int s = 1; s <= 2; ++s) data.InData.PortMassFluxLimit[s] /= 1000.0;
    });
}

}  // namespace hxq::core

namespace hxq::core {

namespace {
IsacSplitDepth& isac() {
    static IsacSplitDepth value;
    return value;
}
}  // namespace

const IsacSplitDepth& IsacSettings() { return isac(); }

// Whatever it is given, the host switches the setting on.
void clsCalculate::Use_ISAC_SplitDepth(bool /*value*/) { isac().Use = true; }
void clsCalculate::ISACSplit(std::int16_t value) { isac().Split = value; }
void clsCalculate::ISACDepth(std::int16_t value) { isac().Depth = value; }

}  // namespace hxq::core
