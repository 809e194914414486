// Group selections of the refrigerant duties on the sample range with the real engines:
// a condenser group, an evaporator group and an air dryer design over the air dryer
// group. Counter: the alternatives found, so that a run that finds nothing (and so
// returns early) does not pass for a fast one.
#include "batch/ad_opt.h"
#include "core/calculate.h"
#include "engines/fluid/catalogue.h"
#include "platform/prompter.h"
#include "settings/library_state.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace hxq;

const std::string kSample = HXQ_SAMPLE_DIR;

core::CalculationSources sample_sources() {
    core::CalculationSources s;
    s.MainProductDB = kSample + "/products.db";
    s.StockDB = kSample + "/stock.db";
    s.SelectorDB = kSample + "/selector.db";
    s.UserLevel = "A";  // every model of the range
    return s;
}

// A tag whose item 15 names the group node.
std::string tag_of(int node) {
    std::string tag;
    for (int i = 0; i < 26; ++i) tag += (i ? "%" : "") + std::string(i == 15 ? std::to_string(node) : "");
    return tag;
}

template <class Data>
void target_group(Data& d, int node) {
    d.GivenValues.XerDB = kSample + "/products.db";
    d.GivenValues.XerTag = tag_of(node);
    d.GivenValues.IsXerGroup = true;
}

void set(core::DutyValue& v, double x) { v = core::DutyValue{x, true}; }

template <class Slots>
int filled(const Slots& slots) {
    int n = 0;
    for (int i = 1; i <= 7; ++i) n += slots[i].OutputData.ParallelUnits != core::kEmptySlotUnits ? 1 : 0;
    return n;
}

// R134a condensing at 45 °C (gas 75 °C, 2 K subcooling), 50 kW into water 30 → 35 °C.
void BM_CondenserGroupSelection(benchmark::State& state) {
    core::clsCalculate calc;
    calc.SetSources(sample_sources());
    core::CONDataType d;
    target_group(d, 22);
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
    for (auto _ : state) {
        calc.CONMainCalcLoop(d);
        benchmark::DoNotOptimize(d.outdata[1].Price);
    }
    state.counters["alternatives"] = filled(d.outdata);
}

// R410A evaporating at 2 °C (inlet quality 0.25, 5 K superheat), 40 kW from 30 % MEG 12 → 7 °C.
void BM_EvaporatorGroupSelection(benchmark::State& state) {
    core::clsCalculate calc;
    calc.SetSources(sample_sources());
    core::VAPDataType d;
    target_group(d, 32);
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
    for (auto _ : state) {
        calc.VAPMainCalcLoop(d);
        benchmark::DoNotOptimize(d.outdata[1].Price);
    }
    state.counters["alternatives"] = filled(d.outdata);
}

// 0.06 kg/s of saturated air at 8 bar(a) and 35 °C dried to a 3 °C pressure dew point by
// R134a at 0 °C, over every air dryer of the sample group.
void BM_AirDryerDesignOverGroup(benchmark::State& state) {
    settings::set_prompter(std::make_shared<platform::ScriptedPrompter>());
    batch::clsADOpt opt;
    opt.SetSources(sample_sources());
    batch::ADDataType data;
    auto& in = data.ADInData;
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
    f.CalcMethod = 0;
    in.Optimisation.Split = 3;
    in.Optimisation.Depth = 1;
    // Water content of saturated air at 8 bar(a): about 4.5 g/kg at 35 °C, 0.6 g/kg at 3 °C.
    auto wet = engines::fluid::create_fluid("Humid air", 4.5);
    in.AirIndata.InData.Fluid[1] = engines::fluid::create_fluid("Humid air", 0.6);
    in.AirIndata.InData.Fluid[2] = wet;
    in.RefIndata.AirFluid = wet;
    in.IsGroup = true;
    in.XerIndex = 52;
    int found = 0;
    for (auto _ : state) {
        batch::ADDataType run = data;
        opt.AD_Main(run);
        found = 0;
        for (int i = 1; i <= 7; ++i) found += run.ADOutData[i].Exist ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
    state.counters["alternatives"] = found;
}

BENCHMARK(BM_CondenserGroupSelection)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_EvaporatorGroupSelection)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AirDryerDesignOverGroup)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
