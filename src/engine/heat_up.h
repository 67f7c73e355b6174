// Heat-up time of a traced line: how long the tracers take to bring a cold
// pipe full of product from an initial to a final temperature, per foot of
// pipe, at the conditions of the design's minimum maintained temperature.
//
// The model:
//   net heat into the pipe at pipe temperature T (BTU/(hr ft))
//     Q(T) = C (Ts - T) - L(T)
//   with C the tracers' total conductance, Ts the steam temperature of the
//   minimum case and L(T) the heat lost through the insulation to the
//   minimum ambient in the design wind, from the engine's surface balance
//   solved to a tight tolerance;
//   heat capacity per foot of pipe (BTU/(ft F))
//     M(T) = Wsteel cp,steel + rho(T) A cp(T) + 1/2 Wins cp,ins
//   the steel of a standard-weight pipe, the product filling the bore A and
//   half of the insulation's mass;
//   heat-up time (hr)
//     t = integral from Tinitial to Tfinal of M(T) / Q(T) dT
//         + m lambda / Q(Tpc)   for a phase change at Tinitial <= Tpc <= Tfinal
//   with m the product's mass per foot and lambda its latent heat.
// Not in the model: the tracers' and fittings' mass, the time the steam
// supply takes to come up, temperature differences along the line.
//
// English units throughout: temperatures F, diameters in, densities
// lb/ft3, specific heats BTU/(lb F), latent heats BTU/lb, time hr.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/design_record.h"
#include "engine/design_pass.h"
#include "engine/heat_transfer.h"
#include "engine/heat_up_products.h"

namespace vst {

// Carbon steel of the pipe wall.
inline constexpr double kSteelDensityLbFt3 = 490.0;
inline constexpr double kSteelSpecificHeatBtuLbF = 0.12;

// Wall thickness (in) of the standard-weight pipe (ASME B36.10M) of an
// outside diameter (in); nothing for an outside diameter below 0.840 in
// that is not in the table. From 12 in (12.75 in outside) upward the wall is
// 0.375 in.
std::optional<double> StandardWallIn(double pipeOutsideDiameterIn);

// Density and specific heat of an insulation type (index 0 to 6) for the
// heat it stores; nothing for another index.
struct InsulationStorage {
  double densityLbFt3 = 0;
  double specificHeatBtuLbF = 0;
};
std::optional<InsulationStorage> InsulationStorageOf(int insulationType);

// The temperature range of the heat-up fields, F, both inclusive.
inline constexpr double kHeatUpLowestF = -100.0;
inline constexpr double kHeatUpHighestF = 1600.0;
// Whether a temperature (F) lies in that range; the range as the messages
// give it in a unit system ("-100 and 1600 °F", "-73.3 and 871.1 °C").
bool InHeatUpRange(double tempF);
std::string HeatUpRangeText(UnitSystem units);

// What the design ended with, and what the engineer entered for the heat-up.
struct HeatUpInput {
  // The design, at its minimum maintained temperature case.
  double steamTempF = 0;             // Ts: the steam temperature of the minimum case
  double ambientF = 0;               // the minimum ambient
  double totalConductance = 0;       // C: all tracers into the pipe, BTU/(hr ft F)
  Insulation insulation;             // type, inner and outer diameter as sized
  double pipeOutsideDiameterIn = 0;  // the pipe's outside diameter
  double minMaintainedTempF = 0;     // TP1: the temperature the design reports for the line

  // The heat-up.
  double initialTempF = 0;
  double finalTempF = 0;
  int product = 0;  // position in the heat-up product list; kProductOther takes the constants below
  double otherDensityLbFt3 = 0;
  double otherSpecificHeatBtuLbF = 0;
  std::optional<double> phaseChangeTempF;  // a phase change, with its latent heat
  std::optional<double> latentHeatBtuLb;

  UnitSystem messageUnits = UnitSystem::English;  // the temperatures the messages show
};

enum class HeatUpEnd {
  Refused,      // an input is not valid: `message` names the field
  Failed,       // the integral or a balance did not converge: `message` says which
  CannotReach,  // the final temperature is at or above where the line settles: no time
  Computed,     // `hours` holds the heat-up time
};

struct HeatUpResult {
  HeatUpEnd end = HeatUpEnd::Failed;
  std::string message;
  double hours = 0;          // Computed: the heat-up time
  double settleTempF = 0;    // CannotReach: the temperature the line settles at
  double integralHours = 0;  // Computed: the sensible heat part of `hours`
  double phaseChangeHours = 0;
  // The product's properties at the mean of the initial and final
  // temperatures, and whether any temperature of the heat-up lay outside the
  // range of the product's data (its properties were held at the nearer end).
  double meanTempF = 0;
  ProductProperties productAtMean;
  bool outsideProductRange = false;
};

// The design part of a heat-up's input from a pass that designed the
// circuit (PassEnd::Designed): the steam of the minimum case, the minimum
// ambient, the tracers' conductance, the insulation as sized, the pipe and
// the minimum maintained temperature, exactly as the pass balanced them.
// Nothing for a pass that did not design.
std::optional<HeatUpInput> HeatUpConditionsOf(const DesignPassInput& design, const DesignPassResult& pass);

// The heat-up time of the model above, within 0.1 % of the converged
// integral (adaptive Gauss-Kronrod 7/15, held to kHeatUpRelativeTolerance).
HeatUpResult HeatUpTime(const HeatUpInput& input);

// Why no heat-up time is given for a design without a balance to heat up with.
inline constexpr const char* kNoHeatUpBalanceMessage =
    "The heat-up time could not be computed: the design has no balance to heat up with.";

// The net heat into the pipe, Q(T) above, BTU/(hr ft): what HeatUpTime
// integrates; nothing when the surface balance does not converge.
std::optional<double> NetHeatIntoPipe(const HeatUpInput& input, double pipeTempF);

// The relative accuracy the integration is held to, and the rule itself, on
// any integrand: the integral from a to b of f, adaptive Gauss-Kronrod 7/15
// with the interval of the largest error estimate split until the summed
// estimate is below relativeTolerance times the integral. Nothing when an
// integrand value is not finite or the rule runs out of intervals.
inline constexpr double kHeatUpRelativeTolerance = 1e-4;
struct Integral {
  double value = 0;
  double errorEstimate = 0;
  int evaluations = 0;
};
std::optional<Integral> IntegrateAdaptive(const std::function<double(double)>& f, double a, double b,
                                          double relativeTolerance);

}  // namespace vst
