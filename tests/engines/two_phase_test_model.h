// A mid-size brazed plate model for the condenser and evaporator engine tests (0.12 m ×
// 0.47 m plates, 60° chevrons laid through Martin's correlation), and the two duties
// most tests start from; the benchmarks rate the same model.
#pragma once

#include "engines/condenser/condenser_engine.h"
#include "engines/evaporator/evaporator_engine.h"
#include "engines/single_phase_test_model.h"

namespace hxq::test {

template <typename Input>
Input two_phase_model(const char* refrigerant, const char* secondary, double conc = 0) {
    Input in;
    in.Refrigerant = engines::fluid::create_fluid(refrigerant);
    in.Fluid = engines::fluid::create_fluid(secondary, conc);
    in.CalcMode = "D";
    in.plateThickness = kThickness;
    in.Enlargement = kPhi;
    in.Dh = 2 * kGap / kPhi;
    in.FlowWidth = 0.12;
    in.FlowLength = 0.47;
    in.PlateArea = in.FlowWidth * in.FlowLength * kPhi;
    in.MaxPlates = 200;
    in.WallConductivity = 16.3;
    for (int s = 1; s <= 2; ++s) {
        in.SideData[s].Channel = martin_channel(60, kWidePoints, s);
        in.SideData[s].PortDiaUp = 0.032;
        in.SideData[s].PortDiaDown = 0.032;
        in.SideData[s].SlitResistance = 0.5;
    }
    return in;
}

// R134a condensing at 45 °C (gas at 75 °C, 2 K subcooling), 50 kW into water 30 → 35 °C.
inline core::CondenserInput r134a_condenser() {
    auto in = two_phase_model<core::CondenserInput>("R134a", "Water");
    give(in.CondTemp, 45);
    give(in.InletTemp[1], 75);
    give(in.SubCooling, 2);
    give(in.HeatLoad, 50e3);
    give(in.InletTemp[2], 30);
    give(in.OutletTemp[2], 35);
    return in;
}

// R410A evaporating at 2 °C (quality 0.25 in, 5 K superheat), 40 kW from 30 % ethylene
// glycol 12 → 7 °C.
inline core::EvaporatorInput r410a_evaporator() {
    auto in = two_phase_model<core::EvaporatorInput>("R410A", "MEG", 30);
    give(in.EvapTemp, 2);
    give(in.Qin, 0.25);
    give(in.SuperHeating, 5);
    give(in.HeatLoad, 40e3);
    give(in.InletTemp[2], 12);
    give(in.OutletTemp[2], 7);
    return in;
}

// One Calculate call on a fresh engine.
inline core::CondenserResult rate(core::CondenserInput in) {
    core::CondenserResult r;
    engines::condenser::CondenserEngine().Calculate(in, r);
    return r;
}
inline core::EvaporatorResult rate(core::EvaporatorInput in) {
    core::EvaporatorResult r;
    engines::evaporator::EvaporatorEngine().Calculate(in, r);
    return r;
}

}  // namespace hxq::test
