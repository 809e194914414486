// clsADOpt sizes refrigerated compressed-air dryers: an air-to-air unit (warm air
// entering against the cold dried air returning) and an evaporator that cools the air to
// the dew temperature. For every air dryer model it splits the model's plates between the
// two units, rates both with the engines of its clsCalculate, prices the pair and keeps
// the seven cheapest.
#pragma once

#include "batch/ad_records.h"
#include "batch/ad_duty.h"
#include "core/calculate.h"
#include "platform/db.h"
#include "platform/event.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace hxq::batch {

// A pair meets the duty when its air pressure drop stays below this share of the limit.
inline constexpr double kADPressureDropTolerance = 1.05;
// The dew temperature search of a rating ends when its bracket is narrower (K).
inline constexpr double kADDewTempResolution = 0.01;
// An evaporator result area at or above this value means "no solution".
inline constexpr double kADNoSolutionArea = 1e30;
// Plate count the split search starts from at each level.
inline constexpr std::int16_t kADNoBestPlates = 32000;
// Price and slot values of an air dryer list before anything was found.
inline constexpr float kADEmptySlotPrice = 1e30f;

class clsADOpt {
public:
    clsADOpt();
    ~clsADOpt();
    clsADOpt(const clsADOpt&) = delete;
    clsADOpt& operator=(const clsADOpt&) = delete;

    // The engines and databases of the calculation that fills and rates both units
    // (scripted engines in tests); by default the library's own engines and settings.
    core::clsCalculate& Calculation() { return calc_; }
    // Databases of AD_Main; default: the library state (settings "HXQnew", "DBStock").
    void SetSources(core::CalculationSources sources) { sources_ = std::move(sources); }

    // Design: the smallest pair (then the one with fewer evaporator plates) of the
    // model's plates that reaches `ADFormIndata.DewTemp` within the limits.
    ADOutputType D_ADCalc(ADInputType& input);
    // Rating of the given plate numbers: the lowest dew temperature the pair reaches,
    // without pressure-drop or outlet-temperature limit. Exist is false when the pair
    // cannot be built or reaches no dew temperature below the air inlet.
    ADOutputType P_ADCalc(ADInputType& input);
    // Every model of the node or group of `data.ADInData`: design or rating by
    // `CalcMethod`, the seven cheapest existing pairs in `ADOutData`, ascending price.
    // An error is shown through the prompter and ends the run with what was found.
    void AD_Main(ADDataType& data);

    // Progress of AD_Main, 0-100, after every model.
    platform::Event<std::int16_t> CalcPercent;

private:
    // One pair of fixed size at dew temperature `dew_temp`.
    ADOutputType ADCalc(ADInputType& input, double dew_temp, std::int16_t air_side1, std::int16_t air_side2,
                        std::int16_t ref_plates);
    // The smallest pair that keeps `percent` of the plates for the evaporator.
    ADOutputType ADCalcAtPercent(ADInputType& input, float percent);
    // The best split of [min_percent, max_percent], refined `depth` levels deep.
    ADOutputType OptimiseSplit(ADInputType& input, float min_percent, float max_percent, std::int16_t depth);
    static float MinOf(double a, double b);
    static float MaxOf(double a, double b);
    // Split, Depth, plates available and the rating's plate numbers of the AD-Models row
    // `ad` stands on.
    static void ReadADModel(const platform::Recordset& ad, ADInputType& input);

    core::clsCalculate calc_;
    std::optional<core::CalculationSources> sources_;
    // The split search of one call chain: the best plates and evaporator plates of the
    // level running and the window around its best split for the next level.
    std::int16_t best_plates_ = kADNoBestPlates;
    std::int16_t best_ref_plates_ = 0;
    float next_min_ = 0;
    float next_max_ = 100;
};

}  // namespace hxq::batch
