#include "output/merge_two_phase.h"

#include "settings/format.h"

#include <cmath>

namespace hxq::output {
namespace {

// The name of a quantity's unit field: "_u" inside the closing quote.
std::string unit_name(const char* name) {
    std::string out = name;
    out.insert(out.size() - 1, "_u");
    return out;
}

// A side value, as the user typed it when the per-side givens carry it.
core::OutVal side_value(const core::PerSide<core::InputDataType>* given, int s, double si, std::int16_t unit) {
    return given ? duty_value((*given)[s], si, unit) : result_value(si, unit);
}

std::string whole_number(double value) { return std::isfinite(value) ? settings::fixed_text(value, 0) : "-"; }

struct PropertyNames {
    const char* liquid;
    const char* gas;
    const char* gas2;
    const char* side2;
    double core::PhaseProperties::*member;
    std::int16_t SheetUnits::*unit;
};

constexpr PropertyNames kProperties[] = {
    {"'ViscRefLiq'", "'ViscRefGas'", "'ViscRefGas2'", "'Visc2'", &core::PhaseProperties::Viscosity,
     &SheetUnits::viscosity},
    {"'DensLiq'", "'DensGas'", "'DensGas2'", "'Dens2'", &core::PhaseProperties::Density, &SheetUnits::density},
    {"'HeatCapLiq'", "'HeatCapGas'", "'HeatCapGas2'", "'HeatCap2'", &core::PhaseProperties::SpecificHeat,
     &SheetUnits::heat_capacity},
    {"'ConductLiq'", "'ConductGas'", "'ConductGas2'", "'Conduct2'", &core::PhaseProperties::Conductivity,
     &SheetUnits::conductivity},
};

}  // namespace

MergeUnits merge_units(const settings::OutputUnitsType& unit, const core::GivenUnitsType& chosen) {
    MergeUnits u;
    static_cast<SheetUnits&>(u) = sheet_units(unit, chosen);
    u.film = unit.FilmCoeff.UnitID;
    u.velocity = unit.Velocity.UnitID;
    u.shear = unit.ShearStress.UnitID;
    return u;
}

std::string dual_total(const std::string& circuit) { return "2x(" + circuit + ")"; }

void add_distributor_drop(MergeRecord& record, const core::EvaporatorResult& r, const MergeUnits& u) {
    const core::OutVal drop = result_value(r.VRingPressureDrop, u.pressure_drop[1]);
    record.field("'PDropFlu'", r.VType ? drop.GVal : std::string(kNoDistributor));
    record.field("PDropFlu_u'", drop.GUnit);
}

SideGivens side_givens(const core::InputData& given) {
    return SideGivens{&given.InletTemp, &given.OutletTemp, &given.MassFlux};
}

void add_side_temperatures(MergeRecord& record, const MergeSides& sides, const SideGivens& given,
                           const MergeUnits& u) {
    record.quantity("'Tin1'", "'Tin1_u'", side_value(given.inlet, 1, sides[0].inlet, u.temperature));
    record.quantity("'Tin2'", "'Tin2_u'", side_value(given.inlet, 2, sides[1].inlet, u.temperature));
    record.quantity("'Tout1'", "'Tout1_u'", side_value(given.outlet, 1, sides[0].outlet, u.temperature));
    record.quantity("'Tout2'", "'Tout2_u'", side_value(given.outlet, 2, sides[1].outlet, u.temperature));
}

void add_side_flows(MergeRecord& record, const MergeSides& sides, const SideGivens& given, const MergeUnits& u) {
    record.quantity("FlowRate1", "FlowRate1_u", side_value(given.flow, 1, sides[0].flow, u.flow));
    record.quantity("FlowRate2", "FlowRate2_u", side_value(given.flow, 2, sides[1].flow, u.flow));
}

void add_reference_temperatures(MergeRecord& record, const MergeSides& sides, const MergeUnits& u) {
    record.quantity("'RefTemp1'", "'RefTemp1_u'", result_value(sides[0].ref_temp, u.temperature));
    record.quantity("'RefTemp2'", "'RefTemp2_u'", result_value(sides[1].ref_temp, u.temperature));
}

void add_properties(MergeRecord& record, const core::PhaseProperties& liquid, const core::PhaseProperties& gas,
                    const core::PhaseProperties* gas2, const core::PhaseProperties& side2, const MergeUnits& u) {
    for (const PropertyNames& p : kProperties) {
        const std::int16_t unit = u.*p.unit;
        record.quantity(p.liquid, unit_name(p.liquid), result_value(liquid.*p.member, unit));
        record.quantity(p.gas, unit_name(p.gas), result_value(gas.*p.member, unit));
        if (gas2) record.quantity(p.gas2, unit_name(p.gas2), result_value(gas2->*p.member, unit));
        record.quantity(p.side2, unit_name(p.side2), result_value(side2.*p.member, unit));
    }
}

void add_pressure_drops(MergeRecord& record, const MergeSides& sides, const MergeUnits& u) {
    for (int s = 1; s <= 2; ++s) {
        const std::string n = std::to_string(s);
        record.quantity("'PressDropTot" + n + "'", "'PressDropTot" + n + "_u'",
                        result_value(sides[s - 1].pressure_drop, u.pressure_drop[s]));
    }
    for (int s = 1; s <= 2; ++s) {
        const std::string n = std::to_string(s);
        record.quantity("'PressDropPort" + n + "'", "'PressDropPort" + n + "_u'",
                        result_value(sides[s - 1].port_pressure_drop, u.port_pressure_drop));
    }
    for (int s = 1; s <= 2; ++s) {
        const std::string n = std::to_string(s);
        record.quantity("'ConnDia" + n + "'", "'ConnDia" + n + "_u'", result_value(sides[s - 1].port_up, u.length));
    }
}

void add_hydraulics(MergeRecord& record, const MergeSides& sides, const MergeUnits& u) {
    record.field("'Rey1'", whole_number(sides[0].reynolds));
    record.field("'Rey2'", whole_number(sides[1].reynolds));
    record.quantity("'Film1'", "'Film1_u'", result_value(sides[0].film, u.film));
    record.quantity("'Film2'", "'Film2_u'", result_value(sides[1].film, u.film));
    record.quantity("'Walltemp1'", "'Walltemp1_u'", result_value(sides[0].wall_temp, u.temperature));
    record.quantity("'Walltemp2'", "'Walltemp2_u'", result_value(sides[1].wall_temp, u.temperature));
    // The two-phase results carry no channel pressure drop of their own: the total less
    // the ports'.
    record.quantity("'PD1'", "'TPD1_u'",
                    result_value(sides[0].pressure_drop - sides[0].port_pressure_drop, u.pressure_drop[1]));
    record.quantity("'TPD2'", "'TPD2_u'",
                    result_value(sides[1].pressure_drop - sides[1].port_pressure_drop, u.pressure_drop[2]));
    record.quantity("'PortVel1'", "'PortVel1_u'", result_value(sides[0].port_velocity, u.velocity));
    record.quantity("'PortVel2'", "'PortVel2_u'", result_value(sides[1].port_velocity, u.velocity));
    record.quantity("'ChanVel1'", "'ChanVel1_u'", result_value(sides[0].channel_velocity, u.velocity));
    record.quantity("'ChanVel2'", "'ChanVel2_u'", result_value(sides[1].channel_velocity, u.velocity));
}

void add_port_diameters(MergeRecord& record, std::span<const MergeSide> sides, std::span<const char* const> names,
                        const MergeUnits& u) {
    std::size_t next = 0;
    for (const MergeSide& side : sides) {
        for (const double port : {side.port_up, side.port_down}) {
            if (next >= names.size()) return;
            const core::OutVal value = result_value(port, u.length);
            record.field(names[next++], value.GVal);
            // One unit field for all ports, after the second.
            if (next == 2) record.field("'Dia_u'", value.GUnit);
        }
    }
}

}  // namespace hxq::output
