// Time of single property calls of the fluid component (target: at most 1 µs each).
// Run: bench_fluid_properties; the *_median rows are the numbers to quote.
#include "engines/fluid/catalogue.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

namespace fluid = hxq::engines::fluid;

void use_sample_database() { fluid::set_fluids_database(std::string(HXQ_SAMPLE_DIR) + "/fluids.db"); }

// Temperatures vary a little between calls so no call is answered from a cache line of
// the previous one more than in real use.
template <typename Call>
void run(benchmark::State& state, Call call, double t0, double span) {
    double t = t0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(call(t));
        t += 0.37;
        if (t > t0 + span) t = t0;
    }
}

void WaterDensity(benchmark::State& s) {
    auto f = fluid::create_fluid("Water");
    run(s, [&](double t) { return f->YDensity(t); }, 10, 60);
}
void WaterViscosity(benchmark::State& s) {
    auto f = fluid::create_fluid("Water");
    run(s, [&](double t) { return f->YViscosity(t); }, 10, 60);
}
void WaterSaturationPressure(benchmark::State& s) {
    auto f = fluid::create_fluid("Water");
    run(s, [&](double t) { return f->SatPressureBubble(t); }, 10, 60);
}
void GlycolDensity(benchmark::State& s) {
    auto f = fluid::create_fluid("MEG", 30);
    run(s, [&](double t) { return f->YDensity(t); }, -10, 60);
}
void GlycolViscosity(benchmark::State& s) {
    auto f = fluid::create_fluid("MEG", 30);
    run(s, [&](double t) { return f->YViscosity(t); }, -10, 60);
}
void R134aSaturationPressure(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R134a");
    run(s, [&](double t) { return f->SatPressureDew(t); }, -20, 60);
}
void R134aSaturationTemperature(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R134a");
    run(s, [&](double p) { return f->SatTemperatureDew(p * 1e4); }, 10, 60);
}
void R134aVapourDensity(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R134a");
    f->SetYPressure(3e5);
    run(s, [&](double t) { return f->YDensity(t); }, 5, 50);
}
void R134aVapourViscosity(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R134a");
    f->SetYPressure(3e5);
    run(s, [&](double t) { return f->YViscosity(t); }, 5, 50);
}
void R410ALiquidDensity(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R410A");
    f->SetYPressure(25e5);
    run(s, [&](double t) { return f->YDensity(t); }, 15, 20);
}
void R407CVaporState(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R407C");
    run(s, [&](double t) { return f->VaporState(5e5, t).Density; }, 10, 40);
}
void AirDensity(benchmark::State& s) {
    auto f = fluid::create_fluid("Air");
    f->SetYPressure(8e5);
    run(s, [&](double t) { return f->YDensity(t); }, 0, 60);
}

#define HXQ_FLUID_BENCH(name) \
    BENCHMARK(name)->Repetitions(9)->ReportAggregatesOnly(true)->DisplayAggregatesOnly(true)

HXQ_FLUID_BENCH(WaterDensity);
HXQ_FLUID_BENCH(WaterViscosity);
HXQ_FLUID_BENCH(WaterSaturationPressure);
HXQ_FLUID_BENCH(GlycolDensity);
HXQ_FLUID_BENCH(GlycolViscosity);
HXQ_FLUID_BENCH(R134aSaturationPressure);
HXQ_FLUID_BENCH(R134aSaturationTemperature);
HXQ_FLUID_BENCH(R134aVapourDensity);
HXQ_FLUID_BENCH(R134aVapourViscosity);
HXQ_FLUID_BENCH(R410ALiquidDensity);
HXQ_FLUID_BENCH(R407CVaporState);
HXQ_FLUID_BENCH(AirDensity);

}  // namespace

BENCHMARK_MAIN();
