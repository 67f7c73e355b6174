#include "engine/heat_up.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/simpson.h"
#include "support/typical_circuit.h"

namespace vst {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A 2 in pipe with one 3/8 in Troughline tracer in 1 in of fiberglass sized
// around pipe and tracer (inner diameter 3.53 in, 1.02 in thick), steam at
// 45 psig (the minimum case of a 50 psig supply), 0 F ambient; water
// ("Other": 62.4 lb/ft3, 1 BTU/(lb F)) from 40 to 150 F.
HeatUpInput TypicalLine() {
  HeatUpInput in;
  in.steamTempF = SteamSaturationTemp(45.0);
  in.ambientF = 0.0;
  in.totalConductance = TracerConductance(Installation::Troughline, 2.0, 0, false);
  in.insulation = {2, 3.53, 3.53 + 2 * 1.02};
  in.pipeOutsideDiameterIn = 2.375;
  in.minMaintainedTempF = PipeTemperatureBalance(BalanceCase::MinimumMaintained, in.steamTempF, in.ambientF,
                                                 in.totalConductance, in.insulation)
                              .pipeTempF;
  in.initialTempF = 40.0;
  in.finalTempF = 150.0;
  in.product = kProductOther;
  in.otherDensityLbFt3 = 62.4;
  in.otherSpecificHeatBtuLbF = 1.0;
  return in;
}

TEST(HeatUpIntegration, ALinearNetHeatGivesTheLogarithmOfItsEnds) {
  // M / (a - b T) integrates to (M / b) ln((a - b Ti) / (a - b Tf)).
  struct Case {
    double m, a, b, from, to;
  };
  const Case cases[] = {{10.0, 300.0, 1.0, 50.0, 150.0},
                        {3.5, 120.0, 0.4, -20.0, 290.0},      // ends 1 % from where Q reaches 0
                        {25.0, 1000.0, 0.5, 100.0, 1500.0}};  // a long, steep one
  for (const Case& c : cases) {
    const auto integral = IntegrateAdaptive([&](double t) { return c.m / (c.a - c.b * t); }, c.from, c.to,
                                            kHeatUpRelativeTolerance);
    ASSERT_TRUE(integral);
    const double exact = c.m / c.b * std::log((c.a - c.b * c.from) / (c.a - c.b * c.to));
    EXPECT_NEAR(integral->value / exact, 1.0, kHeatUpRelativeTolerance);
  }
}

TEST(HeatUpIntegration, ConvergesToATenthOfAPercentOfTheConvergedIntegral) {
  // The model's own integrand, from a warm start and up to 0.5 F below where
  // the line settles (the integrand grows without bound there).
  const HeatUpInput line = TypicalLine();
  const double capacity = 3.0;  // BTU/(ft F): a constant, the net heat carries the shape
  const auto integrand = [&](double t) { return capacity / *NetHeatIntoPipe(line, t); };
  for (double to : {150.0, line.minMaintainedTempF - 0.5}) {
    const auto reference = IntegrateAdaptive(integrand, 40.0, to, 1e-11);
    ASSERT_TRUE(reference);
    double previousError = INFINITY;
    for (double tolerance : {1e-2, 1e-3, kHeatUpRelativeTolerance}) {
      const auto estimate = IntegrateAdaptive(integrand, 40.0, to, tolerance);
      ASSERT_TRUE(estimate);
      const double error = std::fabs(estimate->value / reference->value - 1.0);
      EXPECT_LE(error, std::max(tolerance, 1e-12)) << "to " << to << " tolerance " << tolerance;
      EXPECT_LE(error, previousError + 1e-12);
      previousError = error;
    }
    EXPECT_LE(previousError, 1e-3);
  }
}

TEST(HeatUpTime, AgreesWithAnIndependentCalculationOfTheModel) {
  const HeatUpInput line = TypicalLine();
  const HeatUpResult result = HeatUpTime(line);
  ASSERT_EQ(result.end, HeatUpEnd::Computed) << result.message;
  // Heat capacity per foot by hand: 2 in standard pipe 3.65 lb/ft (ASME
  // B36.10M), its 2.067 in bore of water, half of 4 lb/ft3 fiberglass.
  const double steel = 3.65 * 0.12;
  const double water = kPi / 4 * 2.067 * 2.067 / 144 * 62.4 * 1.0;
  const double insulation = 0.5 * kPi / 4 * (5.57 * 5.57 - 3.53 * 3.53) / 144 * 4.0 * 0.20;
  const auto integrand = [&](double t) { return (steel + water + insulation) / *NetHeatIntoPipe(line, t); };
  EXPECT_NEAR(result.hours / Simpson(integrand, 40, 150, 2000), 1.0, 0.01);
  // Close to where the line settles the time is integrated in the logarithm
  // of the distance to it; it still agrees with the plain integral.
  HeatUpInput close = line;
  close.finalTempF = line.minMaintainedTempF - 0.5;
  const auto plain = IntegrateAdaptive(integrand, 40, close.finalTempF, 1e-10);
  ASSERT_TRUE(plain);
  EXPECT_NEAR(HeatUpTime(close).hours / plain->value, 1.0, 0.001);
  EXPECT_DOUBLE_EQ(result.hours, result.integralHours);
  EXPECT_DOUBLE_EQ(result.meanTempF, 95.0);
  EXPECT_DOUBLE_EQ(result.productAtMean.densityLbFt3, 62.4);
}

TEST(HeatUpTime, StandardWallsWeighWhatTheStandardLists) {
  // Plain-end weights of standard-weight pipe, ASME B36.10M, lb/ft.
  const std::pair<double, double> pipes[] = {{1.050, 1.13},  {2.375, 3.65},  {4.500, 10.79},
                                             {6.625, 18.97}, {12.75, 49.56}, {24.0, 94.71}};
  for (const auto& [od, weight] : pipes) {
    const auto wall = StandardWallIn(od);
    ASSERT_TRUE(wall) << od;
    const double id = od - 2 * *wall;
    EXPECT_NEAR(kPi / 4 * (od * od - id * id) / 144 * kSteelDensityLbFt3 / weight, 1.0, 0.01) << od;
  }
  EXPECT_FALSE(StandardWallIn(0.5));
  EXPECT_FALSE(InsulationStorageOf(7));
}

TEST(HeatUpTime, AddsTheLatentHeatAtThePhaseChange) {
  const HeatUpInput plain = TypicalLine();
  const double hoursWithout = HeatUpTime(plain).hours;
  const double massLbFt = kPi / 4 * 2.067 * 2.067 / 144 * 62.4;
  struct Case {
    double phaseChangeF;
    bool counted;
  };
  for (const Case c :
       {Case{100, true}, Case{40, true}, Case{150, true}, Case{39.9, false}, Case{151, false}}) {
    HeatUpInput in = plain;
    in.phaseChangeTempF = c.phaseChangeF;
    in.latentHeatBtuLb = 144.0;
    const HeatUpResult result = HeatUpTime(in);
    ASSERT_EQ(result.end, HeatUpEnd::Computed);
    const double latent = c.counted ? massLbFt * 144.0 / *NetHeatIntoPipe(in, c.phaseChangeF) : 0.0;
    EXPECT_NEAR(result.phaseChangeHours, latent, 1e-6 * latent + 1e-12) << c.phaseChangeF;
    EXPECT_NEAR(result.hours, hoursWithout + latent, 1e-9 * result.hours) << c.phaseChangeF;
  }
}

TEST(HeatUpTime, AFinalTemperatureTheLineDoesNotReachGivesWhereItSettles) {
  HeatUpInput in = TypicalLine();
  in.finalTempF = in.minMaintainedTempF;
  HeatUpResult result = HeatUpTime(in);
  EXPECT_EQ(result.end, HeatUpEnd::CannotReach);
  EXPECT_DOUBLE_EQ(result.settleTempF, in.minMaintainedTempF);
  EXPECT_EQ(result.hours, 0.0);
  EXPECT_NE(result.message.find("it settles at"), std::string::npos) << result.message;

  // A design's balance (tolerance 0.3 F) may lie above the exact one: a final
  // temperature between them is not reached either; the line settles where
  // the net heat is 0.
  in.minMaintainedTempF += 5.0;
  in.finalTempF = in.minMaintainedTempF - 1.0;
  result = HeatUpTime(in);
  ASSERT_EQ(result.end, HeatUpEnd::CannotReach);
  EXPECT_NEAR(*NetHeatIntoPipe(in, result.settleTempF), 0.0, 1e-3);
  EXPECT_LT(result.settleTempF, in.finalTempF);

  in = TypicalLine();
  in.finalTempF = 500.0;
  in.messageUnits = UnitSystem::Metric;
  result = HeatUpTime(in);
  EXPECT_NE(result.message.find("final temperature of 260.0 \xC2\xB0"
                                "C at the minimum ambient"),
            std::string::npos)
      << result.message;
}

TEST(HeatUpTime, NoTimeWhenTheLineStartsAtOrAboveTheFinalTemperature) {
  HeatUpInput in = TypicalLine();
  for (double initial : {150.0, 200.0}) {
    in.initialTempF = initial;
    const HeatUpResult result = HeatUpTime(in);
    EXPECT_EQ(result.end, HeatUpEnd::Computed);
    EXPECT_EQ(result.hours, 0.0);
  }
}

TEST(HeatUpTime, RefusesBadInputNamingTheField) {
  struct Case {
    void (*change)(HeatUpInput&);
    const char* message;
  };
  const Case cases[] = {
      {[](HeatUpInput& in) { in.initialTempF = -100.5; },
       "Initial Temp. must be between -100 and 1600 \xC2\xB0"
       "F."},
      {[](HeatUpInput& in) { in.finalTempF = 1600.5; },
       "Final Temp. must be between -100 and 1600 \xC2\xB0"
       "F."},
      {[](HeatUpInput& in) { in.finalTempF = std::nan(""); },
       "Final Temp. must be between -100 and 1600 \xC2\xB0"
       "F."},
      {[](HeatUpInput& in) { in.otherDensityLbFt3 = 0; }, "Density must be a number greater than 0."},
      {[](HeatUpInput& in) { in.otherDensityLbFt3 = -62.4; }, "Density must be a number greater than 0."},
      {[](HeatUpInput& in) { in.otherSpecificHeatBtuLbF = std::nan(""); },
       "Specific Heat must be a number greater than 0."},
      {[](HeatUpInput& in) { in.latentHeatBtuLb = 144.0; }, "Latent Heat needs a Phase Change Temp."},
      {[](HeatUpInput& in) {
         in.phaseChangeTempF = 32.0;
         in.latentHeatBtuLb = -1.0;
       },
       "Latent Heat must be a number not less than 0."},
      {[](HeatUpInput& in) {
         in.phaseChangeTempF = 2000.0;
         in.latentHeatBtuLb = 144.0;
       },
       "Phase Change Temp. must be between -100 and 1600 \xC2\xB0"
       "F."},
      {[](HeatUpInput& in) { in.product = 41; }, "Product is not in the list."},
  };
  for (const Case& c : cases) {
    HeatUpInput in = TypicalLine();
    c.change(in);
    const HeatUpResult result = HeatUpTime(in);
    EXPECT_EQ(result.end, HeatUpEnd::Refused) << c.message;
    EXPECT_EQ(result.message, c.message);
  }
  // A listed product ignores the constants of "Other".
  HeatUpInput water = TypicalLine();
  water.product = 0;
  water.otherDensityLbFt3 = 0;
  EXPECT_EQ(HeatUpTime(water).end, HeatUpEnd::Computed);
  // Metric messages give the range in C.
  HeatUpInput metric = TypicalLine();
  metric.messageUnits = UnitSystem::Metric;
  metric.initialTempF = 2000;
  EXPECT_EQ(HeatUpTime(metric).message,
            "Initial Temp. must be between -73.3 and 871.1 \xC2\xB0"
            "C.");
}

TEST(HeatUpTime, TakesTheMinimumCaseBalanceTheDesignEndedWith) {
  // The typical circuit of the design pass: the net heat vanishes at the
  // balanced temperature (within the design's 0.3 F), which a jacketed
  // tracer reports 5 F lower.
  DesignPassInput design = TypicalDesignPassInput();
  for (const auto& [installation, marginF] :
       {std::pair{Installation::Troughline, 0.0}, {Installation::YJ2, 5.0}}) {
    design.installation = installation;
    const DesignPassResult pass = RunDesignPass(design);
    ASSERT_EQ(pass.end, PassEnd::Designed) << pass.message;
    const auto in = HeatUpConditionsOf(design, pass);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->pipeOutsideDiameterIn, 2.375);
    const double balancedF = in->minMaintainedTempF + marginF;
    EXPECT_GT(*NetHeatIntoPipe(*in, balancedF - 0.31), 0.0);
    EXPECT_LT(*NetHeatIntoPipe(*in, balancedF + 0.31), 0.0);
  }
  design.pressurePsig = 400;  // refused: no conditions
  EXPECT_FALSE(HeatUpConditionsOf(design, RunDesignPass(design)));
}

TEST(HeatUpTime, ListedProductsTakeTheirPropertiesAndSayWhenHeld) {
  HeatUpInput in = TypicalLine();
  in.product = 0;  // water: data from 32 to 212 F
  HeatUpResult inside = HeatUpTime(in);
  ASSERT_EQ(inside.end, HeatUpEnd::Computed);
  EXPECT_FALSE(inside.outsideProductRange);
  EXPECT_NEAR(inside.productAtMean.densityLbFt3, ProductPropertiesAt(0, 95)->densityLbFt3, 1e-12);
  in.initialTempF = 20.0;
  const HeatUpResult held = HeatUpTime(in);
  ASSERT_EQ(held.end, HeatUpEnd::Computed);
  EXPECT_TRUE(held.outsideProductRange);
  EXPECT_GT(held.hours, inside.hours);
}

}  // namespace
}  // namespace vst
