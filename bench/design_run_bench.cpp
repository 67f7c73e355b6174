// The design of one circuit: every check, the insulation sizing, the three
// temperature cases, the trap distance, the allowances, the compound choice
// and the material take-off.
//
// Two cases, since the heat balances of the engine are remembered: the
// typical circuit (2 in pipe, 1 in of fiberglass, 50 psig, one 3/8 in
// Troughline tracer, ambients 0 and 100 F, 100 ft) designed over and over,
// its balances remembered after the first; and 1,000 different circuits
// drawn at random, designed in turn, their ambients moved by a thousandth of
// a degree on every pass over the set so that no balance is ever found
// remembered: the honest cost of a new design.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "circuit/design.h"

namespace {

// Answers the dialogs as an engineer who enters two valves, three flanges,
// a pump and four 12 in shoes.
class Answers : public vst::DesignQuestions {
 public:
  std::optional<vst::PipeFormAnswer> pipeForm(const vst::PipeFormSetup&) override {
    return vst::PipeFormAnswer{vst::kAllowanceIncludedNo, 2, 3, 1, 0};
  }
  std::optional<vst::ShoeFormAnswer> shoeForm(const vst::ShoeFormSetup&) override {
    return vst::ShoeFormAnswer{10, 10};
  }
};

const vst::CircuitContext kContext{vst::UnitSystem::English, false, vst::PressureUnit::Psig,
                                   vst::InsulationSizing::Standard, '.'};

vst::CircuitEntry TypicalEntry() {
  vst::CircuitEntry e = vst::FreshEntry(kContext);
  vst::ChooseInstallation(e, vst::kInstallTroughline, kContext);
  e.pipeSize = vst::kPipeSizeStart;
  return e;
}

// Circuits drawn from a wide choice of ambients, temperatures, pressures,
// pipe sizes, insulations and installations: few share their balances.
std::vector<vst::CircuitEntry> RandomEntries(std::size_t count) {
  std::mt19937 random(7);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  std::vector<vst::CircuitEntry> entries;
  for (std::size_t i = 0; i < count; ++i) {
    vst::CircuitEntry e = TypicalEntry();
    vst::ChooseInstallation(e, pick(4), kContext);
    e.pipeSize = 4 + pick(8);
    e.insulationType = pick(7);
    e.insulationThickness = pick(3);
    e.passes = pick(2);
    e.minAmbient = std::to_string(-20 + pick(60));
    e.maxAmbient = std::to_string(90 + pick(20));
    e.maintTemp = std::to_string(50 + pick(200));
    e.pressure = std::to_string(25 + pick(150));
    e.pipeLength = std::to_string(50 + pick(400));
    entries.push_back(std::move(e));
  }
  return entries;
}

void BM_TypicalDesignRepeated(benchmark::State& state) {
  const vst::CircuitEntry entry = TypicalEntry();
  Answers answers;
  for (auto _ : state) {
    const vst::CircuitDesign design = vst::DesignCircuit(entry, kContext, answers);
    if (design.outcome != vst::DesignOutcome::Completed) state.SkipWithError("the design did not complete");
    benchmark::DoNotOptimize(design.display.totalLength);
  }
}
BENCHMARK(BM_TypicalDesignRepeated)->Unit(benchmark::kMicrosecond);

void BM_ThousandDifferentDesigns(benchmark::State& state) {
  std::vector<vst::CircuitEntry> entries = RandomEntries(1000);
  std::vector<std::pair<double, double>> ambients;
  for (const auto& e : entries)
    ambients.emplace_back(std::stod(e.minAmbient.text()), std::stod(e.maxAmbient.text()));
  Answers answers;
  std::size_t next = 0;
  double shift = 0;
  for (auto _ : state) {
    vst::CircuitEntry& e = entries[next];
    e.minAmbient = std::to_string(ambients[next].first + shift);
    e.maxAmbient = std::to_string(ambients[next].second + shift);
    const vst::CircuitDesign design = vst::DesignCircuit(e, kContext, answers);
    benchmark::DoNotOptimize(design.outcome);
    if (++next == entries.size()) {
      next = 0;
      shift += 0.001;
    }
  }
}
BENCHMARK(BM_ThousandDifferentDesigns)->Unit(benchmark::kMicrosecond);

}  // namespace
