// Median time of one design rating of the condenser engine (R134a at 45 °C against water
// 30 → 35 °C, 50 kW) and of the evaporator engine (R410A at 2 °C against 30 % ethylene
// glycol 12 → 7 °C, 40 kW) on the engine tests' mid-size model. Target: at most 200 µs each.
#include "engines/two_phase_test_model.h"

#include <benchmark/benchmark.h>

namespace {

template <typename Engine, typename Input, typename Result>
void design(benchmark::State& state, Input in) {
    Engine engine;
    Result r;
    for (auto _ : state) {
        engine.Calculate(in, r);
        benchmark::DoNotOptimize(r.NoOfPlates);
    }
    if (r.Status != -1) state.SkipWithError("the design found no unit");
    state.counters["plates"] = r.NoOfPlates;
}

void CondenserDesign(benchmark::State& state) {
    design<hxq::engines::condenser::CondenserEngine, hxq::core::CondenserInput, hxq::core::CondenserResult>(
        state, hxq::test::r134a_condenser());
}
void EvaporatorDesign(benchmark::State& state) {
    design<hxq::engines::evaporator::EvaporatorEngine, hxq::core::EvaporatorInput, hxq::core::EvaporatorResult>(
        state, hxq::test::r410a_evaporator());
}

}  // namespace

BENCHMARK(CondenserDesign)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(EvaporatorDesign)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
