// The heat transfer of one typical design: 2 in pipe, one 3/8 in Troughline
// tracer, 1 in of fiberglass sized around pipe and tracer (insulation size
// position 8: ID 3.53 in, 1.02 in thick), 50 psig, ambients 0 and 100 F.
#include <benchmark/benchmark.h>

#include "engine/heat_transfer.h"

namespace {

void BM_TypicalDesignBalances(benchmark::State& state) {
  const vst::Insulation insulation{2, 3.53, 3.53 + 2 * 1.02};
  double pressurePsig = 50.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(pressurePsig);
    const double conductance = vst::TracerConductance(vst::Installation::Troughline, 2.0, 0, false);
    const auto minimum = vst::PipeTemperatureBalance(vst::BalanceCase::MinimumMaintained,
                                                     vst::SteamSaturationTemp(0.9 * pressurePsig), 0.0,
                                                     conductance, insulation);
    const auto loss = vst::PipeTemperatureBalance(vst::BalanceCase::DesignHeatLoss,
                                                  vst::SteamSaturationTemp(0.95 * pressurePsig), 0.0,
                                                  conductance, insulation);
    const auto maximum =
        vst::PipeTemperatureBalance(vst::BalanceCase::MaximumMaintained,
                                    vst::SteamSaturationTemp(pressurePsig), 100.0, conductance, insulation);
    const auto trap =
        vst::TrapDistance(vst::HeatPerTracer(loss.heatLossBtuHrFt, 1), pressurePsig, 0, 0.032, false);
    benchmark::DoNotOptimize(minimum);
    benchmark::DoNotOptimize(maximum);
    benchmark::DoNotOptimize(trap);
  }
}
BENCHMARK(BM_TypicalDesignBalances)->Unit(benchmark::kMicrosecond);

}  // namespace
