// The heat-up time: the heat capacity of pipe, product and insulation per
// foot, the net heat the tracers put into the pipe, and the integral of the
// one over the other across the heat-up's temperatures.
#include "engine/heat_up.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "core/legacy_math.h"
#include "engine/design_limits.h"

namespace vst {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr const char* kDegree = "\xC2\xB0";  // U+00B0 in UTF-8

// Standard-weight walls of ASME B36.10M: outside diameter and wall, in.
struct StandardWall {
  double outsideDiameterIn;
  double wallIn;
};
constexpr std::array<StandardWall, 11> kStandardWalls{{
    {0.840, 0.109},
    {1.050, 0.113},
    {1.315, 0.133},
    {1.900, 0.145},
    {2.375, 0.154},
    {2.875, 0.203},
    {3.500, 0.216},
    {4.500, 0.237},
    {6.625, 0.280},
    {8.625, 0.322},
    {10.750, 0.365},
}};
// From 12 in nominal (limits::kTwelveInchPipeOdIn outside) upward the
// standard wall is 0.375 in.
constexpr double kLargePipeWallIn = 0.375;

// Density (lb/ft3) and specific heat (BTU/(lb F)) of the insulation types in
// list order. Typical values within the ranges of the material standards of
// each type; the heat-up takes half of the insulation's mass as heated with
// the pipe (its inner face reaches the pipe temperature, its outer face
// stays near the ambient).
constexpr std::array<InsulationStorage, 7> kInsulationStorage{{
    {14.5, 0.22},  // calcium silicate
    {5.0, 0.40},   // foamed elastomer
    {4.0, 0.20},   // fiberglass
    {8.0, 0.20},   // mineral fiber
    {7.5, 0.20},   // cellular glass
    {2.0, 0.35},   // polyisocyanurate
    {13.0, 0.20},  // expanded perlite
}};

// Gauss-Kronrod 7/15 nodes on [-1, 1] (the positive half; the Gauss nodes
// are the odd ones) and weights.
constexpr std::array<double, 8> kKronrodNodes{
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.000000000000000000000000000000000};
constexpr std::array<double, 8> kKronrodWeights{
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr std::array<double, 4> kGaussWeights{
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

constexpr int kMaxIntervals = 400;

struct Piece {
  double a = 0;
  double b = 0;
  double value = 0;
  double error = 0;
};

// One Gauss-Kronrod 7/15 estimate of the integral over [a, b], with the
// difference of the two rules as its error estimate.
bool KronrodPiece(const std::function<double(double)>& f, Piece& piece, int& evaluations) {
  const double centre = (piece.a + piece.b) / 2.0;
  const double half = (piece.b - piece.a) / 2.0;
  const double fc = f(centre);
  double kronrod = fc * kKronrodWeights[7];
  double gauss = fc * kGaussWeights[3];
  for (std::size_t i = 0; i < 7; ++i) {
    const double dx = half * kKronrodNodes[i];
    const double sum = f(centre - dx) + f(centre + dx);
    kronrod += kKronrodWeights[i] * sum;
    if (i % 2 == 1) gauss += kGaussWeights[i / 2] * sum;
  }
  evaluations += 15;
  piece.value = kronrod * half;
  piece.error = std::fabs((kronrod - gauss) * half);
  return std::isfinite(piece.value) && std::isfinite(piece.error);
}

// A temperature of the engine (F) as a message shows it in the unit system,
// to tenths, or to hundredths where tenths would not tell it from `other`.
std::string TemperatureText(double tempF, double otherF, UnitSystem units) {
  const bool metric = units == UnitSystem::Metric;
  const auto shown = [&](double f) { return metric ? (f - 32.0) * 5.0 / 9.0 : f; };
  const int decimals = FixedText(shown(tempF), 1) == FixedText(shown(otherF), 1) && tempF != otherF ? 2 : 1;
  return FixedText(shown(tempF), decimals) + " " + kDegree + (metric ? "C" : "F");
}

bool PositiveNumber(double value) { return std::isfinite(value) && value > 0.0; }

// The heat capacities per foot of pipe that do not depend on the product.
struct PipeStorage {
  double boreFt2 = 0;           // A
  double steelBtuFtF = 0;       // Wsteel cp,steel
  double insulationBtuFtF = 0;  // 1/2 Wins cp,ins
};

std::optional<PipeStorage> StorageOf(const HeatUpInput& in) {
  const auto wall = StandardWallIn(in.pipeOutsideDiameterIn);
  const auto insulation = InsulationStorageOf(in.insulation.type);
  if (!wall || !insulation) return std::nullopt;
  const double od = in.pipeOutsideDiameterIn;
  const double id = od - 2.0 * *wall;
  const double di = in.insulation.innerDiameterIn;
  const double dout = in.insulation.outerDiameterIn;
  if (!(id > 0.0) || !(dout > di) || !(di > 0.0)) return std::nullopt;
  PipeStorage s;
  s.boreFt2 = kPi / 4.0 * id * id / 144.0;
  s.steelBtuFtF = kPi / 4.0 * (od * od - id * id) / 144.0 * kSteelDensityLbFt3 * kSteelSpecificHeatBtuLbF;
  s.insulationBtuFtF = 0.5 * kPi / 4.0 * (dout * dout - di * di) / 144.0 * insulation->densityLbFt3 *
                       insulation->specificHeatBtuLbF;
  return s;
}

class HeatUp {
 public:
  explicit HeatUp(const HeatUpInput& input) : in_(input) {}

  HeatUpResult Run() {
    if (!Validate()) return std::move(result_);
    const auto storage = StorageOf(in_);
    if (!storage) return Fail("the pipe or insulation has no heat-up data");
    storage_ = *storage;
    result_.meanTempF = (in_.initialTempF + in_.finalTempF) / 2.0;
    result_.productAtMean = Product(result_.meanTempF);

    if (in_.initialTempF >= in_.finalTempF) return Computed(0.0, 0.0);
    if (in_.finalTempF >= in_.minMaintainedTempF) return CannotReach(in_.minMaintainedTempF);
    const auto atFinal = NetHeatIntoPipe(in_, in_.finalTempF);
    if (!atFinal) return Fail("the insulation's heat loss does not balance");
    if (*atFinal <= 0.0) return CannotReach(SettleTemperature());

    // The sensible heat, in pieces split where the product's properties
    // change their form, so each piece is smooth.
    std::vector<double> cuts = ProductPropertyBreaksF(in_.product);
    cuts.erase(std::remove_if(cuts.begin(), cuts.end(),
                              [&](double t) { return !(t > in_.initialTempF && t < in_.finalTempF); }),
               cuts.end());
    cuts.push_back(in_.initialTempF);
    cuts.push_back(in_.finalTempF);
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    // Q falls to 0 where the line settles, just beyond the final
    // temperature when that lies close to it, and M/Q then grows like
    // 1/(settle - T). The integral is taken in x = ln(r - T), with r where
    // the tangent of Q at the final temperature reaches 0 (beyond the final
    // temperature, as Q falls): dT = -(r - T) dx, and (r - T) M/Q is nearly
    // constant however close the final temperature lies to the settling one.
    const double stepF = std::min(1.0, (in_.finalTempF - in_.initialTempF) / 2.0);
    const auto before = NetHeatIntoPipe(in_, in_.finalTempF - stepF);
    const double slope = before ? (*atFinal - *before) / stepF : 0.0;  // BTU/(hr ft F)
    const double tangentZeroF = in_.finalTempF - *atFinal / slope;
    const bool logarithmic = slope < 0.0 && std::isfinite(tangentZeroF) && tangentZeroF > in_.finalTempF;

    bool balanced = true;
    const auto integrand = [&](double tempF) {
      const auto q = NetHeatIntoPipe(in_, tempF);
      if (!q || !(*q > 0.0)) {
        balanced = false;
        return std::nan("");
      }
      return HeatCapacity(tempF) / *q;
    };
    const auto inLogarithm = [&](double x) {
      const double distance = std::exp(x);
      return integrand(tangentZeroF - distance) * distance;
    };
    double sensible = 0.0;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
      const auto piece = logarithmic
                             ? IntegrateAdaptive(inLogarithm, std::log(tangentZeroF - cuts[i + 1]),
                                                 std::log(tangentZeroF - cuts[i]), kHeatUpRelativeTolerance)
                             : IntegrateAdaptive(integrand, cuts[i], cuts[i + 1], kHeatUpRelativeTolerance);
      if (!piece || !balanced) return Fail("the heat-up integral does not converge");
      sensible += piece->value;
    }

    double latent = 0.0;
    if (in_.phaseChangeTempF && in_.latentHeatBtuLb && *in_.phaseChangeTempF >= in_.initialTempF &&
        *in_.phaseChangeTempF <= in_.finalTempF) {
      const auto q = NetHeatIntoPipe(in_, *in_.phaseChangeTempF);
      if (!q || !(*q > 0.0)) return Fail("the insulation's heat loss does not balance");
      const double massLbFt = Product(*in_.phaseChangeTempF).densityLbFt3 * storage_.boreFt2;
      latent = massLbFt * *in_.latentHeatBtuLb / *q;
    }
    return Computed(sensible, latent);
  }

 private:
  bool Refuse(std::string message) {
    result_.end = HeatUpEnd::Refused;
    result_.message = std::move(message);
    return false;
  }
  HeatUpResult Fail(std::string_view reason) {
    result_.end = HeatUpEnd::Failed;
    result_.message = "The heat-up time could not be computed: " + std::string(reason) + ".";
    return std::move(result_);
  }
  HeatUpResult CannotReach(double settleF) {
    result_.end = HeatUpEnd::CannotReach;
    result_.settleTempF = settleF;
    result_.message = "The line cannot reach the final temperature of " +
                      TemperatureText(in_.finalTempF, settleF, in_.messageUnits) +
                      " at the minimum ambient: it settles at " +
                      TemperatureText(settleF, in_.finalTempF, in_.messageUnits) + ".";
    return std::move(result_);
  }
  HeatUpResult Computed(double sensible, double latent) {
    result_.end = HeatUpEnd::Computed;
    result_.integralHours = sensible;
    result_.phaseChangeHours = latent;
    result_.hours = sensible + latent;
    return std::move(result_);
  }

  bool CheckTemperature(std::optional<double> tempF, const char* field) {
    if (tempF && std::isfinite(*tempF) && InHeatUpRange(*tempF)) return true;
    return Refuse(std::string(field) + " must be between " + HeatUpRangeText(in_.messageUnits) + ".");
  }

  // The engineer's inputs, in the order of the fields on the tab.
  bool Validate() {
    if (in_.product < 0 || in_.product >= kHeatUpProducts) return Refuse("Product is not in the list.");
    if (!CheckTemperature(in_.initialTempF, "Initial Temp.")) return false;
    if (!CheckTemperature(in_.finalTempF, "Final Temp.")) return false;
    if (in_.product == kProductOther) {
      if (!PositiveNumber(in_.otherDensityLbFt3)) return Refuse("Density must be a number greater than 0.");
      if (!PositiveNumber(in_.otherSpecificHeatBtuLbF)) {
        return Refuse("Specific Heat must be a number greater than 0.");
      }
    }
    if (in_.latentHeatBtuLb && !in_.phaseChangeTempF) {
      return Refuse("Latent Heat needs a Phase Change Temp.");
    }
    if (in_.phaseChangeTempF && !CheckTemperature(in_.phaseChangeTempF, "Phase Change Temp.")) return false;
    if (in_.phaseChangeTempF &&
        !(in_.latentHeatBtuLb && std::isfinite(*in_.latentHeatBtuLb) && *in_.latentHeatBtuLb >= 0.0)) {
      return Refuse("Latent Heat must be a number not less than 0.");
    }
    // What the design ended with.
    if (!std::isfinite(in_.steamTempF) || !std::isfinite(in_.ambientF) ||
        !std::isfinite(in_.minMaintainedTempF) || !PositiveNumber(in_.totalConductance)) {
      result_.end = HeatUpEnd::Failed;
      result_.message = kNoHeatUpBalanceMessage;
      return false;
    }
    return true;
  }

  ProductProperties Product(double tempF) {
    if (in_.product == kProductOther) return {in_.otherDensityLbFt3, in_.otherSpecificHeatBtuLbF, false};
    ProductProperties p = ProductPropertiesAt(in_.product, tempF).value_or(ProductProperties{});
    if (p.heldAtRangeEnd) result_.outsideProductRange = true;
    return p;
  }

  double HeatCapacity(double tempF) {
    const ProductProperties p = Product(tempF);
    return storage_.steelBtuFtF + p.densityLbFt3 * storage_.boreFt2 * p.specificHeatBtuLbF +
           storage_.insulationBtuFtF;
  }

  // The temperature at which Q is 0, between the ambient and the steam:
  // Q falls as the pipe warms (less from the tracers, more lost).
  double SettleTemperature() const {
    double lo = in_.ambientF;
    double hi = in_.steamTempF;
    for (int step = 0; step < 200 && hi - lo > 1e-6; ++step) {
      const double mid = (lo + hi) / 2.0;
      const auto q = NetHeatIntoPipe(in_, mid);
      if (q && *q > 0.0) {
        lo = mid;
      } else {
        hi = mid;
      }
    }
    return lo;
  }

  const HeatUpInput& in_;
  HeatUpResult result_;
  PipeStorage storage_;
};

}  // namespace

std::optional<double> StandardWallIn(double pipeOutsideDiameterIn) {
  if (pipeOutsideDiameterIn >= limits::kTwelveInchPipeOdIn) return kLargePipeWallIn;
  for (const auto& row : kStandardWalls) {
    if (row.outsideDiameterIn == pipeOutsideDiameterIn) return row.wallIn;
  }
  return std::nullopt;
}

std::optional<InsulationStorage> InsulationStorageOf(int insulationType) {
  if (insulationType < 0 || insulationType >= static_cast<int>(kInsulationStorage.size()))
    return std::nullopt;
  return kInsulationStorage[static_cast<std::size_t>(insulationType)];
}

std::optional<double> NetHeatIntoPipe(const HeatUpInput& input, double pipeTempF) {
  // The loss by the design's surface balance, solved exactly: the integral
  // needs a smooth function of the pipe temperature.
  const SurfaceBalance surface = ExactInsulatedSurfaceBalance(pipeTempF, input.ambientF, input.insulation,
                                                              CaseAir(BalanceCase::MinimumMaintained));
  if (!surface.converged) return std::nullopt;
  const double q = input.totalConductance * (input.steamTempF - pipeTempF) - surface.heatLossBtuHrFt;
  if (!std::isfinite(q)) return std::nullopt;
  return q;
}

std::optional<Integral> IntegrateAdaptive(const std::function<double(double)>& f, double a, double b,
                                          double relativeTolerance) {
  Integral result;
  if (!(std::isfinite(a) && std::isfinite(b))) return std::nullopt;
  if (a == b) return result;
  std::vector<Piece> pieces{{a, b, 0, 0}};
  if (!KronrodPiece(f, pieces[0], result.evaluations)) return std::nullopt;
  const auto byError = [](const Piece& x, const Piece& y) { return x.error < y.error; };
  for (;;) {
    double value = 0.0;
    double error = 0.0;
    for (const Piece& p : pieces) {
      value += p.value;
      error += p.error;
    }
    result.value = value;
    result.errorEstimate = error;
    // Converged, or as accurate as double arithmetic of the integrand allows.
    if (error <= relativeTolerance * std::fabs(value) || error <= 1e-14 * std::fabs(value)) return result;
    if (static_cast<int>(pieces.size()) >= kMaxIntervals) return std::nullopt;
    auto worst = std::max_element(pieces.begin(), pieces.end(), byError);
    const double mid = (worst->a + worst->b) / 2.0;
    Piece right{mid, worst->b, 0, 0};
    worst->b = mid;
    if (!KronrodPiece(f, *worst, result.evaluations) || !KronrodPiece(f, right, result.evaluations)) {
      return std::nullopt;
    }
    pieces.push_back(right);
  }
}

std::optional<HeatUpInput> HeatUpConditionsOf(const DesignPassInput& design, const DesignPassResult& pass) {
  if (pass.end != PassEnd::Designed || !design.minAmbientF) return std::nullopt;
  const DesignOutputs& out = pass.outputs;
  HeatUpInput in;
  in.steamTempF = out.minimumCaseSteamTempF;
  in.ambientF = *design.minAmbientF;
  in.totalConductance = out.totalConductance;
  in.insulation = {design.insulationType, out.insulation.innerDiameterIn, out.insulation.outerDiameterIn};
  in.pipeOutsideDiameterIn = out.pipeOutsideDiameterIn;
  in.minMaintainedTempF = out.minMaintainedTempF;
  return in;
}

HeatUpResult HeatUpTime(const HeatUpInput& input) { return HeatUp(input).Run(); }

std::string HeatUpRangeText(UnitSystem units) {
  if (units == UnitSystem::Metric) return std::string("-73.3 and 871.1 ") + kDegree + "C";
  return std::string("-100 and 1600 ") + kDegree + "F";
}

bool InHeatUpRange(double tempF) { return tempF >= kHeatUpLowestF && tempF <= kHeatUpHighestF; }

}  // namespace vst
