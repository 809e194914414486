// The condenser and evaporator main loops of clsCalculate: the single-phase loop's walk,
// ranking and clean-up with the two-phase engines, their status convention and prices by
// units in parallel times units in series.
#include "core/calculate.h"

#include "core/calculate_run.h"
#include "core/filter_check.h"
#include "core/loop_guard.h"
#include "core/model_data.h"
#include "core/price_data.h"
#include "core/xer_physics.h"
#include "core/xer_tag.h"
#include "engines/condenser/condenser_engine.h"
#include "engines/evaporator/evaporator_engine.h"
#include "platform/error.h"
#include "records/engine_error_text.h"
#include "settings/library_state.h"

#include <cmath>
#include <type_traits>
#include <utility>

namespace hxq::core {

using platform::Database;
using platform::Recordset;

namespace {

// CheckInput's code that ends a whole run: the duty gives more than a rating can take.
constexpr int kTooManyParameters = 42;
// An evaporator entering two-phase faster than this in its inlet port (m/s) distributes
// badly; group searches drop it (docs/engine-records.md).
constexpr double kTwoPhaseInletPortVelocity = 12.5;

template <class Kind>
constexpr bool kIsCondenser = std::is_same_v<Kind, CONDataType>;

template <class Kind>
const char* source_of() {
    return kIsCondenser<Kind> ? "CONMainCalcLoop" : "VAPMainCalcLoop";
}

template <class Kind>
platform::Error engine_error(int code) {
    const int calc_type = settings::library_state().UserSettings.StartUpCalcType;
    return platform::object_error(code, source_of<Kind>(), EngineErrorMessage(code, calc_type));
}

bool solution(std::int16_t status) { return status < 0; }

template <class Slot>
void empty_slot(Slot& slot) {
    slot = Slot{};
    slot.OutputData.ParallelUnits = kEmptySlotUnits;
    slot.Price = kEmptySlotPrice;
}

// Nine members of both results to SI, the latent heat to J/kg.
template <class Result>
void convert_common(Result& r) {
    for (int s = 1; s <= 2; ++s) {
        r.PortDiameterUp[s] /= 1000.0;  // mm -> m
        r.PortDiameterDown[s] /= 1000.0;
    }
    r.RefLiquid.Viscosity /= 1000.0;  // mPa s -> Pa s
    r.RefVapor.Viscosity /= 1000.0;
    r.Side2.Viscosity /= 1000.0;
    r.Side2.WallViscosity /= 1000.0;
    r.FoulingFactor /= 1000.0;  // m² K/kW -> m² K/W
    r.LatentHeat *= 1000.0;     // kJ/kg -> J/kg
}

}  // namespace

void EmptySlot(CONOutDataType& slot) { empty_slot(slot); }
void EmptySlot(VAPOutDataType& slot) { empty_slot(slot); }

bool BetterAlternative(float price_a, const CondenserResult& a, float price_b, const CondenserResult& b) {
    return BetterAlternative(price_a, a.ParallelUnits, price_b, b.ParallelUnits);
}
bool BetterAlternative(float price_a, const EvaporatorResult& a, float price_b, const EvaporatorResult& b) {
    return BetterAlternative(price_a, a.ParallelUnits, price_b, b.ParallelUnits);
}

void ConvertEngineUnits(CONOutDataType& result) { convert_common(result.OutputData); }
void ConvertEngineUnits(VAPOutDataType& result) {
    EvaporatorResult& r = result.OutputData;
    convert_common(r);
    r.Dorifice /= 1000.0;  // mm -> m
    r.DiameterIN /= 1000.0;
}

void clsCalculate::SetCondenserEngine(std::unique_ptr<CondenserEngine> engine) { condenser_ = std::move(engine); }
void clsCalculate::SetEvaporatorEngine(std::unique_ptr<EvaporatorEngine> engine) {
    evaporator_ = std::move(engine);
}
CondenserEngine& clsCalculate::Condenser() {
    if (!condenser_) condenser_ = std::make_unique<engines::condenser::CondenserEngine>();
    return *condenser_;
}
EvaporatorEngine& clsCalculate::Evaporator() {
    if (!evaporator_) evaporator_ = std::make_unique<engines::evaporator::EvaporatorEngine>();
    return *evaporator_;
}

namespace {

// Steps 1, 2, 4 and 5 of both SetData operations; the evaporator adds its V-ring between.
template <class Data>
void set_two_phase_data(Data& data, Recordset& tree, Recordset& hxq, Recordset& chan, Recordset& stock,
                        Recordset& price, Recordset& corr, Recordset* vring) {
    auto& in = data.InData;
    const std::int16_t model = ToInt16(tree.Fields("ModelID"));
    if constexpr (kIsCondenser<Data>) GetModelDataCON(hxq, data, model);
    else GetModelDataVAP(hxq, data, model);

    const bool skip_stock = data.GivenValues.Filter.cew;
    if (!skip_stock) in.StockCount = 0;
    GetPriceData(tree.Fields("StockID"), ToInt16(tree.Fields("PriceID")), in.StockPlates, in.StockCount,
                 data.GivenValues.Price, stock, price, skip_stock);
    if constexpr (!kIsCondenser<Data>) {
        if (in.VRing) GetVRingData(in, *vring);
    }
    // A side without a channel row must not keep the one of the model rated before.
    for (int s = 1; s <= 2; ++s) in.SideData[s] = TwoPhaseSide{};
    if constexpr (kIsCondenser<Data>) ReadSideDataCON(tree, chan, in.SideData);
    else ReadSideDataVAP(tree, chan, in.SideData);

    const std::int32_t fluid = in.Refrigerant ? in.Refrigerant->GetFluidID() : 0;
    const std::int32_t channel = in.SideData[1].Channel.ChannelID;
    CorrFactors f;
    if constexpr (kIsCondenser<Data>) f = GetCorrFactorsCON(channel, fluid, corr, in.CounterCurrent);
    else f = GetCorrFactorsVAP(channel, fluid, corr, in.VRing, in.CounterCurrent);
    in.cNuCorr = f.cNuCorr;
    in.xNuCorr = f.xNuCorr;
    in.cNuNoPCorr = f.cNuNoPCorr;
    in.cNuNoPRef = f.cNuNoPRef;
    in.cNuMaxNoP = f.cNuMaxNoP;
}

}  // namespace

void clsCalculate::CON_SetData(CONDataType& data, Recordset& recTree, Recordset& recHXQ, Recordset& recChan,
                               Recordset& recStock, Recordset& recPrice, Recordset& recCorr) {
    set_two_phase_data(data, recTree, recHXQ, recChan, recStock, recPrice, recCorr, nullptr);
}

void clsCalculate::VAP_SetData(VAPDataType& data, Recordset& recTree, Recordset& recHXQ, Recordset& recChan,
                               Recordset& recStock, Recordset& recPrice, Recordset& recCorr, Recordset& recVRing) {
    set_two_phase_data(data, recTree, recHXQ, recChan, recStock, recPrice, recCorr, &recVRing);
}

namespace {

template <class Data, class Engine, class Result>
bool dual_check(const Data& data, Engine& engine, Result& r) {
    if (!data.GivenValues.IsDualCalc || data.InData.Dual) return true;
    // The two circuits in one pack: twice the plates carrying twice the load, the
    // secondary entering as it does; the rating finds the secondary flow of the pair.
    auto pair = data.InData;
    pair.CalcMode = std::string(1, 'P');
    pair.NoOfPlates = DutyCount{static_cast<std::int16_t>(2 * r.NoOfPlates), true};
    pair.HeatLoad = DutyValue{2.0 * r.HeatLoad, true};
    pair.InletTemp[2] = DutyValue{r.InletTemp[2], true};
    pair.OutletTemp[2].Given = false;
    pair.MassFlow[1].Given = false;
    pair.MassFlow[2].Given = false;
    pair.ParallelUnits = DutyCount{r.ParallelUnits, true};
    pair.SerialUnits = DutyCount{r.SerialUnits, true};
    pair.ForcedStock = false;
    Result rerated;
    engine.Calculate(pair, rerated);
    if (!solution(rerated.Status)) {
        r.Status = rerated.Status;
        return false;
    }
    r.MassFlow[2] = rerated.MassFlow[2];
    r.NoOfPlates = static_cast<std::int16_t>(2 * r.NoOfPlates);
    return true;
}

}  // namespace

bool clsCalculate::DualCheckCON(const CONDataType& data, CONOutDataType& result) {
    return dual_check(data, Condenser(), result.OutputData);
}
bool clsCalculate::DualCheckVAP(const VAPDataType& data, VAPOutDataType& result) {
    return dual_check(data, Evaporator(), result.OutputData);
}

// Everything one condenser or evaporator loop opens: the single-phase run's tables and
// the refrigerant's. Closed in reverse order, these first.
struct clsCalculate::TwoPhaseRun : clsCalculate::SPCRun {
    Recordset corr;
    Recordset vring;
};

template <class Kind>
class TwoPhaseRating final : public CandidateRating<std::decay_t<decltype(Kind{}.outdata[1])>> {
public:
    using Alternative = std::decay_t<decltype(Kind{}.outdata[1])>;
    TwoPhaseRating(clsCalculate& calc, Kind& data, clsCalculate::TwoPhaseRun& run)
        : calc_(calc), data_(data), run_(run) {}

    bool PassesFilter(std::int16_t node) override {
        auto& in = data_.InData;
        return FilterCheck(kIsCondenser<Kind> ? "CON" : "VAP", node, run_.filter, data_.GivenValues.Filter,
                           in.ForcedStock, in.StockPlates, in.StockCount);
    }
    void Rate(Recordset& tree, Alternative& alternative) override {
        calc_.RateTwoPhase(data_, tree, run_, alternative);
    }
    bool Better(const Alternative& candidate, const Alternative& best) override {
        const bool c = solution(candidate.OutputData.Status);
        const bool b = solution(best.OutputData.Status);
        if (c != b) return c;
        return BetterAlternative(candidate.Price, candidate.OutputData, best.Price, best.OutputData);
    }

private:
    clsCalculate& calc_;
    Kind& data_;
    clsCalculate::TwoPhaseRun& run_;
};

template <class Kind, class Alternative>
void clsCalculate::RateTwoPhase(Kind& data, Recordset& tree, TwoPhaseRun& run, Alternative& alternative) {
    std::int16_t code = 0;
    auto& r = alternative.OutputData;
    if constexpr (kIsCondenser<Kind>) {
        CON_SetData(data, run.tree, run.hxq, run.channel, run.stock, run.cost, run.corr);
        Condenser().CheckInput(data.InData, code);
        if (code == kTooManyParameters) throw engine_error<Kind>(code);
        CondenserInput both;
        Condenser().Calculate(RatedInput(data.GivenValues.IsDualCalc, data.InData, both), r);
        if (solution(r.Status)) DualCheckCON(data, alternative);
    } else {
        VAP_SetData(data, run.tree, run.hxq, run.channel, run.stock, run.cost, run.corr, run.vring);
        Evaporator().CheckInput(data.InData, code);
        if (code == kTooManyParameters) throw engine_error<Kind>(code);
        EvaporatorInput both;
        Evaporator().Calculate(RatedInput(data.GivenValues.IsDualCalc, data.InData, both), r);
        alternative.VType = data.InData.VRing;
        if (solution(r.Status)) DualCheckVAP(data, alternative);
    }
    (void)tree;
    if (!solution(r.Status)) {
        alternative.Price = kNoSolutionPrice;
        return;
    }
    const PriceType& p = data.GivenValues.Price;
    const float units = static_cast<float>(r.ParallelUnits) * static_cast<float>(r.SerialUnits);
    alternative.Price = (static_cast<float>(r.NoOfPlates) * p.Plateprice + p.Startprice) * units;
}

template <class Kind>
void clsCalculate::TwoPhaseMainCalcLoop(Kind& data) {
    using Alternative = typename TwoPhaseRating<Kind>::Alternative;
    calculated_.Clear();
    const CalculationSources sources = sources_ ? *sources_ : DefaultCalculationSources();
    InputData& given = data.GivenValues;
    const XerTagInfo tag = ParseXerTag(given.XerTag);

    TwoPhaseRun run;
    const Duty duty = kIsCondenser<Kind> ? Duty::Condenser : Duty::Evaporator;
    OpenRun(run, given, sources, duty);
    run.corr = run.product.OpenRecordset("SELECT * FROM [Channel-Fluid-Factors]");
    if constexpr (!kIsCondenser<Kind>) run.vring = run.product.OpenRecordset("SELECT * FROM VRing");

    for (auto& slot : data.outdata) EmptySlot(slot);
    Recordset query = run.product.OpenRecordset(MainQuery(duty, given.IsXerGroup, tag.GroupOrNode, sources.UserLevel));
    if (query.BOF() || query.Eof()) return;
    query.MoveLast();
    query.MoveFirst();
    data.InData.WallConductivity = WallConductivity(given.Material, data.InData.WallConductivity);
    const long rows = query.RecordCount();

    auto& slots = data.outdata;
    TwoPhaseRating<Kind> rating(*this, data, run);
    while (!query.Eof()) {
        std::optional<Alternative> best =
            NodeCalc<Alternative>(run.tree, ToInt16(query.Fields("NodeID")), run.walk, calculated_, rating);
        Alternative result = best ? std::move(*best) : Alternative{};
        auto& r = result.OutputData;
        if (rows == 1 && !solution(r.Status)) throw engine_error<Kind>(r.Status == 0 ? kNoSolutionCode : r.Status);
        if constexpr (!kIsCondenser<Kind>) {
            if (rows > 1 && solution(r.Status) && r.TwoPhaseInlet && r.PortVelocity[1] > kTwoPhaseInletPortVelocity)
                r.Status = kNoSolutionCode;
        }
        if (solution(r.Status)) {
            ConvertEngineUnits(result);
            if (BetterAlternative(result.Price, r, slots[7].Price, slots[7].OutputData)) {
                if (run.main_database) {
                    if constexpr (kIsCondenser<Kind>)
                        GetXerPhysicsCON(run.denomination, run.measures, run.tree, run.channel, result);
                    else
                        GetXerPhysicsVAP(run.denomination, run.measures, run.tree, run.channel, result);
                }
                slots[7] = std::move(result);
                RankLastSlot(slots);
            }
        }
        query.MoveNext();
        std::int16_t percent =
            query.Eof() ? std::int16_t{100} : static_cast<std::int16_t>(std::lround(query.PercentPosition()));
        CalcPercent.raise(percent);
    }
    if (slots[1].Price == kEmptySlotPrice) throw engine_error<Kind>(kNoSolutionCode);
    // The engines take their inputs in SI: no input member is rescaled after the loop
    // (docs/engine-records.md, "Driver rescaling after rating").
}

void clsCalculate::CONMainCalcLoop(CONDataType& data) {
    RunMainLoop(source_of<CONDataType>(), [&] { TwoPhaseMainCalcLoop(data); });
}

void clsCalculate::VAPMainCalcLoop(VAPDataType& data) {
    RunMainLoop(source_of<VAPDataType>(), [&] { TwoPhaseMainCalcLoop(data); });
}

}  // namespace hxq::core
