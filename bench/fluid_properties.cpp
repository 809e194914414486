// Time of single property calls of the fluid component (target: at most 1 µs each), and
// of reading one refrigerant's tables from the fluid database (once per database and
// fluid; every later fluid object of it shares them).
// Run: bench_fluid_properties; the *_median rows are the numbers to quote.
#include "engines/fluid/catalogue.h"
#include "engines/fluid/refrigerant.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

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
// Near the critical point: R410A condensing at 50 °C (T_crit 71.3 °C), R134a at 85 °C
// (T_crit 101.1 °C), and R32 discharge gas 45-58 K above saturation.
void R410ANearCriticalVaporState(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R410A");
    const double p = f->SatPressureDew(50);
    run(s, [&](double t) { return f->VaporState(p, t).SpecificHeat; }, 50.2, 12);
}
void R410ANearCriticalLiquidDensity(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R410A");
    f->SetYPressure(f->SatPressureBubble(50));
    run(s, [&](double t) { return f->YDensity(t); }, 38, 11.8);
}
void R134aNearCriticalSaturatedVapour(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R134a");
    run(s, [&](double t) { return f->RefVapor(t).Density; }, 80, 15);
}
void R134aNearCriticalSaturationTemperature(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R134a");
    run(s, [&](double p) { return f->SatTemperatureDew(p * 1e5); }, 22, 8);
}
// Along the seam of the near-critical grid, where both grids answer and are blended.
void R410ASeamVaporState(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R410A");
    const double p = f->SatPressureDew(37);
    run(s, [&](double t) { return f->VaporState(p, t).SpecificHeat; }, 37.2, 12);
}
void R32DischargeGasState(benchmark::State& s) {
    use_sample_database();
    auto f = fluid::create_fluid("R32");
    const double p = f->SatPressureDew(40);
    run(s, [&](double t) { return f->VaporState(p, t).Enthalpy; }, 85, 13);
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
HXQ_FLUID_BENCH(R410ANearCriticalVaporState);
HXQ_FLUID_BENCH(R410ANearCriticalLiquidDensity);
HXQ_FLUID_BENCH(R134aNearCriticalSaturatedVapour);
HXQ_FLUID_BENCH(R134aNearCriticalSaturationTemperature);
HXQ_FLUID_BENCH(R410ASeamVaporState);
HXQ_FLUID_BENCH(R32DischargeGasState);
HXQ_FLUID_BENCH(AirDensity);

// Reading one refrigerant's tables, without the component's cache. On a shared machine
// the *_min rows are the steadiest.
void LoadRefrigerant(benchmark::State& s, const char* name) {
    const std::string db = std::string(HXQ_SAMPLE_DIR) + "/fluids.db";
    std::int32_t id = 0;
    for (const auto& e : fluid::refrigerant_entries(db))
        if (e.name == name) id = e.id;
    for (auto _ : s) benchmark::DoNotOptimize(fluid::read_refrigerant_data(db, id));
}
double fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
#define HXQ_LOAD_BENCH(name)                                                                    \
    BENCHMARK_CAPTURE(LoadRefrigerant, name, #name)                                             \
        ->Unit(benchmark::kMillisecond)->Repetitions(9)->ComputeStatistics("min", fastest)       \
        ->ReportAggregatesOnly(true)->DisplayAggregatesOnly(true)
HXQ_LOAD_BENCH(R134a);
HXQ_LOAD_BENCH(R410A);

}  // namespace

BENCHMARK_MAIN();
