// The single-phase main loop on the sample range: a group selection over every
// single-phase model and the rating of one model. Counters: the candidates the engine
// rated per run and how the time splits between the engine and the rest (database
// work, the walk, prices and physical data).
#include "core/calculate.h"
#include "engines/fluid/catalogue.h"
#include "engines/single_phase/single_phase_engine.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using namespace hxq;
using Clock = std::chrono::steady_clock;

const std::string kSample = HXQ_SAMPLE_DIR;

// The real engine with a stopwatch around every call.
class TimedEngine final : public core::SinglePhaseEngine {
public:
    void Calculate(core::SinglePhaseInput& in, core::SinglePhaseResult& r) override {
        const auto t0 = Clock::now();
        engine_.Calculate(in, r);
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
        ++calls;
    }
    void CheckInput(core::SinglePhaseInput& in, core::SinglePhaseResult& r) override {
        const auto t0 = Clock::now();
        engine_.CheckInput(in, r);
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
    }
    double seconds = 0;
    long calls = 0;

private:
    engines::single_phase::SinglePhaseEngine engine_;
};

// 400 kW from 80/50 °C water to 25/45 °C water, 40 kPa on each side.
core::SPCDataType duty(bool group, std::int16_t id) {
    core::SPCDataType d;
    d.GivenValues.XerDB = kSample + "/products.db";
    d.GivenValues.IsXerGroup = group;
    d.GivenValues.XerID = id;
    core::SinglePhaseInput& in = d.InData;
    in.Fluid[1] = engines::fluid::create_fluid("water");
    in.Fluid[2] = engines::fluid::create_fluid("water");
    in.HeatLoad = {400e3, true};
    in.InletTemp[1] = {80, true};
    in.OutletTemp[1] = {50, true};
    in.InletTemp[2] = {25, true};
    in.OutletTemp[2] = {45, true};
    in.MaxPressureDrop[1] = {40e3, true};
    in.MaxPressureDrop[2] = {40e3, true};
    return d;
}

void run(benchmark::State& state, bool group, std::int16_t id, double heat_load) {
    auto engine = std::make_unique<TimedEngine>();
    TimedEngine* timed = engine.get();
    core::clsCalculate calc(std::move(engine));
    core::CalculationSources s;
    s.MainProductDB = kSample + "/products.db";
    s.StockDB = kSample + "/stock.db";
    s.SelectorDB = kSample + "/selector.db";
    s.UserLevel = "A";  // every model of the range
    calc.SetSources(s);
    core::SPCDataType data = duty(group, id);
    data.InData.HeatLoad.Value = heat_load;
    double total = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        calc.SPCMainCalcLoop(data);
        total += std::chrono::duration<double>(Clock::now() - t0).count();
        benchmark::DoNotOptimize(data.outdata[1].Price);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["candidates"] = static_cast<double>(timed->calls) / runs;
    state.counters["engine_ms"] = 1e3 * timed->seconds / runs;
    state.counters["other_ms"] = 1e3 * (total - timed->seconds) / runs;
    state.counters["engine_share_%"] = 100.0 * timed->seconds / total;
}

// Group 11 holds the small and the large units: the whole single-phase range.
void BM_GroupSelectionWholeRange(benchmark::State& state) { run(state, true, 11, 400e3); }
// Node 109 is the Q22 with H channels.
void BM_SingleModelRating(benchmark::State& state) { run(state, false, 109, 30e3); }

BENCHMARK(BM_GroupSelectionWholeRange)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SingleModelRating)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
