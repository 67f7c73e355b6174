#include "engine/heat_transfer.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <type_traits>
#include <vector>

#include "core/units.h"
#include "engine/design_limits.h"
#include "engine/power_product.h"

namespace vst {
namespace {

// Every iteration below halves an interval (or averages toward a fixed
// point); a balance that has not met its tolerance after this many steps
// cannot meet it in double precision.
constexpr int kMaxIterations = 300;

bool Finite(double x) { return std::isfinite(x); }

// One row of a conductance table: pipe size (in) and the value per column.
template <std::size_t Columns>
struct ConductanceRow {
  double pipeSizeIn;
  std::array<double, Columns> value;
};

// Value of a column: exact size match among the rows; sizes at or above
// `lastRowFromIn` take `lastRow`; 0 otherwise.
template <std::size_t N, std::size_t Columns>
double LookUp(const std::array<ConductanceRow<Columns>, N>& rows, const std::array<double, Columns>& lastRow,
              double lastRowFromIn, double pipeSizeIn, std::size_t column) {
  if (column >= Columns || !Finite(pipeSizeIn)) return 0.0;
  if (pipeSizeIn >= lastRowFromIn) return lastRow[column];
  for (const auto& row : rows) {
    if (row.pipeSizeIn == pipeSizeIn) return row.value[column];
  }
  return 0.0;
}

// Troughline, columns t = 0, t = 1 or 2, t = 3.
constexpr std::array<ConductanceRow<3>, 13> kTroughline{{
    {0.5, {5.5, 0, 0}},
    {0.75, {5.2, 0, 0}},
    {1, {5, 0, 0}},
    {1.5, {4.5929, 4.5929, 0}},
    {2, {4.10089, 4.10089, 0}},
    {2.5, {3.7346, 3.7346, 0}},
    {3, {3.41728, 3.41728, 4.7075}},
    {4, {3.0612, 3.0612, 4.1805}},
    {6, {2.6464, 2.6464, 3.5908}},
    {8, {2.37395, 2.37395, 3.2134}},
    {10, {2.0055, 2.0055, 2.7125}},
    {12, {1.565, 1.565, 2.1156}},
    {14, {1.2944, 1.2944, 1.7493}},
}};
constexpr std::array<double, 3> kTroughlineFrom16{1.042, 1.042, 1.408};

// Fillet Trace, columns t = 0 to 3.
constexpr std::array<ConductanceRow<4>, 13> kFillet{{
    {0.5, {3.304, 4.4036, 0, 0}},
    {0.75, {3.1369, 4.1808, 0, 0}},
    {1, {2.9828, 3.9755, 0, 0}},
    {1.5, {2.7109, 3.6131, 4.51745, 5.4218}},
    {2, {2.4825, 3.3087, 4.1369, 4.9651}},
    {2.5, {2.29215, 3.055, 3.81965, 4.5843}},
    {3, {2.1346, 2.845, 3.5571, 4.2692}},
    {4, {1.9345, 2.5311, 3.16465, 3.7982}},
    {6, {1.63244, 2.1757, 2.7203, 3.2649}},
    {8, {1.4703, 1.9596, 2.4501, 2.9406}},
    {10, {1.2864, 1.7143, 2.1434, 2.5725}},
    {12, {1.0394, 1.3856, 1.73245, 2.0793}},
    {14, {0.7756, 1.0341, 1.29265, 1.5512}},
}};
constexpr std::array<double, 4> kFilletFrom16{0.625, 0.833, 1.0415, 1.25};

// Jacketed tubes, columns YJ-0 t = 0, YJ-0 t >= 1, YJ-1, YJ-2.
constexpr std::array<ConductanceRow<4>, 10> kJacketed{{
    {0.5, {0.554, 0.7096, 0.354, 0.2252}},
    {0.75, {0.544, 0.6895, 0.347, 0.2225}},
    {1, {0.533, 0.67, 0.34, 0.22}},
    {1.5, {0.517, 0.633, 0.327, 0.2149}},
    {2, {0.501, 0.599, 0.314, 0.2101}},
    {2.5, {0.485, 0.5676, 0.302, 0.2056}},
    {3, {0.47, 0.539, 0.291, 0.2013}},
    {4, {0.448, 0.49, 0.27, 0.1937}},
    {6, {0.402, 0.425, 0.2355, 0.189}},
    {8, {0.37, 0.415, 0.2105, 0.1723}},
}};
constexpr std::array<double, 4> kJacketedAbove8{0.37, 0.415, 0.21, 0.17};
// Where each jacketed column switches to its last row.
constexpr std::array<double, 4> kJacketedLastRowFromIn{8, 7, 9, 9};

double JacketedConductance(std::size_t column, double pipeSizeIn) {
  return LookUp(kJacketed, kJacketedAbove8, kJacketedLastRowFromIn[column], pipeSizeIn, column);
}

// Air properties at a film temperature (F), fits valid for -100 to 400 F.
double AirViscosity(double filmF) {  // lb/(ft hr)
  return 0.039399989 + 6.8999929e-05 * filmF - 5.9997703e-08 * filmF * filmF +
         2.4447414e-14 * filmF * filmF * filmF;
}
double AirConductivity(double filmF) {  // BTU/(hr ft F)
  return 0.013 + 2.5000056e-05 * filmF - 2.0000549e-08 * filmF * filmF -
         1.1117753e-14 * filmF * filmF * filmF;
}
double AirPrandtl(double filmF) {
  return 0.71799946 - 0.00018999659 * filmF + 1.0001456e-06 * filmF * filmF +
         8.0005726e-09 * filmF * filmF * filmF;
}
double AirDensity(double filmF) {  // lb/ft3, ideal gas at one atmosphere
  return 2116.0 / (53.3 * (filmF + 460.0));
}

}  // namespace

// The ambient's share of the radiation term, ((ambientF + 459.6) / 100)^4:
// the same for every surface temperature of one balance, so computed once.
double AmbientRadiation(double ambientF) { return std::pow(ambientF / 100.0 + 4.596, 4); }

// Heat the outer surface at surfaceF gives to the air at ambientF
// (BTU/(hr ft2)): forced or free convection plus radiation at emittance 0.12.
// `ambientRadiation` is AmbientRadiation(ambientF).
double SurfaceFlux(double surfaceF, double ambientF, double ambientRadiation, double outerDiameterFt,
                   Air air) {
  const double dT = surfaceF - ambientF;
  double convection = 0.0;
  if (air.still) {
    convection = 1.32 * std::pow(dT / outerDiameterFt, 0.25) * dT;
  } else {
    const double filmF = (surfaceF + ambientF) / 2.0;
    const double reynolds = AirDensity(filmF) * air.windFtPerHr * outerDiameterFt / AirViscosity(filmF);
    convection = 0.0266 * (AirConductivity(filmF) / outerDiameterFt) * std::pow(reynolds, 0.805) *
                 std::pow(AirPrandtl(filmF), 0.33) * dT;
  }
  const double radiation = 0.1714 * 0.12 * (std::pow((surfaceF + 459.6) / 100.0, 4) - ambientRadiation);
  return convection + radiation;
}

namespace {

// SurfaceFlux at a fraction of its cost, with a bound on how far it may lie
// from SurfaceFlux's value: the balance below asks only which side of the
// fluxes' balance a surface temperature lies on, and far from the balance
// the estimate answers that for sure. The powers in wind come from
// PowerProduct (within a relative 2e-9 of the exact ones), and the Reynolds
// number is gathered in another order (a few units in the last place); the
// bound allows 1e-7 of the convection, over forty times what these add up
// to, and 1e-12 of every term for the rounding of the double sums. Outside
// the ranges those figures hold for, the value is NaN and SurfaceFlux
// decides.
struct FluxEstimate {
  double value = 0.0;
  double bound = 0.0;
};

class FluxEstimator {
 public:
  FluxEstimator(double ambientF, double ambientRadiation, double outerDiameterFt, Air air)
      : ambientF_(ambientF),
        ambientRadiation_(ambientRadiation),
        still_(air.still),
        perDiameter_(1.0 / outerDiameterFt),
        convection_(0.0266 / outerDiameterFt),
        reynolds_(2116.0 / 53.3 * air.windFtPerHr * outerDiameterFt) {}

  FluxEstimate at(double surfaceF) const {
    constexpr double kNotEstimated = std::numeric_limits<double>::quiet_NaN();
    const double dT = surfaceF - ambientF_;
    double convection = 0.0;
    double convectionShare = 1e-12;  // the convection's relative error bound
    if (still_) {
      convection = 1.32 * std::sqrt(std::sqrt(dT * perDiameter_)) * dT;
    } else {
      // AirDensity * wind * D / AirViscosity with the constants gathered.
      const double filmF = (surfaceF + ambientF_) / 2.0;
      const double reynolds = reynolds_ / ((filmF + 460.0) * AirViscosity(filmF));
      const double prandtl = AirPrandtl(filmF);
      if (!(reynolds >= 1.0 && reynolds <= 1e12 && prandtl >= 1e-6 && prandtl <= 1e6)) {
        return {kNotEstimated, kNotEstimated};
      }
      convection = convection_ * AirConductivity(filmF) * PowerProduct(reynolds, 0.805, prandtl, 0.33) * dT;
      convectionShare = 1e-7;
    }
    const double x = (surfaceF + 459.6) / 100.0;
    const double fourth = (x * x) * (x * x);
    const double radiation = 0.1714 * 0.12 * (fourth - ambientRadiation_);
    const double magnitude = std::fabs(convection) + 0.1714 * 0.12 * (fourth + std::fabs(ambientRadiation_));
    return {convection + radiation, convectionShare * std::fabs(convection) + 1e-12 * magnitude};
  }

 private:
  double ambientF_;
  double ambientRadiation_;
  bool still_;
  double perDiameter_;  // 1 / D
  double convection_;   // 0.0266 / D
  double reynolds_;     // 2116 / 53.3 * wind * D
};

// Friction factor of the condensate flow in the tracer at a Reynolds number.
double FrictionFactor(double reynolds) {
  if (reynolds < 1400.0) return 64.0 / reynolds;
  if (reynolds < 4000.0) return 12.0615 / reynolds + 0.0370846;
  const double x = std::log(reynolds);
  return std::exp(0.70189 - 0.68416085 * x + 0.0300973 * x * x - 0.0005523924 * x * x * x);
}

}  // namespace

Installation InstallationFromCode(int installationCode, bool internalMode) {
  switch (installationCode) {
    case 0:
      return Installation::Troughline;
    case 1:
      return Installation::FilletTrace;
    case 2:
      return internalMode ? Installation::YJ0 : Installation::YJ1;
    case 3:
      return internalMode ? Installation::YJ1 : Installation::YJ2;
    case 4:
      return internalMode ? Installation::YJ2 : Installation::None;
    default:
      return Installation::None;
  }
}

int InstallationCode(Installation installation, bool internalMode) {
  switch (installation) {
    case Installation::Troughline:
      return 0;
    case Installation::FilletTrace:
      return 1;
    case Installation::YJ0:
      return internalMode ? 2 : -1;
    case Installation::YJ1:
      return internalMode ? 3 : 2;
    case Installation::YJ2:
      return internalMode ? 4 : 3;
    case Installation::None:
      break;
  }
  return -1;
}

namespace {

// The last answers of one of the steam property fits, by the argument's bits.
// A design asks each fit the same few pressures and temperatures again and
// again (every trap distance step, every pass), and each answer costs up to
// five calls of pow.
class RecentAnswers {
 public:
  template <class Fit>
  double operator()(double x, Fit fit) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    for (std::size_t i = 0; i < used_; ++i) {
      if (args_[i] == bits) return values_[i];
    }
    const double value = fit(x);
    args_[next_] = bits;
    values_[next_] = value;
    next_ = (next_ + 1) % args_.size();
    if (used_ < args_.size()) ++used_;
    return value;
  }

 private:
  std::array<std::uint64_t, 8> args_{};
  std::array<double, 8> values_{};
  std::size_t used_ = 0;
  std::size_t next_ = 0;
};

}  // namespace

double SteamSaturationTemp(double p) {
  thread_local RecentAnswers recent;
  return recent(p, [](double p) {
    return 212.02533 + 2.5396373 * p - 0.021916074 * p * p + 0.00012451976 * std::pow(p, 3) -
           3.8620637e-07 * std::pow(p, 4) + 5.8865237e-10 * std::pow(p, 5) - 3.4051215e-13 * std::pow(p, 6);
  });
}

double LatentHeat(double t) {
  thread_local RecentAnswers recent;
  return recent(t, [](double t) {
    return 1084.8987 - 0.44784065 * t - 0.00053384075 * t * t + 8.68044e-07 * std::pow(t, 3) -
           1.9497734e-09 * std::pow(t, 4);
  });
}

double SteamViscosity(double t) {
  thread_local RecentAnswers recent;
  return recent(t, [](double t) {
    return 0.007282541 + 3.0227503e-05 * t - 1.1904735e-08 * t * t + 5.1851828e-11 * std::pow(t, 3);
  });
}

double SteamDensity(double p) {
  thread_local RecentAnswers recent;
  return recent(p, [](double p) {
    return 0.037152922 + 0.0023322284 * p - 1.9091693e-06 * p * p + 6.217961e-09 * std::pow(p, 3) -
           6.498887e-12 * std::pow(p, 4);
  });
}

namespace {

// The conductivity fits (BTU/(hr ft F)) of the insulation types, by list
// position: polynomial coefficients of the mean temperature (F), constant
// term first.
constexpr std::array<std::array<double, 5>, 7> kConductivityFits{{
    {0.0304762, 3.43254e-05, 9.92063e-09, 0, 0},                        // calcium silicate
    {0.021292, 4.0178e-05, -3.7919e-08, -2.6876e-10, 0},                // foamed elastomer
    {0.0173, 2e-05, 1e-07, 0, 0},                                       // fiberglass
    {0.0179, 3e-05, 6e-08, 0, 0},                                       // mineral fiber
    {0.0296, 4e-05, 8e-08, 0, 0},                                       // cellular glass
    {0.0161756, -3.49978e-06, 3.47859e-08, 2.08344e-09, -6.88509e-12},  // polyisocyanurate
    {0.035476, 4.4643e-05, -8.4703e-22, 0, 0},                          // expanded perlite
}};

const std::array<double, 5>* ConductivityFit(int insulationType) {
  if (insulationType < 0 || insulationType >= static_cast<int>(kConductivityFits.size())) return nullptr;
  return &kConductivityFits[static_cast<std::size_t>(insulationType)];
}

}  // namespace

double InsulationConductivity(int insulationType, double t) {
  const std::array<double, 5>* fit = ConductivityFit(insulationType);
  if (!fit) return 0.0;
  const std::array<double, 5>& c = *fit;
  // Term by term from the constant up, the square as (c t) t and the higher
  // powers through pow: the order the fits have always been summed in, on
  // which the last digit of every design depends.
  double k = c[0] + c[1] * t + c[2] * t * t;
  if (c[3] != 0.0) k += c[3] * std::pow(t, 3);
  if (c[4] != 0.0) k += c[4] * std::pow(t, 4);
  return k;
}

namespace {

// Bounds of the fit c over mean temperatures [fromF, toF] (fromF <= toF).
// A quadratic takes its extremes at the ends or at its vertex; a cubic or
// quartic is bounded by interval arithmetic term by term (t^2 and t^4 least
// at 0 when the range spans it, t^3 rising throughout), wider but safe.
// Then room for the rounding of these sums and of the fit as
// InsulationConductivity evaluates it (a few units in the last place of
// each term).
ConductivityRange FitRange(const std::array<double, 5>& c, double fromF, double toF) {
  double lo = 0.0;
  double hi = 0.0;
  if (c[3] == 0.0 && c[4] == 0.0) {
    const auto at = [&c](double t) { return c[0] + (c[1] + c[2] * t) * t; };
    lo = std::min(at(fromF), at(toF));
    hi = std::max(at(fromF), at(toF));
    if (c[2] != 0.0) {
      const double vertex = -c[1] / (2.0 * c[2]);
      if (vertex > fromF && vertex < toF) {
        lo = std::min(lo, at(vertex));
        hi = std::max(hi, at(vertex));
      }
    }
  } else {
    lo = c[0];
    hi = c[0];
    const auto add = [&](double coefficient, double least, double most) {
      if (coefficient >= 0.0) {
        lo += coefficient * least;
        hi += coefficient * most;
      } else {
        lo += coefficient * most;
        hi += coefficient * least;
      }
    };
    const double squareLo = fromF >= 0.0 ? fromF * fromF : (toF <= 0.0 ? toF * toF : 0.0);
    const double squareHi = std::max(fromF * fromF, toF * toF);
    add(c[1], fromF, toF);
    add(c[2], squareLo, squareHi);
    add(c[3], fromF * fromF * fromF, toF * toF * toF);
    add(c[4], squareLo * squareLo, squareHi * squareHi);
  }
  const double t = std::max(std::fabs(fromF), std::fabs(toF));
  const double slack =
      1e-12 * (std::fabs(c[0]) +
               t * (std::fabs(c[1]) + t * (std::fabs(c[2]) + t * (std::fabs(c[3]) + t * std::fabs(c[4])))));
  return {lo - slack, hi + slack};
}

}  // namespace

std::optional<ConductivityRange> InsulationConductivityRange(int insulationType, double fromF, double toF) {
  const std::array<double, 5>* fit = ConductivityFit(insulationType);
  if (!fit || !(fromF <= toF) || !Finite(fromF) || !Finite(toF)) return std::nullopt;
  return FitRange(*fit, fromF, toF);
}

double TracerConductance(Installation installation, double pipeSizeIn, int tubeIndex, bool k90InUse) {
  if (tubeIndex < 0 || tubeIndex > 3) return 0.0;
  const auto t = static_cast<std::size_t>(tubeIndex);
  switch (installation) {
    case Installation::Troughline: {
      const std::size_t column = t == 0 ? 0 : (t == 3 ? 2 : 1);
      const double value = LookUp(kTroughline, kTroughlineFrom16, 16.0, pipeSizeIn, column);
      return k90InUse ? 0.75 * value : value;
    }
    case Installation::FilletTrace:
      return LookUp(kFillet, kFilletFrom16, 16.0, pipeSizeIn, t);
    case Installation::YJ0:
      return JacketedConductance(t == 0 ? 0 : 1, pipeSizeIn);
    case Installation::YJ1:
      return JacketedConductance(2, pipeSizeIn);
    case Installation::YJ2:
      return JacketedConductance(3, pipeSizeIn);
    case Installation::None:
      break;
  }
  return 0.0;
}

double TotalConductance(double conductancePerTracer, int passes) {
  return passes > 1 ? conductancePerTracer * passes : conductancePerTracer;
}

float TracerHeatInput(double steamTempF, double pipeSizeIn, double pipeTempF, Installation installation,
                      int tubeIndex, int passes, bool k90InUse) {
  const double cp1 = TracerConductance(installation, pipeSizeIn, tubeIndex, k90InUse);
  return static_cast<float>((steamTempF - pipeTempF) * TotalConductance(cp1, passes));
}

namespace {

// What a surface balance needs besides the pipe temperature, worked out once
// for all the balances of one pipe temperature bisection.
struct SurfaceSetup {
  SurfaceSetup(double ambientF, const Insulation& insulation, Air air, double tolerance)
      : ambientF(ambientF),
        insulationType(insulation.type),
        equivalentThicknessFt((insulation.outerDiameterIn / 24.0) *
                              std::log(insulation.outerDiameterIn / insulation.innerDiameterIn)),
        area(3.1416 * insulation.outerDiameterIn / 12.0),
        outerDiameterFt(insulation.outerDiameterIn / 12.0),
        air(air),
        tolerance(tolerance),
        ambientRadiation(AmbientRadiation(ambientF)),
        estimator(ambientF, ambientRadiation, outerDiameterFt, air),
        conductivityFit(ConductivityFit(insulation.type)) {}

  bool usable() const {
    return Finite(equivalentThicknessFt) && Finite(area) && outerDiameterFt > 0.0 && Finite(ambientF);
  }

  double ambientF;
  int insulationType;
  double equivalentThicknessFt;
  double area;
  double outerDiameterFt;
  Air air;
  double tolerance;
  double ambientRadiation;
  FluxEstimator estimator;
  const std::array<double, 5>* conductivityFit;  // null for an unknown type
};

// The heat conducted through the insulation from a pipe at pipeTempF to its
// outer surface at surfaceF: the resistance R (hr ft2 F/BTU, per unit of
// outer area, with the air film's 0.5) at the insulation's mean temperature
// and the flux qin = (pipe - surface) / R.
struct ConductedFlux {
  double resistance;
  double flux;
};
ConductedFlux ConductedThroughInsulation(const SurfaceSetup& setup, double pipeTempF, double surfaceF) {
  const double k = InsulationConductivity(setup.insulationType, (pipeTempF + surfaceF) / 2.0);
  const double r = setup.equivalentThicknessFt / k + 0.5;
  return {r, (pipeTempF - surfaceF) / r};
}

// The bisection for the surface temperature at one pipe temperature, a step
// at a time: the pipe temperature balance may stop it early, once the
// bracket it has narrowed to settles the pipe temperature step (see
// SideOfBalance), and otherwise runs it to its end.
class SurfaceBisection {
 public:
  enum class State { Running, Converged, Failed };

  SurfaceBisection(const SurfaceSetup& setup, double pipeTempF)
      : setup_(setup), pipeTempF_(pipeTempF), lo_(setup.ambientF), hi_(pipeTempF) {
    if (!setup.usable() || !Finite(pipeTempF)) state_ = State::Failed;
  }

  State state() const { return state_; }
  // The surface temperature the bisection will end at, if it converges,
  // lies strictly between these two: it is a midpoint of them or of a part.
  double lo() const { return lo_; }
  double hi() const { return hi_; }
  const SurfaceBalance& result() const { return result_; }

  State run() {
    while (state_ == State::Running) step();
    return state_;
  }

  State step() {
    if (state_ != State::Running) return state_;
    if (steps_++ == kMaxIterations) return state_ = State::Failed;
    const double ts = (lo_ + hi_) / 2.0;
    const auto [r, qin] = ConductedThroughInsulation(setup_, pipeTempF_, ts);
    if (!Finite(r) || !Finite(qin)) return state_ = State::Failed;
    // Far from the balance the estimate tells the side for sure (the exact
    // difference is beyond the tolerance and of the same sign); close to it,
    // that the exact difference is within the tolerance.
    const FluxEstimate estimate = setup_.estimator.at(ts);
    const double estimatedMiss = std::fabs(qin - estimate.value);
    const double doubt = estimate.bound + std::fabs(qin) * 1e-12;
    if (estimatedMiss - doubt > setup_.tolerance && estimatedMiss - doubt > 0.0) {
      (qin > estimate.value ? lo_ : hi_) = ts;
      return state_;
    }
    if (estimatedMiss + doubt < setup_.tolerance) return converge(ts, r, qin);
    const double qout =
        SurfaceFlux(ts, setup_.ambientF, setup_.ambientRadiation, setup_.outerDiameterFt, setup_.air);
    if (!Finite(qout)) return state_ = State::Failed;
    if (std::fabs(qin - qout) < setup_.tolerance) return converge(ts, r, qin);
    (qin > qout ? lo_ : hi_) = ts;
    return state_;
  }

 private:
  State converge(double ts, double r, double qin) {
    result_.converged = true;
    result_.surfaceTempF = ts;
    result_.resistance = r;
    result_.areaPerFt = setup_.area;
    result_.heatLossBtuHrFt = qin * setup_.area;
    return state_ = State::Converged;
  }

  const SurfaceSetup& setup_;
  double pipeTempF_;
  double lo_;
  double hi_;
  int steps_ = 0;
  State state_ = State::Running;
  SurfaceBalance result_;
};

SurfaceBalance BalanceSurface(const SurfaceSetup& setup, double pipeTempF) {
  SurfaceBisection bisection(setup, pipeTempF);
  bisection.run();
  return bisection.result();
}

// The surface balance solved to the limit of double precision: the surface
// temperature between the pipe's and the ambient's (either may be the
// warmer) where the conducted flux equals the flux to the air, by a
// bracketed secant (the Illinois variant), a few steps where the bisection
// takes dozens.
SurfaceBalance ExactSurfaceBalance(const SurfaceSetup& setup, double pipeTempF) {
  SurfaceBalance result;
  if (!setup.usable() || !Finite(pipeTempF)) return result;
  // The conducted flux less the flux to the air; not a number where the
  // insulation has no conductivity (an unknown type). `conductedFlux` keeps the
  // conducted flux, which the stop test weighs the miss against.
  double conductedFlux = 0.0;
  const auto miss = [&](double ts) {
    const ConductedFlux through = ConductedThroughInsulation(setup, pipeTempF, ts);
    conductedFlux = through.flux;
    if (!Finite(through.resistance)) return std::nan("");
    return through.flux -
           SurfaceFlux(ts, setup.ambientF, setup.ambientRadiation, setup.outerDiameterFt, setup.air);
  };
  double a = setup.ambientF;
  double b = pipeTempF;
  double fa = miss(a);
  double fb = miss(b);
  int side = 0;
  for (int step = 0; step < kMaxIterations && fa != 0.0 && a != b; ++step) {
    if (!Finite(fa) || !Finite(fb) || (fa > 0.0) == (fb > 0.0)) return result;
    const double c = (a * fb - b * fa) / (fb - fa);
    const double fc = miss(c);
    if (!Finite(fc)) return result;
    // Balanced to rounding: no miss, a bracket as narrow as the numbers, or
    // a miss below rounding of the conducted flux.
    if (fc == 0.0 || std::fabs(b - a) <= 1e-12 * (std::fabs(a) + std::fabs(b) + 1.0) ||
        std::fabs(fc) <= 1e-12 * (std::fabs(conductedFlux) + 1.0)) {
      a = c;
      fa = 0.0;
      break;
    }
    if ((fc > 0.0) == (fb > 0.0)) {
      b = c;
      fb = fc;
      if (side == -1) fa /= 2.0;
      side = -1;
    } else {
      a = c;
      fa = fc;
      if (side == 1) fb /= 2.0;
      side = 1;
    }
  }
  if (fa != 0.0 && a != b) return result;
  const ConductedFlux conducted = ConductedThroughInsulation(setup, pipeTempF, a);
  if (!Finite(conducted.flux) || !Finite(conducted.resistance)) return result;
  result.converged = true;
  result.surfaceTempF = a;
  result.resistance = conducted.resistance;
  result.areaPerFt = setup.area;
  result.heatLossBtuHrFt = conducted.flux * setup.area;
  return result;
}

}  // namespace

SurfaceBalance ExactInsulatedSurfaceBalance(double pipeTempF, double ambientF, const Insulation& insulation,
                                            Air air) {
  return ExactSurfaceBalance(SurfaceSetup(ambientF, insulation, air, 0.0), pipeTempF);
}

SurfaceBalance InsulatedSurfaceBalance(double pipeTempF, double ambientF, const Insulation& insulation,
                                       Air air, double tolerance) {
  return BalanceSurface(SurfaceSetup(ambientF, insulation, air, tolerance), pipeTempF);
}

Air CaseAir(BalanceCase balanceCase) {
  return balanceCase == BalanceCase::MaximumMaintained ? Air::Still() : Air::Wind(kDesignWindFtPerHr);
}

double CaseTolerance(BalanceCase balanceCase) {
  return balanceCase == BalanceCase::MaximumMaintained ? 0.5 : 0.3;
}

namespace {

// The inputs of one pipe temperature balance, compared bit for bit.
struct BalanceKey {
  std::array<double, 5> value{};
  std::int32_t balanceCase = -1;
  std::int32_t insulationType = 0;

  bool operator==(const BalanceKey& other) const {
    return balanceCase == other.balanceCase && insulationType == other.insulationType &&
           std::memcmp(value.data(), other.value.data(), sizeof value) == 0;
  }
  std::uint64_t hash() const {
    std::uint64_t h =
        static_cast<std::uint64_t>(balanceCase) * 31u + static_cast<std::uint32_t>(insulationType);
    for (double v : value) {
      std::uint64_t bits = 0;
      std::memcpy(&bits, &v, sizeof bits);
      h = (h ^ bits) * 0x9E3779B97F4A7C15ull;
      h ^= h >> 29;
    }
    return h;
  }
};

// Balances already found in this process. A balance is a pure function of
// its inputs, and a line list repeats the same pipe, insulation, steam and
// ambient over and over, so a row often finds its three balances here. The
// rows of a list are designed on several threads at once, which share the
// table: each set of slots is guarded by one of a few locks, held only to
// look a balance up or keep one (never while one is computed).
// The table has a fixed size, so memory stays flat however long the list: a
// key may sit in any of the four slots of its set, and a new balance in a full
// set replaces the one kept longest. The slots come zeroed from the system
// in huge pages where it has them: the balances of a list land at random
// all over the table's 5 MB, and in pages of 4 KB the first touch of each
// page (a fault and a zeroed page, some 1,300 of them) cost a short list more
// than its balances.
class BalanceMemo {
 public:
  BalanceMemo() : next_(kSets, 0) {
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    const std::size_t bytes = (kSets * kWays * sizeof(Slot) + kHugePage - 1) / kHugePage * kHugePage;
    // Room to start the table on a huge page boundary.
    mappedBytes_ = bytes + kHugePage;
    mapped_ = mmap(nullptr, mappedBytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped_ == MAP_FAILED) throw std::bad_alloc();
    const auto start = (reinterpret_cast<std::uintptr_t>(mapped_) + kHugePage - 1) / kHugePage * kHugePage;
    slots_ = reinterpret_cast<Slot*>(start);
    madvise(slots_, bytes, MADV_HUGEPAGE);  // a hint: small pages work the same, only slower
  }
  ~BalanceMemo() { munmap(mapped_, mappedBytes_); }
  BalanceMemo(const BalanceMemo&) = delete;
  BalanceMemo& operator=(const BalanceMemo&) = delete;

  bool find(const BalanceKey& key, PipeBalance& balance) const {
    const std::size_t index = SetOf(key);
    std::lock_guard<std::mutex> lock(locks_[index % kLocks]);
    const Slot* set = &slots_[index * kWays];
    for (std::size_t way = 0; way < kWays; ++way) {
      if (set[way].used && set[way].key == key) {
        balance = set[way].balance;
        return true;
      }
    }
    return false;
  }
  void keep(const BalanceKey& key, const PipeBalance& balance) {
    const std::size_t index = SetOf(key);
    std::lock_guard<std::mutex> lock(locks_[index % kLocks]);
    Slot* set = &slots_[index * kWays];
    std::size_t way = 0;
    while (way < kWays && set[way].used) ++way;
    if (way == kWays) {
      way = next_[index];
      next_[index] = static_cast<std::uint8_t>((way + 1) % kWays);
    }
    set[way] = {true, key, balance};
  }

 private:
  static constexpr std::size_t kSets = 16384;
  static constexpr std::size_t kWays = 4;
  static constexpr std::size_t kLocks = 64;
  static std::size_t SetOf(const BalanceKey& key) { return key.hash() & (kSets - 1); }
  struct Slot {
    bool used;
    BalanceKey key;
    PipeBalance balance;
  };
  static_assert(std::is_trivially_copyable_v<Slot>);
  void* mapped_ = nullptr;
  std::size_t mappedBytes_ = 0;
  Slot* slots_ = nullptr;
  std::vector<std::uint8_t> next_;  // per set: the way to replace next
  mutable std::array<std::mutex, kLocks> locks_;
};

// Where the pipe temperature balance lies from the pipe temperature tp for
// every surface temperature in (lo, hi), the bracket a surface bisection at
// tp has narrowed to: +1 when the balanced temperature (the tracers' heat
// against the loss, BalancePipeTemperature's tb) is surely above tp by more
// than the tolerance, -1 when surely below by more, 0 when the bracket does
// not tell. With tb = S - (S - ts) w, w = L / (C + L), the loss conductance
// L = A / (E / k + 0.5) rising with the conductivity k, tb is least at the
// bracket's cold end with the largest k and greatest at its warm end with
// the least. It answers only where no step left in the bisection could
// fail (k positive, air fits within their range), so that stopping it early
// changes no outcome.
int SideOfBalance(const SurfaceSetup& setup, double tp, double lo, double hi, double steamF,
                  double conductance) {
  if (!(lo >= setup.ambientF && lo <= hi && hi < steamF) || !(setup.equivalentThicknessFt > 0.0) ||
      !(setup.area > 0.0)) {
    return 0;
  }
  if (!setup.air.still && !(lo + setup.ambientF >= 2.0 * -100.0 && hi + setup.ambientF <= 2.0 * 400.0))
    return 0;
  if (!setup.conductivityFit) return 0;
  const ConductivityRange k = FitRange(*setup.conductivityFit, (tp + lo) / 2.0, (tp + hi) / 2.0);
  if (!(k.lo > 0.0) || !Finite(k.hi)) return 0;
  const double lossMin = setup.area / (setup.equivalentThicknessFt / k.lo + 0.5);
  const double lossMax = setup.area / (setup.equivalentThicknessFt / k.hi + 0.5);
  const double tbMin = steamF - (steamF - lo) * (lossMax / (conductance + lossMax));
  const double tbMax = steamF - (steamF - hi) * (lossMin / (conductance + lossMin));
  // The tolerance, and room for the rounding of tb and of these bounds.
  const double margin = setup.tolerance + 1e-9 * (std::fabs(steamF) + std::fabs(tp) + 1.0);
  if (tp < tbMin - margin) return 1;
  if (tp > tbMax + margin) return -1;
  return 0;
}

PipeBalance BalancePipeTemperature(BalanceCase balanceCase, double steamTempF, double ambientF,
                                   double totalConductance, const Insulation& insulation);

}  // namespace

PipeBalance PipeTemperatureBalance(BalanceCase balanceCase, double steamTempF, double ambientF,
                                   double totalConductance, const Insulation& insulation) {
  static BalanceMemo memo;
  BalanceKey key;
  key.value = {steamTempF, ambientF, totalConductance, insulation.innerDiameterIn,
               insulation.outerDiameterIn};
  key.balanceCase = static_cast<std::int32_t>(balanceCase);
  key.insulationType = insulation.type;
  PipeBalance balance;
  if (memo.find(key, balance)) return balance;
  balance = BalancePipeTemperature(balanceCase, steamTempF, ambientF, totalConductance, insulation);
  memo.keep(key, balance);
  return balance;
}

namespace {

PipeBalance BalancePipeTemperature(BalanceCase balanceCase, double steamTempF, double ambientF,
                                   double totalConductance, const Insulation& insulation) {
  PipeBalance result;
  const Air air = CaseAir(balanceCase);
  const double tolerance = CaseTolerance(balanceCase);
  // Without tracer conductance (no table row for the combination) the pipe
  // would only settle at the ambient; that is no design.
  if (!Finite(steamTempF) || !Finite(ambientF) || !(totalConductance > 0.0) || !Finite(totalConductance)) {
    return result;
  }
  const SurfaceSetup surfaceSetup(ambientF, insulation, air, tolerance);
  double lo = ambientF;
  double hi = steamTempF;
  for (int step = 0; step < kMaxIterations; ++step) {
    double tp = (lo + hi) / 2.0;
    if (tp <= ambientF) tp = ambientF + 1.0;
    // The surface bisection runs only as far as this step needs: to its end
    // where tp may be the answer, until its bracket settles the side otherwise.
    SurfaceBisection bisection(surfaceSetup, tp);
    int side = 0;
    while (bisection.state() == SurfaceBisection::State::Running &&
           (side = SideOfBalance(surfaceSetup, tp, bisection.lo(), bisection.hi(), steamTempF,
                                 totalConductance)) == 0) {
      bisection.step();
    }
    if (side != 0) {
      (side > 0 ? lo : hi) = tp;
      continue;
    }
    if (bisection.state() != SurfaceBisection::State::Converged) return result;
    const SurfaceBalance& surface = bisection.result();
    const double lossConductance = surface.areaPerFt / surface.resistance;
    const double tb = (totalConductance * steamTempF + surface.surfaceTempF * lossConductance) /
                      (totalConductance + lossConductance);
    if (!Finite(tb)) return result;
    if (std::fabs(tp - tb) < tolerance) {
      result.converged = true;
      result.pipeTempF = tp;
      result.heatLossBtuHrFt = surface.heatLossBtuHrFt;
      return result;
    }
    if (tp < tb) {
      lo = tp;
    } else {
      hi = tp;
    }
  }
  return result;
}

}  // namespace

double StoredMinimumMaintainedTemp(double balancedPipeTempF, Installation installation) {
  return IsJacketed(installation) ? balancedPipeTempF - limits::kJacketedMinimumMarginF : balancedPipeTempF;
}

double HeatPerTracer(double designHeatLossBtuHrFt, int passes) {
  return designHeatLossBtuHrFt / (passes > 1 ? passes : 1);
}

double CondensateLoad(double designHeatLossBtuHrFt, int passes, double latentHeatBtuLb) {
  return HeatPerTracer(designHeatLossBtuHrFt, passes) / latentHeatBtuLb;
}

double TubeOutsideDiameter(int tubeIndex, bool metric) {
  constexpr std::array<double, 4> kInches{0.375, 0.5, 0.625, 0.75};
  constexpr std::array<double, 4> kMillimetres{10, 12, 16, 20};
  if (tubeIndex < 0 || tubeIndex > 3) return 0.0;
  return (metric ? kMillimetres : kInches)[static_cast<std::size_t>(tubeIndex)];
}

TrapDistanceResult TrapDistance(double heatPerTracerBtuHrFt, double pressurePsig, int tubeIndex,
                                double wallThickness, bool metric) {
  TrapDistanceResult result;
  const double insideDiameter = TubeOutsideDiameter(tubeIndex, metric) - 2.0 * wallThickness;
  // Without bore, heat or pressure there is no condensate flow to size.
  if (!(insideDiameter > 0.0) || !(heatPerTracerBtuHrFt > 0.0) || !Finite(heatPerTracerBtuHrFt) ||
      !(pressurePsig > 0.0) || !Finite(pressurePsig)) {
    return result;
  }
  const double boreFt = (metric ? InchesFromMillimetres(insideDiameter) : insideDiameter) / 12.0;
  const double flowArea = 3.1416 * boreFt * boreFt / 4.0;
  const double hfg = LatentHeat(SteamSaturationTemp(pressurePsig));
  const double viscosity = SteamViscosity(SteamSaturationTemp(0.95 * pressurePsig));
  const double density = SteamDensity(0.95 * pressurePsig);
  double length = 50.0;
  for (int step = 0; step < kMaxIterations; ++step) {
    const double condensate = heatPerTracerBtuHrFt * length / hfg;  // lb/hr
    const double reynolds = 0.526 * condensate / (boreFt * viscosity);
    const double velocity = condensate / (3600.0 * density * flowArea);
    const double friction = FrictionFactor(reynolds);
    const double allowed =
        (boreFt * 1.8 * 32.174 * 144.0 * 0.1 * pressurePsig) / (friction * density * velocity * velocity);
    if (!Finite(allowed) || !Finite(length)) return result;
    if (std::fabs(length - allowed) <= 0.5) {
      result.converged = true;
      result.lengthFt = length > kMaxTrapDistanceFt ? kMaxTrapDistanceFt : length;
      return result;
    }
    length = (length + allowed) / 2.0;
  }
  return result;
}

}  // namespace vst
