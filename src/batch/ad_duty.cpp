#include "batch/ad_duty.h"

#include "engines/fluid/catalogue.h"

#include <string>

namespace hxq::batch {

using core::DutyCount;
using core::DutyValue;

void SetAirUnitDuty(ADInputType& input, double dew_temp) {
    core::SinglePhaseInput& in = input.AirIndata.InData;
    const ADFormIndataType& form = input.ADFormIndata;
    in.InletTemp[1] = DutyValue{dew_temp, true};
    in.InletTemp[2] = DutyValue{form.AirInletTemp, true};
    for (int s = 1; s <= 2; ++s) {
        in.MassFlow[s] = DutyValue{form.AirMassFlow, true};
        in.NoOfPasses[s] = DutyCount{1, true};
        // A performance rating takes four quantities; anything else the host left set
        // would be code 42.
        in.OutletTemp[s].Given = false;
        in.MaxPressureDrop[s].Given = false;
        in.NoOfChannels[s][2].Given = false;
    }
    in.HeatLoad.Given = false;
    in.NoOfPlates.Given = false;
    in.ParallelUnits = DutyCount{1, true};
    in.CalcMode = std::string(1, 'P');
    in.CalcMethod = "Normal";
    in.WallConductivity = kADWallConductivity;
}

void PrepareADFluids(ADInputType& input) {
    RefIndataType& ref = input.RefIndata;
    if (!ref.RefFluid && !input.ADFormIndata.RefFluid.empty())
        ref.RefFluid = engines::fluid::create_fluid(input.ADFormIndata.RefFluid);
    core::PerSide<core::FluidRef>& air = input.AirIndata.InData.Fluid;
    if (!ref.AirFluid) ref.AirFluid = air[2] ? air[2] : engines::fluid::create_fluid("Air");
    for (int s = 1; s <= 2; ++s)
        if (!air[s]) air[s] = ref.AirFluid;
    if (input.ADFormIndata.AirOperatingPressure > 0) {
        for (int s = 1; s <= 2; ++s) air[s]->SetYPressure(input.ADFormIndata.AirOperatingPressure);
        ref.AirFluid->SetYPressure(input.ADFormIndata.AirOperatingPressure);
    }
    core::EvaporatorInput& vap = ref.VAP.InData;
    vap.Refrigerant = ref.RefFluid;
    vap.Fluid = ref.AirFluid;
}

}  // namespace hxq::batch
