#include "core/two_stage_sizing.h"

#include <cstdlib>

namespace hxq::core {

namespace {

// A rating within this factor of its pressure-drop target is accepted.
constexpr double kWithinTarget = 1.05;

std::int16_t even_midpoint(int lo, int hi) {
    int m = lo + (hi - lo) / 2;
    if (m % 2 != 0) ++m;
    return static_cast<std::int16_t>(m);
}

}  // namespace

double PrimaryDrop(const SinglePhaseResult& r) { return r.PressureDrop[1]; }

void SetStageChannels(SinglePhaseInput& stage, std::int16_t side1, std::int16_t side2) {
    stage.NoOfChannels[1][1] = DutyCount{side1, true};
    stage.NoOfChannels[2][1] = DutyCount{side2, true};
    // The engine splits a mixed side into its two types itself.
    stage.NoOfChannels[1][2].Given = false;
    stage.NoOfChannels[2][2].Given = false;
    stage.NoOfPlates.Given = false;
}

void SetStagePlates(SinglePhaseInput& stage, std::int16_t plates) {
    const auto half = static_cast<std::int16_t>(plates / 2);
    SetStageChannels(stage, half, half);
}

SinglePhaseResult PlateBisection(SinglePhaseEngine& engine, SinglePhaseInput& stage, double offset, double target,
                                 int lo, int hi) {
    SinglePhaseResult best;  // not valid until a rating comes within the target
    std::int16_t m = even_midpoint(lo, hi);
    while (std::abs(hi - lo) > 2) {
        // Every rating is of the count it judges.
        SetStagePlates(stage, m);
        SinglePhaseResult r;
        engine.Calculate(stage, r);
        const bool usable = r.Valid && (r.ErrorCode == 0 || r.WarningOnly);
        const double x = PrimaryDrop(r) + offset;
        if (usable && x < kWithinTarget * target) best = r;
        // A count the engine cannot rate is treated as too small: plates below a pass
        // minimum are the usual reason.
        if (!usable || (x - target) / target > 0) lo = m;
        else hi = m;
        m = even_midpoint(lo, hi);
    }
    if (best.Valid) SetStageChannels(stage, best.NoOfChannels[1], best.NoOfChannels[2]);
    return best;
}

double MixedTemperature(double flow_a, double temp_a, double flow_b, double temp_b) {
    const double total = flow_a + flow_b;
    if (!(total > 0)) return temp_a;
    return (flow_a * temp_a + flow_b * temp_b) / total;
}

}  // namespace hxq::core
