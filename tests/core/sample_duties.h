// The refrigerant duties the driver tests and benchmarks rate over the sample range.
#pragma once

#include "batch/ad_records.h"
#include "core/calculate.h"
#include "engines/fluid/catalogue.h"

#include <string>

namespace hxq::test {

inline std::string sample(const char* file) { return std::string(HXQ_SAMPLE_DIR) + "/" + file; }

inline core::CalculationSources sample_sources() {
    return {sample("products.db"), sample("stock.db"), sample("selector.db"), "A"};  // level A: the whole range
}

// A tag whose item 15 names the node or group.
inline std::string tag_of(int node) {
    std::string tag;
    for (int i = 0; i < 26; ++i) tag += (i ? "%" : "") + std::string(i == 15 ? std::to_string(node) : "");
    return tag;
}

inline void set(core::DutyValue& v, double x) { v = core::DutyValue{x, true}; }

template <class Data>
void target(Data& d, int node, bool group) {
    d.GivenValues.XerDB = sample("products.db");
    d.GivenValues.XerTag = tag_of(node);
    d.GivenValues.IsXerGroup = group;
}

// Water to water: `load` W from hot_in → hot_out to cold_in → cold_out, 40 kPa on each
// side; the model or group is chosen by the test.
inline core::SPCDataType water_duty(double load, double hot_in, double hot_out, double cold_in, double cold_out) {
    core::SPCDataType d;
    d.GivenValues.XerDB = sample("products.db");
    auto& in = d.InData;
    in.Fluid[1] = engines::fluid::create_fluid("Water");
    in.Fluid[2] = engines::fluid::create_fluid("Water");
    set(in.HeatLoad, load);
    set(in.InletTemp[1], hot_in);
    set(in.OutletTemp[1], hot_out);
    set(in.InletTemp[2], cold_in);
    set(in.OutletTemp[2], cold_out);
    set(in.MaxPressureDrop[1], 40e3);
    set(in.MaxPressureDrop[2], 40e3);
    return d;
}

// R134a condensing at 45 °C (gas 75 °C, 2 K subcooling), 50 kW into water 30 → 35 °C.
inline core::CONDataType condenser_duty(int node, bool group) {
    core::CONDataType d;
    target(d, node, group);
    auto& in = d.InData;
    in.Refrigerant = engines::fluid::create_fluid("R134a");
    in.Fluid = engines::fluid::create_fluid("Water");
    in.CalcMode = "D";
    set(in.CondTemp, 45);
    set(in.InletTemp[1], 75);
    set(in.SubCooling, 2);
    set(in.HeatLoad, 50e3);
    set(in.InletTemp[2], 30);
    set(in.OutletTemp[2], 35);
    set(in.MaxPressureDrop[2], 50e3);
    return d;
}

// R410A evaporating at 2 °C from quality 0.25 to 5 K superheat, 40 kW from 30 % MEG 12 → 7 °C.
inline core::VAPDataType evaporator_duty(int node, bool group) {
    core::VAPDataType d;
    target(d, node, group);
    auto& in = d.InData;
    in.Refrigerant = engines::fluid::create_fluid("R410A");
    in.Fluid = engines::fluid::create_fluid("MEG", 30);
    in.CalcMode = "D";
    set(in.EvapTemp, 2);
    set(in.Qin, 0.25);
    set(in.SuperHeating, 5);
    set(in.HeatLoad, 40e3);
    set(in.InletTemp[2], 12);
    set(in.OutletTemp[2], 7);
    set(in.MaxPressureDrop[2], 50e3);
    return d;
}

// A cascade of a CO2 low stage condensing at −5 °C and an R134a high stage evaporating at
// −10 °C, 40 kW; each circuit is rated against a 40 % glycol standing in for the other.
inline core::CascadeDataType cascade_duty() {
    core::CascadeDataType d;
    target(d, 35, true);
    core::CondenserInput& c = d.InDataCon;
    c.Refrigerant = engines::fluid::create_fluid("R744");
    c.Fluid = engines::fluid::create_fluid("MEG", 40);
    c.CalcMode = "D";
    set(c.CondTemp, -5);
    set(c.InletTemp[1], 35);
    set(c.SubCooling, 2);
    set(c.InletTemp[2], -10);
    set(c.OutletTemp[2], -7);
    core::EvaporatorInput& v = d.InDataVap;
    v.Refrigerant = engines::fluid::create_fluid("R134a");
    v.Fluid = engines::fluid::create_fluid("MEG", 40);
    v.CalcMode = "D";
    set(v.EvapTemp, -10);
    set(v.Qin, 0.2);
    set(v.SuperHeating, 4);
    set(v.HeatLoad, 40e3);
    set(v.InletTemp[2], -3);
    set(v.OutletTemp[2], -6);
    return d;
}

// 0.06 kg/s (3 m³/min of free air) of saturated air at 8 bar(a) and 35 °C dried to a
// 3 °C pressure dew point by R134a at 0 °C (AD 200 is node 279, the sample group 52).
inline void air_dryer_duty(batch::ADInputType& in, int node, bool group) {
    auto& f = in.ADFormIndata;
    f.AirInletTemp = 35;
    f.AirMassFlow = 0.06f;
    f.AirOperatingPressure = 8e5f;
    f.AirMinOutletTemp = 10;
    f.AirMaxPressureDrop = 20000;
    f.RefEvapTemp = 0;
    f.RefSuperHeat = 5;
    f.RefVaporQualityInlet = 0.25f;
    f.RefFluid = "R134a";
    f.DewTemp = 3;
    // Saturated air at 8 bar(a) holds about 4.5 g/kg at 35 °C and 0.6 g/kg at 3 °C.
    auto wet = engines::fluid::create_fluid("Humid air", 4.5);
    in.AirIndata.InData.Fluid[1] = engines::fluid::create_fluid("Humid air", 0.6);
    in.AirIndata.InData.Fluid[2] = wet;
    in.RefIndata.AirFluid = wet;
    in.IsGroup = group;
    in.XerIndex = static_cast<std::int16_t>(node);
}

}  // namespace hxq::test
