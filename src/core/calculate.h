// clsCalculate: rates a duty over the product range. The single-phase side walks the
// candidates of one model or of a model group, rates each with the single-phase engine,
// prices it and keeps the best seven alternatives in the calculation record.
#pragma once

#include "core/model_tree.h"
#include "records/calc_records.h"
#include "records/engine_contracts.h"
#include "platform/db.h"
#include "platform/error.h"
#include "platform/event.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace hxq::core {

// Values of an empty alternatives slot.
inline constexpr std::int16_t kEmptySlotUnits = 99;
inline constexpr float kEmptySlotPrice = 1e10f;
// Price of an alternative that has no solution.
inline constexpr float kNoSolutionPrice = 1e10f;
// Engine code of "No solution found !", also raised by the driver itself.
inline constexpr int kNoSolutionCode = 15;

// Plate wall conductivity (W/(m K)) of the plate materials the product range is built
// of: AISI 316 stainless steel (Material 0) and the higher-alloyed grade (Material 1).
inline constexpr double kWallConductivityMaterial0 = 16.3;
inline constexpr double kWallConductivityMaterial1 = 22.5;

// The ranking of every alternatives list: A goes before B when it needs fewer units,
// or as many units at a price not above B's, so that of two equal alternatives the one
// offered later stands first.
bool BetterAlternative(float price_a, std::int16_t units_a, float price_b, std::int16_t units_b);
bool BetterAlternative(float price_a, const SinglePhaseResult& a, float price_b, const SinglePhaseResult& b);

// An empty single-phase slot: 99 units, price 1e10, no designation, not valid.
void EmptySlot(OutDataType& slot);

// The engine's trade units to SI (mm, mPa s, m² K/kW, kW), the load doubled for a dual
// model, whose engine rating covers one of its two circuits.
void ConvertEngineUnits(OutDataType& result);

// Empty condenser and evaporator slots: 99 units in parallel, price 1e10, no
// designation, status 0.
void EmptySlot(CONOutDataType& slot);
void EmptySlot(VAPOutDataType& slot);
// The ranking of the condenser and evaporator lists: by units in parallel, then price.
bool BetterAlternative(float price_a, const CondenserResult& a, float price_b, const CondenserResult& b);
bool BetterAlternative(float price_a, const EvaporatorResult& a, float price_b, const EvaporatorResult& b);
// The engines' trade units to SI: nine members divided by 1000 and the latent heat
// multiplied (evaporator: eleven divided), docs/engine-records.md.
void ConvertEngineUnits(CONOutDataType& result);
void ConvertEngineUnits(VAPOutDataType& result);

// Moves the alternative of slot 7 up the list while it ranks before the one above.
template <class Slots>
void RankLastSlot(Slots& slots) {
    for (int i = 6; i >= 1; --i) {
        if (!BetterAlternative(slots[i + 1].Price, slots[i + 1].OutputData, slots[i].Price, slots[i].OutputData))
            break;
        std::swap(slots[i], slots[i + 1]);
    }
}

// The plate wall conductivity of `material`, or `current` for a material not known.
double WallConductivity(std::int16_t material, double current);

// The host's split and depth of two-stage units (clsCalculate::ISACSplit and friends),
// library-wide; kept for the host, not read by any calculation.
struct IsacSplitDepth {
    bool Use = false;
    std::int16_t Split = 0;
    std::int16_t Depth = 0;
};
const IsacSplitDepth& IsacSettings();

// Where a calculation finds its databases and who runs it: by default read from the
// library state (settings "HXQnew", "DBStock", the selector path and the user level).
struct CalculationSources {
    std::string MainProductDB;  // the main product database (physical data, filter)
    std::string StockDB;
    std::string SelectorDB;
    std::string UserLevel;
};
CalculationSources DefaultCalculationSources();

class clsCalculate {
public:
    // The single-phase engine is created on first use.
    clsCalculate();
    // A calculation with its own engine (a scripted one in tests, an instrumented one in
    // benchmarks).
    explicit clsCalculate(std::unique_ptr<SinglePhaseEngine> engine);
    ~clsCalculate();
    clsCalculate(const clsCalculate&) = delete;
    clsCalculate& operator=(const clsCalculate&) = delete;

    void SetSinglePhaseEngine(std::unique_ptr<SinglePhaseEngine> engine);
    SinglePhaseEngine& SinglePhase();
    void SetCondenserEngine(std::unique_ptr<CondenserEngine> engine);
    CondenserEngine& Condenser();
    void SetEvaporatorEngine(std::unique_ptr<EvaporatorEngine> engine);
    EvaporatorEngine& Evaporator();

    // Fills the engine input of `data` from the model-tree row `recTree` stands on:
    // calculation method, prices and stock levels, model data, channels and ports.
    void SPC_SetData(SPCDataType& data, platform::Recordset& recTree, platform::Recordset& recHXQ,
                     platform::Recordset& recChan, platform::Recordset& recStock, platform::Recordset& recPrice);

    // Rates the model or group of `data.GivenValues` and fills `data.outdata` 1..7.
    // Errors reach the caller with source "SPCMainCalcLoop"; every database and
    // recordset the loop opened is closed by then.
    void SPCMainCalcLoop(SPCDataType& data);

    // Fills the evaporator input of `data` from the model-tree row `recTree` stands on:
    // model data, prices and stock, the V-ring, channels and ports, the channel-fluid
    // factors of the refrigerant.
    void VAP_SetData(VAPDataType& data, platform::Recordset& recTree, platform::Recordset& recHXQ,
                     platform::Recordset& recChan, platform::Recordset& recStock, platform::Recordset& recPrice,
                     platform::Recordset& recCorr, platform::Recordset& recVRing);

    // Condenser and evaporator duties over the model or group of XerTag item 15; errors
    // with source "CONMainCalcLoop" / "VAPMainCalcLoop".
    void CONMainCalcLoop(CONDataType& data);
    void VAPMainCalcLoop(VAPDataType& data);

    // Fills the whole-duty input of `data` from the model-tree row `recTree` stands on,
    // as SPC_SetData does for a single-phase duty.
    void TwoStage_SetData(TwoStageType& data, platform::Recordset& recTree, platform::Recordset& recHXQ,
                          platform::Recordset& recChan, platform::Recordset& recStock, platform::Recordset& recPrice);
    // A single-phase duty in two stages of one unit over the model or group of XerTag
    // item 15 (docs/two-stage-cascade.md); errors with source "TwoStageMainCalcLoop".
    void TwoStageMainCalcLoop(TwoStageType& data);
    // One unit that condenses the circuit of InDataCon and evaporates that of InDataVap.
    // Only the parameter-count errors (39, 40) reach the caller; any other error ends
    // the candidate or the run quietly and is kept for CascadeError.
    void CascadeMainCalcLoop(CascadeDataType& data);
    // The error the last cascade run ended a candidate or itself with; cleared by the
    // next run.
    const std::optional<platform::Error>& CascadeError() const { return cascade_error_; }

    // The host's split-and-depth settings of two-stage units, kept library-wide. The
    // calculations take the split and depth of the HXQ table instead.
    void Use_ISAC_SplitDepth(bool value);
    void ISACSplit(std::int16_t value);
    void ISACDepth(std::int16_t value);

    // The number of alternatives the host wants shown (clsOption::NoOfAlternatives);
    // the list is filled to seven whatever it is.
    void NoOfAlternatives(std::int16_t count);

    // True when the ModelTree position was rated in the current run.
    bool IsCalculated(long position) const { return calculated_.IsCalculated(position); }

    // Paths and user level used by the next main loop; default: the library state.
    void SetSources(CalculationSources sources) { sources_ = std::move(sources); }
    void ResetSources() { sources_.reset(); }

    // Progress of the current main loop, 0-100, after every row of its query.
    platform::Event<std::int16_t> CalcPercent;

private:
    struct SPCRun;
    class SPCRating;

    OutDataType SPCNodeCalc(SPCDataType& data, std::int16_t node, SPCRun& run);
    // A dual calculation builds a model that is not dual as a pair of the designed unit
    // in one pack: side 1 of 2a + 1 channels, side 2 of 2b (a, b the unit's channels),
    // twice the plates, both flows doubled, rated in mode "P" from the unit's inlets
    // with its passes and units. A valid rating gives the alternative the pair's load,
    // twice the plates and 2b side-2 channels (true); otherwise the alternative is no
    // longer valid (false). Nothing happens for a dual model or a single calculation.
    bool DualCheckSPC(const SPCDataType& data, OutDataType& result);
    void RateCandidate(SPCDataType& data, platform::Recordset& tree, SPCRun& run, OutDataType& alternative);

    struct TwoPhaseRun;
    // Opens the product, stock and (for the main product database) selector tables of a run.
    static void OpenRun(SPCRun& run, const InputData& given, const CalculationSources& sources, Duty duty);
    template <class Kind>
    friend class TwoPhaseRating;
    template <class Kind>
    void TwoPhaseMainCalcLoop(Kind& data);
    template <class Kind, class Alternative>
    void RateTwoPhase(Kind& data, platform::Recordset& tree, TwoPhaseRun& run, Alternative& alternative);

    void CON_SetData(CONDataType& data, platform::Recordset& recTree, platform::Recordset& recHXQ,
                     platform::Recordset& recChan, platform::Recordset& recStock, platform::Recordset& recPrice,
                     platform::Recordset& recCorr);
    // A dual calculation on a model that is not dual: the two circuits in one pack of
    // twice the plates. Rated in mode "P" with the doubled load and the plates given
    // (the secondary from its inlet): valid, the alternative takes the pair's secondary
    // flow and doubles its plates (true); otherwise its status becomes the pair's.
    bool DualCheckCON(const CONDataType& data, CONOutDataType& result);
    bool DualCheckVAP(const VAPDataType& data, VAPOutDataType& result);

    class TwoStageRating;
    // Rates the model row `tree` stands on in two stages: the whole duty, stage 2 from
    // its channels, stage 1 over the channel types of the model, the pair closed on the
    // whole duty's load.
    void TwoStageRate(TwoStageType& data, platform::Recordset& tree, SPCRun& run, TwoStageOutDataType& result);

    struct CascadeRun;
    // The pack of the row `tree` stands on as the condenser or the evaporator of the
    // cascade: k units in parallel, `plates` plates when not 0, the load when given.
    CONOutDataType CascadeConNode(CascadeDataType& data, platform::Recordset& tree, CascadeRun& run,
                                  std::int16_t units, std::int16_t plates, const DutyValue& load);
    VAPOutDataType CascadeVapNode(CascadeDataType& data, platform::Recordset& tree, CascadeRun& run,
                                  std::int16_t units, std::int16_t plates, const DutyValue& load);
    // Both circuits in one pack of the row `tree` stands on, the first k of 1..6 units in
    // parallel that fits; the condenser and evaporator results of the last attempt.
    std::pair<CONOutDataType, VAPOutDataType> CascadePair(CascadeDataType& data, platform::Recordset& tree,
                                                          CascadeRun& run, std::int16_t max_plates);
    void CascadeSearch(CascadeDataType& data);

    std::unique_ptr<SinglePhaseEngine> single_phase_;
    std::unique_ptr<CondenserEngine> condenser_;
    std::unique_ptr<EvaporatorEngine> evaporator_;
    CalculatedSet calculated_;
    std::optional<CalculationSources> sources_;
    std::optional<platform::Error> cascade_error_;
};

}  // namespace hxq::core
