#include "engine/design_pass.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/typical_circuit.h"

namespace vst {
namespace {

DesignPassInput Typical() { return TypicalDesignPassInput(); }

// The record keeps what a pass read before it ended, so a pass reports how
// far it read.
TEST(DesignPass, ReadingsStopWhereThePassEnds) {
  struct Row {
    const char* name;
    std::function<void(DesignPassInput&)> change;
    PassEnd end;
    bool exposures, pressure, passes;
    const char* compound;
  };
  const Row rows[] = {
      {"exposure not a number", [](DesignPassInput& in) { in.maxExposureF.reset(); }, PassEnd::Refused, false,
       false, false, ""},
      {"pressure not a number", [](DesignPassInput& in) { in.pressurePsig.reset(); }, PassEnd::Refused, true,
       false, false, ""},
      {"tube too large", [](DesignPassInput& in) { in.tubeIndex = 3; }, PassEnd::Refused, true, true, false,
       "E-55-C"},
      {"too many passes", [](DesignPassInput& in) { in.passesPos = 2; }, PassEnd::Refused, true, true, true,
       "E-55-C"},
      {"min ambient too cold", [](DesignPassInput& in) { in.minAmbientF = -101; }, PassEnd::Refused, true,
       true, true, "E-55-C"},
      {"designed", [](DesignPassInput&) {}, PassEnd::Designed, true, true, true, "E-55-C"},
  };
  for (const auto& r : rows) {
    DesignPassInput in = Typical();
    r.change(in);
    const DesignPassResult pass = RunDesignPass(in);
    EXPECT_EQ(pass.end, r.end) << r.name;
    EXPECT_TRUE(pass.readings.insulationType) << r.name;
    EXPECT_EQ(pass.readings.exposures, r.exposures) << r.name;
    EXPECT_EQ(pass.readings.steamPressure, r.pressure) << r.name;
    EXPECT_EQ(pass.readings.passes, r.passes) << r.name;
    EXPECT_EQ(pass.readings.compound, r.compound) << r.name;
  }
}

// A pass asks for the fallback; it selects nothing itself, and its outputs
// carry the insulation fit that the allowance step needs before the restart.
TEST(DesignPass, JacketedShortfallAsksForTheNextMethod) {
  struct Row {
    bool internalMode;
    Installation installation;
    double pipeIn;
    int pipePos;
    Installation expected;
  };
  const Row rows[] = {
      {false, Installation::YJ2, 3, 6, Installation::YJ1},
      {false, Installation::YJ1, 3, 6, Installation::Troughline},
      {false, Installation::YJ1, 1.5, 3, Installation::FilletTrace},
      {true, Installation::YJ1, 3, 6, Installation::YJ0},
      {true, Installation::YJ0, 1.5, 3, Installation::FilletTrace},
  };
  for (const auto& r : rows) {
    DesignPassInput in = Typical();
    in.internalMode = r.internalMode;
    in.installation = r.installation;
    in.pipeSizeListValue = r.pipeIn;
    in.pipeSizePos = r.pipePos;
    in.maintTempF = 250;
    const DesignPassResult pass = RunDesignPass(in);
    EXPECT_EQ(pass.end, PassEnd::FallsBack) << r.pipeIn;
    EXPECT_EQ(pass.fallback, r.expected) << r.pipeIn;
    EXPECT_EQ(pass.title, "") << r.pipeIn;
    EXPECT_GT(pass.outputs.insulation.position, 0) << r.pipeIn;
  }
}

}  // namespace
}  // namespace vst
