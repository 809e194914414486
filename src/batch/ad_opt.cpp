#include "batch/ad_opt.h"

#include "batch/ad_duty.h"
#include "batch/ad_messages.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace hxq::batch {

using core::DutyCount;
using core::DutyValue;

namespace {

// VB's Int for the non-negative plate arithmetic: the floor.
std::int16_t int_part(double x) { return static_cast<std::int16_t>(std::floor(x)); }

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
        ShowADError("Incurred in ADCalc");
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

}  // namespace hxq::batch
