#include "engine/heat_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "engine/power_product.h"

namespace vst {
namespace {

// Installation list positions.
constexpr int kTrough = 0;
constexpr int kFillet = 1;
constexpr int kStdYJ1 = 2, kStdYJ2 = 3;
constexpr int kIntYJ0 = 2, kIntYJ1 = 3, kIntYJ2 = 4;

TEST(SteamProperties, SaturationFitMatchesSteamTables) {
  // Exact at 0 psig by its constant term; about 297.5 F at 50 psig.
  EXPECT_DOUBLE_EQ(SteamSaturationTemp(0), 212.02533);
  EXPECT_NEAR(SteamSaturationTemp(50), 297.5468, 1e-4);
  // IAPWS-IF97 saturation line (region 4), gauge pressures on 14.696 psia;
  // the fit holds these within the tolerance beside each row.
  struct Row {
    double psig, tempF, tolF;
  };
  const Row rows[] = {{0, 211.954, 0.1}, {50, 297.652, 0.2}, {100, 337.882, 0.5}, {150, 365.872, 0.5}};
  for (const auto& r : rows) EXPECT_NEAR(SteamSaturationTemp(r.psig), r.tempF, r.tolF) << r.psig << " psig";
}

TEST(SteamProperties, LatentHeatViscosityAndDensityFits) {
  // IAPWS-IF97: 2256.5 kJ/kg at 100 C = 970.1 BTU/lb; the fit gives 970.30.
  EXPECT_NEAR(LatentHeat(212), 970.1, 0.3);
  // The fits evaluated by hand at one point each (to 1e-9 relative).
  EXPECT_NEAR(LatentHeat(SteamSaturationTemp(50)), 911.96605400, 1e-6);
  EXPECT_NEAR(SteamViscosity(300), 0.016679365106, 1e-12);
  EXPECT_NEAR(SteamDensity(50), 0.14972804583125, 1e-12);
  EXPECT_NEAR(SteamDensity(0), 0.037152922, 1e-12);
}

TEST(InsulationConductivity, EachFitAtThreeMeanTemperatures) {
  // Values evaluated by hand from each polynomial.
  struct Row {
    int type;
    double at0, at100, at200;
  };
  const Row rows[] = {
      {0, 0.0304762, 0.0340079463, 0.0377381052},  // calcium silicate
      {1, 0.021292, 0.02466185, 0.02566076},       // foamed elastomer (negative T^2, T^3 terms)
      {2, 0.0173, 0.0203, 0.0253},                 // fiberglass
      {3, 0.0179, 0.0215, 0.0263},                 // mineral fiber
      {4, 0.0296, 0.0344, 0.0408},                 // cellular glass
      {5, 0.0161756, 0.017568412, 0.022518456},    // polyisocyanurate (negative T term)
      {6, 0.035476, 0.0399403, 0.0444046},         // expanded perlite
  };
  for (const auto& r : rows) {
    EXPECT_NEAR(InsulationConductivity(r.type, 0), r.at0, 1e-12) << "type " << r.type;
    EXPECT_NEAR(InsulationConductivity(r.type, 100), r.at100, 1e-12) << "type " << r.type;
    EXPECT_NEAR(InsulationConductivity(r.type, 200), r.at200, 1e-12) << "type " << r.type;
  }
  EXPECT_EQ(InsulationConductivity(7, 100), 0.0);
  EXPECT_EQ(InsulationConductivity(-1, 100), 0.0);
}

// The pipe balance skips surface steps on these bounds: every fit must lie
// within them over the whole range, tightly, and unknown types have none.
TEST(InsulationConductivity, RangeBoundsTheFitOverTheWholeRange) {
  for (int type = 0; type <= 6; ++type) {
    for (const auto& [from, to] : {std::pair{-100.0, -20.0}, {-50.0, 60.0}, {40.0, 41.0}, {150.0, 450.0}}) {
      const auto range = InsulationConductivityRange(type, from, to);
      ASSERT_TRUE(range) << type;
      double least = 1e9, most = -1e9;
      for (int i = 0; i <= 1000; ++i) {
        const double k = InsulationConductivity(type, from + (to - from) * i / 1000.0);
        least = std::min(least, k);
        most = std::max(most, k);
      }
      EXPECT_LE(range->lo, least) << type << " " << from;
      EXPECT_GE(range->hi, most) << type << " " << from;
      // Exact for the quadratic fits, within five times the spread for the others.
      EXPECT_LT(range->hi - range->lo, (type == 1 || type == 5 ? 5 : 1) * (most - least) + 1e-9)
          << type << " " << from;
    }
  }
  EXPECT_FALSE(InsulationConductivityRange(7, 0, 100));
  EXPECT_FALSE(InsulationConductivityRange(0, 100, 0));
}

TEST(InstallationCodes, MeanDifferentMethodsInTheTwoModes) {
  EXPECT_EQ(InstallationFromCode(2, false), Installation::YJ1);
  EXPECT_EQ(InstallationFromCode(3, false), Installation::YJ2);
  EXPECT_EQ(InstallationFromCode(4, false), Installation::None);
  EXPECT_EQ(InstallationFromCode(2, true), Installation::YJ0);
  EXPECT_EQ(InstallationFromCode(3, true), Installation::YJ1);
  EXPECT_EQ(InstallationFromCode(4, true), Installation::YJ2);
  EXPECT_EQ(InstallationFromCode(5, true), Installation::None);
  EXPECT_EQ(InstallationFromCode(-1, false), Installation::None);
  // Back to the list position, as a fallback selects it.
  for (const bool internal : {false, true}) {
    for (int code = 0; code <= (internal ? 4 : 3); ++code) {
      EXPECT_EQ(InstallationCode(InstallationFromCode(code, internal), internal), code) << code << internal;
    }
  }
  EXPECT_EQ(InstallationCode(Installation::YJ0, false), -1);
  EXPECT_EQ(InstallationCode(Installation::None, true), -1);
}

TEST(TracerConductance, TableRowsAndLastRowThresholds) {
  struct Row {
    int code;
    bool internal;
    double pipeIn;
    int tube;
    double expected;
  };
  const Row rows[] = {
      // Troughline: the 16 in row serves 16 in and larger; 15 in has no row.
      {kTrough, false, 2, 0, 4.10089},
      {kTrough, false, 1.5, 2, 4.5929},
      {kTrough, false, 1, 1, 0},
      {kTrough, false, 2.5, 3, 0},
      {kTrough, false, 3, 3, 4.7075},
      {kTrough, false, 14, 1, 1.2944},
      {kTrough, false, 15, 0, 0},
      {kTrough, false, 16, 0, 1.042},
      {kTrough, false, 36, 3, 1.408},
      {kTrough, true, 0.5, 0, 5.5},
      // Fillet Trace: same threshold.
      {kFillet, false, 20, 1, 0.833},
      {kFillet, false, 16, 3, 1.25},
      {kFillet, false, 14, 2, 1.29265},
      {kFillet, false, 13, 2, 0},
      {kFillet, false, 0.75, 1, 4.1808},
      {kFillet, false, 0.75, 2, 0},
      {kFillet, true, 4, 2, 3.16465},
      // YJ-0 (internal code 2): from 8 in with t = 0, from 7 in with t >= 1.
      {kIntYJ0, true, 7, 0, 0},
      {kIntYJ0, true, 8, 0, 0.37},
      {kIntYJ0, true, 10, 0, 0.37},
      {kIntYJ0, true, 6, 1, 0.425},
      {kIntYJ0, true, 6.5, 1, 0},
      {kIntYJ0, true, 7, 1, 0.415},
      {kIntYJ0, true, 24, 1, 0.415},
      {kIntYJ0, true, 0.5, 0, 0.554},
      {kIntYJ0, true, 0.5, 1, 0.7096},
      // YJ-1 and YJ-2 from 9 in; the 8 in row keeps its own value.
      {kStdYJ1, false, 8, 0, 0.2105},
      {kStdYJ1, false, 8.5, 0, 0},
      {kStdYJ1, false, 9, 0, 0.21},
      {kStdYJ1, false, 10, 0, 0.21},
      {kIntYJ1, true, 10, 0, 0.21},
      {kIntYJ1, true, 2, 0, 0.314},
      {kStdYJ2, false, 8, 0, 0.1723},
      {kStdYJ2, false, 10, 0, 0.17},
      {kIntYJ2, true, 8, 0, 0.1723},
      {kIntYJ2, true, 1, 0, 0.22},
      // No such installation, size or tube.
      {4, false, 2, 0, 0},
      {kFillet, false, 5, 0, 0},
      {kFillet, false, 0.25, 0, 0},
      {kTrough, false, 2, 4, 0},
      {kTrough, false, 2, -1, 0},
  };
  for (const auto& r : rows) {
    EXPECT_DOUBLE_EQ(TracerConductance(InstallationFromCode(r.code, r.internal), r.pipeIn, r.tube, false),
                     r.expected)
        << "code " << r.code << (r.internal ? " internal" : " standard") << ", " << r.pipeIn << " in, tube "
        << r.tube;
  }
  EXPECT_EQ(TracerConductance(Installation::Troughline, std::nan(""), 0, false), 0.0);
}

TEST(TracerConductance, K90CompoundLowersTroughlineOnly) {
  EXPECT_DOUBLE_EQ(TracerConductance(Installation::Troughline, 2, 0, true), 0.75 * 4.10089);
  EXPECT_DOUBLE_EQ(TracerConductance(Installation::Troughline, 20, 3, true), 0.75 * 1.408);
  EXPECT_DOUBLE_EQ(TracerConductance(Installation::FilletTrace, 2, 0, true), 2.4825);
  EXPECT_DOUBLE_EQ(TracerConductance(Installation::YJ1, 2, 0, true), 0.314);
  EXPECT_DOUBLE_EQ(TracerConductance(Installation::YJ0, 2, 0, true), 0.501);
}

TEST(TracerHeatInput, PassesMultiplyAboveOneAndResultIsSingle) {
  struct Row {
    int passes;
    double factor;
  };
  const Row rows[] = {{1, 1}, {0, 1}, {2, 2}, {3, 3}, {8, 8}};
  for (const auto& r : rows) {
    const float q = TracerHeatInput(297.5, 2, 100, Installation::Troughline, 0, r.passes, false);
    EXPECT_EQ(q, static_cast<float>(197.5 * 4.10089 * r.factor)) << r.passes << " passes";
  }
  EXPECT_DOUBLE_EQ(TotalConductance(0.5, 3), 1.5);
  EXPECT_DOUBLE_EQ(TotalConductance(0.5, 1), 0.5);
}

// The typical design: 2 in pipe, one 3/8 in Troughline tracer, 1 in of
// fiberglass sized to position 8 (ID 3.53 in, 1.02 in thick), 50 psig.
const Insulation kTypical{2, 3.53, 3.53 + 2 * 1.02};

TEST(SurfaceBalance, FluxesMeetWithinTheCaseTolerance) {
  // Reference: independent double-precision evaluation of the same bisection.
  struct Row {
    double pipeF, ambientF;
    Insulation ins;
    bool still;
    double tol, surfaceF, lossBtuHrFt;
  };
  const Row rows[] = {
      {250, 0, kTypical, false, 0.3, 5.0048828125, 65.80629622},
      {250, 100, kTypical, true, 0.5, 109.66796875, 41.87664798},
      {250, 0, {5, 3.53, 5.57}, false, 0.3, 4.45556640625, 58.34982591},
  };
  for (const auto& r : rows) {
    const SurfaceBalance s = InsulatedSurfaceBalance(r.pipeF, r.ambientF, r.ins,
                                                     r.still ? Air::Still() : Air::Wind(132000), r.tol);
    ASSERT_TRUE(s.converged) << r.pipeF << "/" << r.ambientF;
    EXPECT_NEAR(s.surfaceTempF, r.surfaceF, 1e-9) << r.pipeF << "/" << r.ambientF;
    EXPECT_NEAR(s.heatLossBtuHrFt, r.lossBtuHrFt, 1e-6) << r.pipeF << "/" << r.ambientF;
    EXPECT_NEAR(s.areaPerFt, 3.1416 * r.ins.outerDiameterIn / 12, 1e-12);
  }
}

// The balance decides most steps from a cheap estimate of the surface flux;
// it must end exactly where the plain bisection on SurfaceFlux ends.
SurfaceBalance PlainBisection(double pipeF, double ambientF, const Insulation& ins, Air air, double tol) {
  SurfaceBalance result;
  const double thicknessFt =
      (ins.outerDiameterIn / 24.0) * std::log(ins.outerDiameterIn / ins.innerDiameterIn);
  double lo = ambientF;
  double hi = pipeF;
  for (int step = 0; step < 300; ++step) {
    const double ts = (lo + hi) / 2.0;
    const double r = thicknessFt / InsulationConductivity(ins.type, (pipeF + ts) / 2.0) + 0.5;
    const double qin = (pipeF - ts) / r;
    const double qout =
        SurfaceFlux(ts, ambientF, AmbientRadiation(ambientF), ins.outerDiameterIn / 12.0, air);
    if (!std::isfinite(r) || !std::isfinite(qin) || !std::isfinite(qout)) return result;
    if (std::fabs(qin - qout) < tol) {
      const double area = 3.1416 * ins.outerDiameterIn / 12.0;
      return {true, ts, r, area, qin * area};
    }
    (qin > qout ? lo : hi) = ts;
  }
  return result;
}

// The exact balance is the same balance where the fluxes meet to rounding:
// the plain bisection's surface temperature at a tolerance of 1e-9
// BTU/(hr ft2), a zero loss at the ambient, and a gain (negative loss) for a
// pipe colder than the air.
TEST(SurfaceBalance, TheExactBalanceMeetsTheFluxesToRounding) {
  for (const Insulation& ins : {kTypical, Insulation{5, 12.75, 18.75}}) {
    for (const auto& [pipeF, ambientF] : {std::pair{250.0, 0.0}, {45.0, -40.0}, {1200.0, 100.0}}) {
      const Air air = Air::Wind(kDesignWindFtPerHr);
      const SurfaceBalance exact = ExactInsulatedSurfaceBalance(pipeF, ambientF, ins, air);
      const SurfaceBalance plain = PlainBisection(pipeF, ambientF, ins, air, 1e-9);
      ASSERT_TRUE(exact.converged && plain.converged) << pipeF;
      EXPECT_NEAR(exact.surfaceTempF, plain.surfaceTempF, 1e-8) << pipeF;
      EXPECT_NEAR(exact.heatLossBtuHrFt, plain.heatLossBtuHrFt, 1e-8) << pipeF;
    }
    const Air air = Air::Wind(kDesignWindFtPerHr);
    EXPECT_EQ(ExactInsulatedSurfaceBalance(20.0, 20.0, ins, air).heatLossBtuHrFt, 0.0);
    const SurfaceBalance cold = ExactInsulatedSurfaceBalance(-60.0, 20.0, ins, air);
    ASSERT_TRUE(cold.converged);
    EXPECT_LT(cold.heatLossBtuHrFt, 0.0);
    EXPECT_TRUE(cold.surfaceTempF > -60.0 && cold.surfaceTempF < 20.0);
  }
  EXPECT_FALSE(
      ExactInsulatedSurfaceBalance(250.0, 0.0, Insulation{9, 3.53, 5.57}, Air::Wind(132000)).converged);
}

TEST(SurfaceBalance, EndsBitForBitWhereThePlainBisectionEnds) {
  int converged = 0;
  for (int type = 0; type <= 6; ++type) {
    for (const Insulation geometry :
         {Insulation{0, 1.9, 3.9}, Insulation{0, 3.53, 5.57}, Insulation{0, 12.75, 18.75}}) {
      const Insulation ins{type, geometry.innerDiameterIn, geometry.outerDiameterIn};
      for (double pipeF : {45.0, 120.0, 250.0, 366.0, 520.0}) {
        for (double ambientF : {-40.0, 0.0, 50.0, 100.0}) {
          for (const Air air : {Air::Wind(132000), Air::Still(), Air::Wind(1000)}) {
            for (double tol : {0.3, 0.5, 0.01}) {
              const SurfaceBalance fast = InsulatedSurfaceBalance(pipeF, ambientF, ins, air, tol);
              const SurfaceBalance plain = PlainBisection(pipeF, ambientF, ins, air, tol);
              const auto where = ::testing::Message() << type << " " << ins.innerDiameterIn << " " << pipeF
                                                      << " " << ambientF << " " << air.still << " " << tol;
              ASSERT_EQ(fast.converged, plain.converged) << where;
              EXPECT_EQ(fast.surfaceTempF, plain.surfaceTempF) << where;
              EXPECT_EQ(fast.resistance, plain.resistance) << where;
              EXPECT_EQ(fast.heatLossBtuHrFt, plain.heatLossBtuHrFt) << where;
              converged += fast.converged;
            }
          }
        }
      }
    }
  }
  EXPECT_GT(converged, 1000);  // the grid is mostly balances, not refusals
}

TEST(SurfaceBalance, StillAirLosesLessThanWind) {
  const auto wind = InsulatedSurfaceBalance(250, 50, kTypical, Air::Wind(132000), 0.3);
  const auto still = InsulatedSurfaceBalance(250, 50, kTypical, Air::Still(), 0.3);
  ASSERT_TRUE(wind.converged && still.converged);
  EXPECT_LT(still.heatLossBtuHrFt, wind.heatLossBtuHrFt);
  EXPECT_GT(still.surfaceTempF, wind.surfaceTempF);
}

TEST(SurfaceBalance, UnreachableToleranceOrBadGeometryIsNotConverged) {
  EXPECT_FALSE(InsulatedSurfaceBalance(250, 0, kTypical, Air::Wind(132000), 0.0).converged);
  EXPECT_FALSE(InsulatedSurfaceBalance(250, 0, kTypical, Air::Wind(132000), -1.0).converged);
  EXPECT_FALSE(InsulatedSurfaceBalance(250, 0, {2, 0, 5.57}, Air::Wind(132000), 0.3).converged);
  EXPECT_FALSE(InsulatedSurfaceBalance(250, 0, {2, 3.53, 0}, Air::Wind(132000), 0.3).converged);
  // No conductivity for the type: the conducted flux divides by zero.
  EXPECT_FALSE(InsulatedSurfaceBalance(250, 0, {9, 3.53, 5.57}, Air::Wind(132000), 0.3).converged);
  // Pipe below ambient in still air: a fractional power of a negative number.
  EXPECT_FALSE(InsulatedSurfaceBalance(50, 100, kTypical, Air::Still(), 0.5).converged);
}

TEST(PipeTemperatureBalance, ThreeCasesOfTheTypicalDesign) {
  const double p = 50;
  // Reference: independent double-precision evaluation of the same bisections.
  struct Row {
    BalanceCase c;
    double steamF, ambientF, pipeF, lossBtuHrFt;
  };
  const Row rows[] = {
      {BalanceCase::MinimumMaintained, SteamSaturationTemp(0.9 * p), 0, 273.56055906, 73.68521906},
      {BalanceCase::DesignHeatLoss, SteamSaturationTemp(0.95 * p), 0, 276.30689811, 74.63086754},
      {BalanceCase::MaximumMaintained, SteamSaturationTemp(p), 100, 284.42847980, 53.50783980},
  };
  for (const auto& r : rows) {
    const PipeBalance b = PipeTemperatureBalance(r.c, r.steamF, r.ambientF, 4.10089, kTypical);
    ASSERT_TRUE(b.converged) << static_cast<int>(r.c);
    EXPECT_NEAR(b.pipeTempF, r.pipeF, 1e-6) << static_cast<int>(r.c);
    EXPECT_NEAR(b.heatLossBtuHrFt, r.lossBtuHrFt, 1e-6) << static_cast<int>(r.c);
  }
}

TEST(PipeTemperatureBalance, CasesUseTheirAirAndTolerance) {
  EXPECT_FALSE(CaseAir(BalanceCase::MinimumMaintained).still);
  EXPECT_DOUBLE_EQ(CaseAir(BalanceCase::MinimumMaintained).windFtPerHr, 132000);
  EXPECT_DOUBLE_EQ(CaseAir(BalanceCase::DesignHeatLoss).windFtPerHr, 132000);
  EXPECT_TRUE(CaseAir(BalanceCase::MaximumMaintained).still);
  EXPECT_DOUBLE_EQ(CaseTolerance(BalanceCase::MinimumMaintained), 0.3);
  EXPECT_DOUBLE_EQ(CaseTolerance(BalanceCase::DesignHeatLoss), 0.3);
  EXPECT_DOUBLE_EQ(CaseTolerance(BalanceCase::MaximumMaintained), 0.5);
  // More conductance holds the pipe nearer the steam.
  const double steam = SteamSaturationTemp(45);
  const auto one = PipeTemperatureBalance(BalanceCase::MinimumMaintained, steam, 0, 4.10089, kTypical);
  const auto three = PipeTemperatureBalance(BalanceCase::MinimumMaintained, steam, 0, 3 * 4.10089, kTypical);
  ASSERT_TRUE(one.converged && three.converged);
  EXPECT_GT(three.pipeTempF, one.pipeTempF);
  EXPECT_LT(three.pipeTempF, steam);
}

// Balances are remembered by their inputs, and the surface bisection of a
// pipe step stops once its bracket settles the step: each answer, asked
// first or again after others, must be the plain bisection's, for every
// insulation, in still air and wind, hot and cold.
PipeBalance PlainPipeBisection(BalanceCase c, double steamF, double ambientF, double conductance,
                               const Insulation& ins) {
  PipeBalance result;
  double lo = ambientF;
  double hi = steamF;
  for (int step = 0; step < 300; ++step) {
    double tp = (lo + hi) / 2.0;
    if (tp <= ambientF) tp = ambientF + 1.0;
    const SurfaceBalance surface = InsulatedSurfaceBalance(tp, ambientF, ins, CaseAir(c), CaseTolerance(c));
    if (!surface.converged) return result;
    const double loss = surface.areaPerFt / surface.resistance;
    const double tb = (conductance * steamF + surface.surfaceTempF * loss) / (conductance + loss);
    if (std::fabs(tp - tb) < CaseTolerance(c)) return {true, tp, surface.heatLossBtuHrFt};
    (tp < tb ? lo : hi) = tp;
  }
  return result;
}

TEST(PipeTemperatureBalance, RememberedAnswersAreThePlainBisections) {
  struct Ask {
    BalanceCase c;
    double steamF, ambientF, conductance;
    Insulation ins;
  };
  std::vector<Ask> asks;
  for (auto c :
       {BalanceCase::MinimumMaintained, BalanceCase::MaximumMaintained, BalanceCase::DesignHeatLoss}) {
    for (double steamF : {SteamSaturationTemp(45), SteamSaturationTemp(150)}) {
      for (double ambientF : {-100.0, 0.0, 20.0, 95.0}) {
        for (double conductance : {0.17, 4.10089, 8.20178, 30.0}) {
          for (int type = 0; type <= 6; ++type) {
            for (const Insulation ins : {Insulation{type, 3.53, 5.57}, Insulation{type, 12.75, 20.75}}) {
              asks.push_back({c, steamF, ambientF, conductance, ins});
            }
          }
        }
      }
    }
  }
  // Forward, then backward: every ask is answered once new and once again.
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t k = 0; k < asks.size(); ++k) {
      const Ask& a = asks[pass == 0 ? k : asks.size() - 1 - k];
      const PipeBalance got = PipeTemperatureBalance(a.c, a.steamF, a.ambientF, a.conductance, a.ins);
      const PipeBalance plain = PlainPipeBisection(a.c, a.steamF, a.ambientF, a.conductance, a.ins);
      ASSERT_EQ(got.converged, plain.converged) << pass << " " << k;
      EXPECT_EQ(got.pipeTempF, plain.pipeTempF) << pass << " " << k;
      EXPECT_EQ(got.heatLossBtuHrFt, plain.heatLossBtuHrFt) << pass << " " << k;
    }
  }
}

TEST(PipeTemperatureBalance, UnbalanceableInputsEndQuicklyAsNotConverged) {
  const auto start = std::chrono::steady_clock::now();
  const double steam = SteamSaturationTemp(45);
  for (auto c :
       {BalanceCase::MinimumMaintained, BalanceCase::DesignHeatLoss, BalanceCase::MaximumMaintained}) {
    // No tracer conductance: the pipe is held at ambient + 1 F and never balances.
    EXPECT_FALSE(PipeTemperatureBalance(c, steam, 0, 0.0, kTypical).converged) << static_cast<int>(c);
    // Ambient above the steam.
    EXPECT_FALSE(PipeTemperatureBalance(c, steam, 400, 4.10089, kTypical).converged) << static_cast<int>(c);
    // No conductivity: a division by zero inside.
    EXPECT_FALSE(PipeTemperatureBalance(c, steam, 0, 4.10089, {9, 3.53, 5.57}).converged)
        << static_cast<int>(c);
    EXPECT_FALSE(PipeTemperatureBalance(c, std::nan(""), 0, 4.10089, kTypical).converged)
        << static_cast<int>(c);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(MinimumMaintainedTemp, JacketedTracersReportFiveDegreesLess) {
  struct Row {
    int code;
    double expected;
  };
  const Row rows[] = {{0, 250}, {1, 250}, {2, 245}, {3, 245}, {4, 245}};
  for (const auto& r : rows)
    EXPECT_DOUBLE_EQ(StoredMinimumMaintainedTemp(250, InstallationFromCode(r.code, true)), r.expected)
        << r.code;
}

TEST(CondensateLoad, HeatPerTracerOverLatentHeat) {
  EXPECT_DOUBLE_EQ(HeatPerTracer(90, 3), 30);
  EXPECT_DOUBLE_EQ(HeatPerTracer(90, 1), 90);
  EXPECT_DOUBLE_EQ(CondensateLoad(90, 2, 900), 0.05);
}

TEST(TrapDistance, EachFrictionRegimeAndTheCap) {
  // Reference: independent double-precision evaluation of the same iteration;
  // the Reynolds number at the result names the friction branch.
  struct Row {
    double heat, psig;
    int tube;
    double wall;
    bool metric;
    double lengthFt;
  };
  const Row rows[] = {
      {74.63086754, 50, 0, 0.032, false, 144.38490313},  // Re 14547, turbulent
      {74.63086754, 50, 0, 0.049, false, 118.00485317},  // thicker wall, smaller bore
      {74.63086754, 50, 0, 1.0, true, 147.61375227},     // 10 mm tube, 1 mm wall
      {2, 5, 0, 0.049, false, 358.63257080},             // Re 1211, laminar
      {10, 5, 0, 0.049, false, 132.00234699},            // Re 2228, transition
      {200, 150, 1, 0.035, false, 261.56366743},         // 1/2 in tube
      {100, 150, 1, 0.035, false, 407.23987313},
      {50, 150, 1, 0.035, false, 500},  // 500 ft cap
      {1, 50, 0, 0.032, false, 500},
  };
  for (const auto& r : rows) {
    const TrapDistanceResult t = TrapDistance(r.heat, r.psig, r.tube, r.wall, r.metric);
    ASSERT_TRUE(t.converged) << r.heat << " BTU/hr-ft, " << r.psig << " psig";
    EXPECT_NEAR(t.lengthFt, r.lengthFt, 1e-6) << r.heat << " BTU/hr-ft, " << r.psig << " psig";
  }
}

TEST(TrapDistance, NoBoreHeatOrPressureIsNotConverged) {
  EXPECT_FALSE(TrapDistance(74.6, 50, 0, 0.1875, false).converged);  // wall closes the bore
  EXPECT_FALSE(TrapDistance(74.6, 50, 0, 5.0, true).converged);
  EXPECT_FALSE(TrapDistance(74.6, 50, 4, 0.032, false).converged);  // no such tube
  EXPECT_FALSE(TrapDistance(0, 50, 0, 0.032, false).converged);
  EXPECT_FALSE(TrapDistance(-3, 50, 0, 0.032, false).converged);
  EXPECT_FALSE(TrapDistance(74.6, 0, 0, 0.032, false).converged);
  EXPECT_FALSE(TrapDistance(std::nan(""), 50, 0, 0.032, false).converged);
}

// The wind estimate's bound on its error holds only while the series powers
// stay within a relative 2e-9 of the exact ones, over every Reynolds and
// Prandtl number the estimate takes (outside them SurfaceFlux decides).
TEST(PowerProduct, StaysWithinItsBoundOverTheEstimatesRanges) {
  double worst = 0.0;
  for (double reynolds = 1.0; reynolds <= 1e12; reynolds *= 1.37) {
    for (double prandtl = 1e-6; prandtl <= 1e6; prandtl *= 2.9) {
      const double exact = std::pow(reynolds, 0.805) * std::pow(prandtl, 0.33);
      worst = std::max(worst, std::fabs(PowerProduct(reynolds, 0.805, prandtl, 0.33) / exact - 1.0));
    }
  }
  EXPECT_LT(worst, 2e-9);
  EXPECT_GT(worst, 0.0);  // the series, not a call of pow
}

}  // namespace
}  // namespace vst
