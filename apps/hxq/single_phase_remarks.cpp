#include "single_phase_remarks.h"

#include "core/model_data.h"
#include "records/engine_error_text.h"

#include <fmt/format.h>

#include <algorithm>

namespace hxq::app {

namespace {

// The marks of the table's remark column.
constexpr const char* kPortVelocity = "V";
constexpr const char* kPortShare = "P";
constexpr const char* kPressureLimit = "L";
constexpr const char* kOversized = "S";
constexpr const char* kEngineRemark = "W";

// A flow found from a pressure-drop limit meets it to rounding.
constexpr double kLimitSlack = 1e-6;

std::string side_text(int side) { return fmt::format("side {}", side); }

void side_remarks(const core::SinglePhaseResult& r, int s, const SinglePhaseDuty& duty, const QuantityUnits& u,
                  Remarks& out) {
    const NarrowPort port = NarrowestPort(r, s);
    const double density = r.Density[s];
    if (density > 0 && port.velocity * density > core::kPortMassFluxLimitPreset) {
        const double limit = core::kPortMassFluxLimitPreset / density;
        const std::string where =
            port.diameter > 0 ? fmt::format(" in the {} {} port", Shown(port.diameter, u.length), UnitLabel(u.length)) : "";
        out.push_back({kPortVelocity, "port_velocity", s,
                       fmt::format("{}: port velocity {} {}{}, above the limit of {} {} (port mass flux {:.0f} kg/m²,s)",
                                   side_text(s), Shown(port.velocity, u.velocity), UnitLabel(u.velocity), where,
                                   Shown(limit, u.velocity), UnitLabel(u.velocity), core::kPortMassFluxLimitPreset), ""});
    }
    const double total = r.PressureDrop[s];
    const double share = total > 0 ? 100.0 * r.PortPressureDrop[s] / total : 0;
    if (share > core::kPortShareRemarkPercent) {
        out.push_back({kPortShare, "port_share", s,
                       fmt::format("{}: ports take {:.0f} % of the pressure drop ({} of {} {}), above {:.0f} %",
                                   side_text(s), share, Shown(r.PortPressureDrop[s], u.pressure), Shown(total, u.pressure),
                                   UnitLabel(u.pressure), core::kPortShareRemarkPercent), ""});
    }
    const std::optional<double>& limit = duty.max_pressure_drop[s];
    if (limit && total > *limit * (1 + kLimitSlack)) {
        out.push_back({kPressureLimit, "pressure_drop_limit", s,
                       fmt::format("{}: pressure drop {} {} above the limit of {} {}", side_text(s),
                                   Shown(total, u.pressure), UnitLabel(u.pressure), Shown(*limit, u.pressure),
                                   UnitLabel(u.pressure)), ""});
    }
}

}  // namespace

double PortVelocityAt(const core::SinglePhaseResult& r, int side, double diameter) {
    const double effective = core::EffectivePortDiameter(r.PortDiameterUp[side], r.PortDiameterDown[side]);
    if (!(effective > 0) || !(diameter > 0)) return r.PortVelocity[side];
    const double ratio = effective / diameter;
    return r.PortVelocity[side] * ratio * ratio;
}

NarrowPort NarrowestPort(const core::SinglePhaseResult& r, int side) {
    const double up = r.PortDiameterUp[side];
    const double down = r.PortDiameterDown[side];
    // Without both diameters the effective one is not known: the engine's velocity stands.
    if (!(up > 0) || !(down > 0)) return {std::max(up, down), r.PortVelocity[side]};
    const double narrow = std::min(up, down);
    return {narrow, PortVelocityAt(r, side, narrow)};
}

Remarks SinglePhaseRemarks(const core::SinglePhaseResult& r, const SinglePhaseDuty& duty, const QuantityUnits& units) {
    Remarks out;
    for (int s = 1; s <= 2; ++s) side_remarks(r, s, duty, units, out);
    const double ratio = (1 + r.OverSurface / 100.0) / (1 + duty.asked_over_surface / 100.0);
    if (ratio > kOversizeAreaRatio) {
        out.push_back({kOversized, "over_surface", 0,
                       fmt::format("over-surface {:.1f} % against {:.4g} % asked: {:.2f} times the area the duty needs, "
                                   "above {:.2g}",
                                   r.OverSurface, duty.asked_over_surface, ratio, kOversizeAreaRatio), ""});
    }
    if (r.ErrorCode != 0) {
        const std::string message = core::EngineErrorMessage(r.ErrorCode, duty.calc_type);
        out.push_back({kEngineRemark, "engine_remark", 0,
                       fmt::format("engine remark {}: {}", r.ErrorCode, message.empty() ? "(no text)" : message), ""});
    }
    return out;
}

}  // namespace hxq::app
