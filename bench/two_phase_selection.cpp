// Group selections of the refrigerant duties on the sample range with the real engines:
// the condenser and evaporator duties of the driver tests over their groups, and an air
// dryer design over the air dryer group. Counter: the alternatives found, so that a run
// that finds nothing (and so returns early) does not pass for a fast one.
#include "batch/ad_opt.h"
#include "core/calculate.h"
#include "core/sample_duties.h"
#include "engines/fluid/catalogue.h"
#include "platform/prompter.h"
#include "settings/library_state.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace hxq;

template <class Slots>
int filled(const Slots& slots) {
    int n = 0;
    for (int i = 1; i <= 7; ++i) n += slots[i].OutputData.ParallelUnits != core::kEmptySlotUnits ? 1 : 0;
    return n;
}

void BM_CondenserGroupSelection(benchmark::State& state) {
    core::clsCalculate calc;
    calc.SetSources(test::sample_sources());
    core::CONDataType d = test::condenser_duty(22, true);
    for (auto _ : state) {
        calc.CONMainCalcLoop(d);
        benchmark::DoNotOptimize(d.outdata[1].Price);
    }
    state.counters["alternatives"] = filled(d.outdata);
}

void BM_EvaporatorGroupSelection(benchmark::State& state) {
    core::clsCalculate calc;
    calc.SetSources(test::sample_sources());
    core::VAPDataType d = test::evaporator_duty(32, true);
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
    opt.SetSources(test::sample_sources());
    batch::ADDataType data;
    test::air_dryer_duty(data.ADInData, 52, true);  // the sample group
    data.ADInData.ADFormIndata.CalcMethod = 0;
    data.ADInData.Optimisation.Split = 3;
    data.ADInData.Optimisation.Depth = 1;
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
