// Group selections of the combined duties on the sample range with the real engines: a
// two-stage tap-water heater over the two-stage group and a CO2/R134a cascade over the
// cascade group. Counter: the alternatives found, so that a run that finds nothing (and
// so returns early) does not pass for a fast one.
#include "core/calculate.h"
#include "core/sample_duties.h"
#include "engines/fluid/catalogue.h"

#include <benchmark/benchmark.h>


namespace {

using namespace hxq;

using test::sample_sources;
using test::set;

// 50 kW of tap water 10 → 55 °C from district water 70 → 25 °C, 0.15 kg/s of radiator
// return at 40 °C mixed in before stage 1, 50 kPa on either side.
void BM_TwoStageGroupSelection(benchmark::State& state) {
    core::clsCalculate calc;
    calc.SetSources(sample_sources());
    core::TwoStageType d;
    test::target(d, 42, true);
    auto& in = d.InData;
    in.Fluid[1] = engines::fluid::create_fluid("Water");
    in.Fluid[2] = engines::fluid::create_fluid("Water");
    in.CalcMode = "D";
    set(in.HeatLoad, 50e3);
    set(in.InletTemp[1], 70);
    set(in.OutletTemp[1], 25);
    set(in.InletTemp[2], 10);
    set(in.OutletTemp[2], 55);
    set(in.MaxPressureDrop[1], 50e3);
    set(in.MaxPressureDrop[2], 50e3);
    d.Rad_Flow = core::TwoStageIndataType{0.15f, true};
    d.Rad_Temp = core::TwoStageIndataType{40, true};
    for (auto _ : state) {
        calc.TwoStageMainCalcLoop(d);
        benchmark::DoNotOptimize(d.outdata[1].Stage1.Price);
    }
    int n = 0;
    for (const auto& a : d.outdata) n += a.Stage1.OutputData.Valid ? 1 : 0;
    state.counters["alternatives"] = n;
}

// R744 condensing at −5 °C (gas 35 °C, 2 K subcooling) into R134a evaporating at −10 °C,
// 40 kW; each circuit against a 40 % glycol standing for the other.
void BM_CascadeGroupSelection(benchmark::State& state) {
    core::clsCalculate calc;
    calc.SetSources(sample_sources());
    core::CascadeDataType d = test::cascade_duty();
    for (auto _ : state) {
        calc.CascadeMainCalcLoop(d);
        benchmark::DoNotOptimize(d.outdataVap[1].Price);
    }
    int n = 0;
    for (const auto& a : d.outdataVap) n += a.Price < core::kEmptySlotPrice ? 1 : 0;
    state.counters["alternatives"] = n;
}

}  // namespace

BENCHMARK(BM_TwoStageGroupSelection)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CascadeGroupSelection)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
