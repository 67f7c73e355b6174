// One heat-up time against one design pass of the same circuit: the typical
// 2 in pipe, 1 in of fiberglass, 50 psig, one 3/8 in Troughline tracer,
// ambients 0 and 100 F; water from the minimum ambient to 100 F (the
// maintenance temperature's default), and 40 to 150 F for "Other" water.
#include <benchmark/benchmark.h>

#include "engine/heat_up.h"
#include "support/typical_circuit.h"

namespace {

// The maintenance design pass (its balances found in the memo after the
// first run, as in a line list of repeated circuits).
void BM_DesignPass(benchmark::State& state) {
  const vst::DesignPassInput design = vst::TypicalDesignPassInput();
  for (auto _ : state) benchmark::DoNotOptimize(vst::RunDesignPass(design));
}
BENCHMARK(BM_DesignPass)->Unit(benchmark::kMicrosecond);

// The same pass with balances not yet in the memo: each iteration a
// slightly different minimum ambient, as a list of many distinct circuits.
void BM_DesignPassFresh(benchmark::State& state) {
  vst::DesignPassInput design = vst::TypicalDesignPassInput();
  double ambientF = 0.0;
  for (auto _ : state) {
    ambientF += 1e-9;
    design.minAmbientF = ambientF;
    benchmark::DoNotOptimize(vst::RunDesignPass(design));
  }
}
BENCHMARK(BM_DesignPassFresh)->Unit(benchmark::kMicrosecond);

void BM_HeatUpTime(benchmark::State& state) {
  const vst::DesignPassInput design = vst::TypicalDesignPassInput();
  vst::HeatUpInput in = *vst::HeatUpConditionsOf(design, vst::RunDesignPass(design));
  in.product = static_cast<int>(state.range(0));
  in.initialTempF = in.product == vst::kProductOther ? 40.0 : 0.0;
  in.finalTempF = in.product == vst::kProductOther ? 150.0 : 100.0;
  in.otherDensityLbFt3 = 62.4;
  in.otherSpecificHeatBtuLbF = 1.0;
  const vst::HeatUpResult once = vst::HeatUpTime(in);
  state.counters["hours"] = once.hours;
  state.counters["computed"] = once.end == vst::HeatUpEnd::Computed;
  for (auto _ : state) {
    benchmark::DoNotOptimize(in.initialTempF);
    benchmark::DoNotOptimize(vst::HeatUpTime(in));
  }
}
BENCHMARK(BM_HeatUpTime)->Arg(0)->Arg(vst::kProductOther)->Unit(benchmark::kMicrosecond);

// The costly case: "Other" water brought to 0.5 F below where the line
// settles, where the integrand grows without bound and the rule subdivides.
void BM_HeatUpTimeNearSettling(benchmark::State& state) {
  const vst::DesignPassInput design = vst::TypicalDesignPassInput();
  vst::HeatUpInput in = *vst::HeatUpConditionsOf(design, vst::RunDesignPass(design));
  in.product = vst::kProductOther;
  in.otherDensityLbFt3 = 62.4;
  in.otherSpecificHeatBtuLbF = 1.0;
  in.initialTempF = 40.0;
  in.finalTempF = in.minMaintainedTempF - 0.5;
  state.counters["hours"] = vst::HeatUpTime(in).hours;
  for (auto _ : state) {
    benchmark::DoNotOptimize(in.initialTempF);
    benchmark::DoNotOptimize(vst::HeatUpTime(in));
  }
}
BENCHMARK(BM_HeatUpTimeNearSettling)->Unit(benchmark::kMicrosecond);

}  // namespace
