// One complete design of the typical record (2 in pipe, 1 in of fiberglass,
// 50 psig, one 3/8 in Troughline tracer, ambients 0 and 100 F, 100 ft):
// every check, the insulation sizing, the three temperature cases, the trap
// distance, the fittings and shoe dialogs answered by a script, the compound
// choice and the material take-off.
#include <benchmark/benchmark.h>

#include "support/script_dialogs.h"
#include "workspace/design_run.h"

namespace {

class BenchHost : public vst::DesignHost {
 public:
  BenchHost() {
    in.maintTemp = "100";
    in.maxExposure = " 375";
    in.intermittentExposure = "375";
    in.pressure = "50";
    in.minAmbient = "0";
    in.maxAmbient = "100";
    in.pipeLength = "100";
    in.pipeSizeText = "2.0";
    in.pipeSizePos = 4;
    in.insulationType = 2;
    in.tubeWallText = "0.032";
  }
  vst::DesignInputs readInputs() override { return in; }
  vst::DesignRecord& record(int index) override { return set.at(index); }
  void selectInstallation(int position) override { in.installation = position; }
  void setStatus(const std::string&) override {}
  void showResults(const vst::DesignDisplay& display) override {
    benchmark::DoNotOptimize(display.totalLength);
  }
  vst::Dialogs& dialogs() override { return *script; }

  vst::DesignInputs in;
  vst::DesignSet set;
  vst::test::ScriptDialogs* script = nullptr;
};

void BM_CompleteTypicalDesign(benchmark::State& state) {
  BenchHost host;
  for (auto _ : state) {
    // The script's answers are queued anew for every design (a few
    // allocations, included in the time).
    vst::test::ScriptDialogs script;
    script.pipe(vst::test::PipeAnswer{vst::kAllowanceIncludedNo, "2", "3", "1", "0"});
    script.shoes(vst::test::ShoeAnswer{false, {{"12", "4"}}, std::nullopt, false});
    host.script = &script;
    vst::DesignRunState run;
    const vst::DesignOutcome outcome = vst::DesignRun(host, run);
    benchmark::DoNotOptimize(outcome);
    if (outcome != vst::DesignOutcome::Completed) state.SkipWithError("the design did not complete");
  }
}
BENCHMARK(BM_CompleteTypicalDesign)->Unit(benchmark::kMicrosecond);

}  // namespace
