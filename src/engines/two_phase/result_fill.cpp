#include "engines/two_phase/result_fill.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace hxq::engines::two_phase {

namespace {
// Share of the port loss in a side's pressure drop above which the side gets a remark (%),
// as in the single-phase engine.
constexpr double kPortShareRemark = 30.0;
constexpr double kLimitSlack = 1e-9;

core::PhaseProperties phase(const core::PhaseState& s) {
    core::PhaseProperties p;
    p.Viscosity = s.Viscosity * 1000.0;  // engine: mPa s
    p.Density = s.Density;
    p.SpecificHeat = s.SpecificHeat;
    p.Conductivity = s.Conductivity;
    return p;
}
}  // namespace

std::string temperature_program(double ref_in, double ref_sat, double ref_out, double sec_in, double sec_out) {
    return fmt::format("{:.1f}/{:.1f}/{:.1f} - {:.1f}/{:.1f}", ref_in, ref_sat, ref_out, sec_in, sec_out);
}

template <typename Result, typename Input>
void fill_common(const Model& m, const Rated& r, const Input& in, Result& out) {
    const Layout& l = r.layout;
    const Profile& p = r.profile;
    const UnitRating& u = r.rating;
    out.Status = -1;
    out.NoOfPlates = static_cast<std::int16_t>(l.plates);
    out.ParallelUnits = static_cast<std::int16_t>(l.parallel);
    out.SerialUnits = static_cast<std::int16_t>(l.series);
    out.NoOfChannels[1] = static_cast<std::int16_t>(l.channels[0]);
    out.NoOfChannels[2] = static_cast<std::int16_t>(l.channels[1]);
    out.FluidObject = in.Refrigerant;

    const double q_string = p.q / l.parallel;
    out.HeatLoad = p.q;
    out.HeatTransferArea = u.area_provided * l.parallel;
    out.HeatFlux = p.q / out.HeatTransferArea;
    // The mean temperature difference the rating implies: Q = U A_needed ΔT.
    out.LMTD = q_string / (u.u * u.area_needed);
    out.OHTC = u.u_clean;
    out.Kpredicted = u.u;
    out.Krequired = q_string / (u.area_provided * out.LMTD);
    out.OverSurface = u.over_surface();
    out.FoulingFactor = m.fouling * 1000.0;  // engine: m² K/kW
    for (int z = 0; z < kZones; ++z) {
        out.ZoneArea[z + 1] = u.zone_area[static_cast<std::size_t>(z)] * l.parallel;
        out.ZoneLoad[z + 1] = p.zone_q[static_cast<std::size_t>(z)];
    }
    out.WetWall = u.wet_wall;
    out.OperatingPressOut = p.p_out;

    out.InletTemp[1] = p.in.t;
    out.OutletTemp[1] = p.out.t;
    out.InletTemp[2] = p.t2_in;
    out.OutletTemp[2] = p.t2_out;
    out.MassFlow[1] = p.m1;
    out.MassFlow[2] = p.m2;

    // Refrigerant properties at the middle of the two-phase zone (or the dew point of the
    // inlet pressure when the refrigerant stays vapour).
    double p_mid = p.p_in;
    double t_mid = p.in.t_dew;
    double latent = 0;
    std::vector<const Segment*> two_phase;
    for (const Segment& s : p.seg)
        if (s.zone == Zone::TwoPhase) two_phase.push_back(&s);
    if (!two_phase.empty()) {
        const Segment& s = *two_phase[two_phase.size() / 2];
        p_mid = 0.5 * (s.a.p + s.b.p);
        t_mid = s.t_ref();
        latent = s.sat.latent;
    }
    const core::FluidObject& ref = *in.Refrigerant;
    const double t_bubble = ref.SatTemperatureBubble(p_mid);
    const double t_dew = ref.SatTemperatureDew(p_mid);
    out.RefTemp[1] = t_mid;
    out.RefTemp[2] = 0.5 * (p.t2_in + p.t2_out);
    out.RefLiquid = phase(ref.RefLiquid(t_bubble));
    out.RefVapor = phase(ref.RefVapor(t_dew));
    out.LatentHeat = (latent > 0 ? latent : ref.LatentHeat(t_dew)) / 1000.0;  // engine: kJ/kg
    const single_phase::Props& s2 = p.sec_mean;
    out.Side2.Viscosity = s2.mu * 1000.0;
    out.Side2.Density = s2.rho;
    out.Side2.SpecificHeat = s2.cp;
    out.Side2.Conductivity = s2.k;
    const core::FluidObject& sec = *in.Fluid;
    out.Side2.WallViscosity = sec.YGas() ? s2.mu * 1000.0
                                         : m.secondary.viscosity.at(sec, std::max(u.wall_mean[1], m.freezing_point)) * 1000.0;

    out.PressureDrop[1] = p.dp_assumed;
    out.PressureDrop[2] = u.flow2.dp_total;
    out.PortPressureDrop[1] = u.dp1_port;
    out.PortPressureDrop[2] = u.flow2.dp_port;
    for (int s = 1; s <= 2; ++s) {
        out.PortDiameterUp[s] = in.SideData[s].PortDiaUp * 1000.0;  // engine: mm
        out.PortDiameterDown[s] = in.SideData[s].PortDiaDown * 1000.0;
        out.FilmCoefficient[s] = u.h[static_cast<std::size_t>(s - 1)];
        out.MeanWallTemp[s] = u.wall_mean[static_cast<std::size_t>(s - 1)];
        out.MinTemp[s] = u.wall_min[static_cast<std::size_t>(s - 1)];
        out.MaxTemp[s] = u.wall_max[static_cast<std::size_t>(s - 1)];
    }
    out.ReynoldsNumber[1] = u.re1;
    out.ReynoldsNumber[2] = u.flow2.re;
    out.PortVelocity[1] = u.port_velocity_in;
    out.PortVelocityOut[1] = u.port_velocity_out;
    out.PortVelocity[2] = u.flow2.port_velocity;
    out.PortVelocityOut[2] = u.flow2.port_velocity;
    out.ChannelVelocity[1] = u.channel_velocity_in;
    out.ChannelVelocityOut[1] = u.channel_velocity_out;
    out.ChannelVelocity[2] = u.flow2.velocity;
    out.ChannelVelocityOut[2] = u.flow2.velocity;
    out.ShearStress[1] = u.shear1;
    out.ShearStress[2] = u.flow2.shear;

    for (int s = 1; s <= 2; ++s) {
        const double total = out.PressureDrop[s];
        const double share = total > 0 ? 100.0 * out.PortPressureDrop[s] / total : 0;
        if (share > kPortShareRemark) {
            out.NotePercentText[s] = "Port pressure drop above 30 % of the total";
            out.NotePercent[s] = share;
        }
        if (in.MaxPressureDrop[s].Given && total > in.MaxPressureDrop[s].Value * (1 + kLimitSlack)) {
            out.NotePressureText[s] = "Pressure drop above the limit";
            out.NotePressure[s] = total;
        }
    }
}

template void fill_common(const Model&, const Rated&, const core::CondenserInput&, core::CondenserResult&);
template void fill_common(const Model&, const Rated&, const core::EvaporatorInput&, core::EvaporatorResult&);

}  // namespace hxq::engines::two_phase
