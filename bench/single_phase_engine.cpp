// Median time of one design rating and one performance rating of the single-phase engine
// (water against water on a small brazed plate model). Target: at most 50 µs per design.
#include "records/single_phase_records.h"
#include "engines/fluid/catalogue.h"
#include "engines/single_phase/single_phase_engine.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

namespace {

using hxq::core::SinglePhaseChannel;
using hxq::core::SinglePhaseInput;
using hxq::core::SinglePhaseResult;

// A 60° chevron channel: piecewise law through Martin's correlation (Martin 1996,
// Chem. Eng. Process. 35:301) at Re 100, 400, 2000, 5000, 12000, 30000.
SinglePhaseChannel chevron() {
    const std::array<double, 6> re{100, 400, 2000, 5000, 12000, 30000};
    const double b = 60.0 * 3.14159265358979323846 / 180.0;
    auto xi = [&](double r) {
        const double xi0 = r < 2000 ? 64.0 / r : std::pow(1.8 * std::log10(r) - 1.5, -2.0);
        const double xi1 = r < 2000 ? 597.0 / r + 3.85 : 39.0 * std::pow(r, -0.289);
        const double inv = std::cos(b) / std::sqrt(0.18 * std::tan(b) + 0.36 * std::sin(b) + xi0 / std::cos(b)) +
                           (1.0 - std::cos(b)) / std::sqrt(3.8 * xi1);
        return 1.0 / (inv * inv);
    };
    auto nu = [&](double r) { return 0.122 * std::pow(xi(r) * r * r * std::sin(2 * b), 0.374); };
    SinglePhaseChannel ch;
    ch.Defined = true;
    ch.noFp = 4;
    ch.noNu = 4;
    for (int i = 0; i < 5; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const double span = std::log(re[k + 1] / re[k]);
        ch.xFp[i] = std::log(xi(re[k + 1]) / xi(re[k])) / span;
        ch.xNu[i] = std::log(nu(re[k + 1]) / nu(re[k])) / span;
        if (i > 0) {
            ch.crFp[i] = re[k];
            ch.crNu[i] = re[k];
        }
    }
    ch.cFp = xi(re[0]) / std::pow(re[0], ch.xFp[0]);
    ch.cnu = nu(re[0]) / std::pow(re[0], ch.xNu[0]);
    return ch;
}

SinglePhaseInput model() {
    SinglePhaseInput in;
    in.Fluid[1] = hxq::engines::fluid::create_fluid("Water");
    in.Fluid[2] = hxq::engines::fluid::create_fluid("Water");
    in.plateThickness = 0.0004;
    in.Enlargement = 1.219;
    in.Dh = 2 * 0.002 / 1.219;
    in.FlowWidth = 0.117;
    in.FlowLength = 0.30;
    in.PlateArea = 0.117 * 0.30 * 1.219;
    in.MaxPasses = 3;
    in.MaxPlates = 150;
    in.PassPriceRatio = 3;
    in.PortMassFluxLimit[1] = in.PortMassFluxLimit[2] = 2000;
    for (int s = 1; s <= 2; ++s) {
        in.Side[s].Left = chevron();
        in.Side[s].PortDiaUp = in.Side[s].PortDiaDown = in.Side[s].PortDia = 0.040;
        in.Side[s].SlitResistance = 0.5;
    }
    return in;
}

void set(hxq::core::DutyValue& v, double x) { v = {x, true}; }

void BM_DesignRating(benchmark::State& state) {
    SinglePhaseInput in = model();
    in.CalcMode = "D";
    set(in.InletTemp[1], 60);
    set(in.OutletTemp[1], 40);
    set(in.MassFlow[1], 2.0);
    set(in.InletTemp[2], 20);
    set(in.MassFlow[2], 2.5);
    set(in.MaxPressureDrop[1], 50e3);
    set(in.MaxPressureDrop[2], 50e3);
    set(in.OverSurface, 10);
    hxq::engines::single_phase::SinglePhaseEngine engine;
    SinglePhaseResult r;
    for (auto _ : state) {
        engine.Calculate(in, r);
        benchmark::DoNotOptimize(r.NoOfPlates);
    }
    if (!r.Valid) state.SkipWithError("design found no unit");
    state.counters["plates"] = r.NoOfPlates;
    state.counters["passes"] = r.NoOfPasses;
}
// Repetitions report the median among the aggregates.
BENCHMARK(BM_DesignRating)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_PerformanceRating(benchmark::State& state) {
    SinglePhaseInput in = model();
    in.CalcMode = "P";
    set(in.InletTemp[1], 60);
    set(in.InletTemp[2], 20);
    set(in.MassFlow[1], 2.0);
    set(in.MassFlow[2], 2.5);
    in.NoOfPlates = {30, true};
    hxq::engines::single_phase::SinglePhaseEngine engine;
    SinglePhaseResult r;
    for (auto _ : state) {
        engine.Calculate(in, r);
        benchmark::DoNotOptimize(r.HeatLoad);
    }
    if (!r.Valid) state.SkipWithError("performance rating failed");
}
BENCHMARK(BM_PerformanceRating)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
