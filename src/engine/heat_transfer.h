// Steady-state heat transfer of one steam-traced, insulated pipe: steam
// properties, insulation conductivity, tracer-to-pipe conductance, the heat
// balance of the insulated surface and of the pipe, and the trap distance.
//
// Everything is in English units: temperatures F, pressures psig, diameters
// and thicknesses in inches, lengths in feet, heat rates BTU/hr,
// conductances BTU/(hr ft F). The functions keep no state; the program mode
// and the K-90 flag are passed in by the design run that owns them.
#pragma once

#include <optional>

namespace vst {

// The installation methods. The installation list shows them at positions
// (codes) that depend on the program mode; the code is converted to and from
// the method where the list and the record store it.
enum class Installation { Troughline, FilletTrace, YJ0, YJ1, YJ2, None };

// The method of an installation list position in the program mode.
// Standard: 0 Troughline, 1 Fillet Trace, 2 YJ-1, 3 YJ-2.
// Internal: 0 Troughline, 1 Fillet Trace, 2 YJ-0, 3 YJ-1, 4 YJ-2.
// Any other position gives Installation::None.
Installation InstallationFromCode(int installationCode, bool internalMode);

// The list position of a method in the program mode; -1 for a method the
// mode's list does not offer (YJ-0 in the standard mode, None).
int InstallationCode(Installation installation, bool internalMode);

// The jacketed (Coverlyn) tracer tubes: YJ-0, YJ-1 and YJ-2.
inline bool IsJacketed(Installation installation) {
  return installation == Installation::YJ0 || installation == Installation::YJ1 ||
         installation == Installation::YJ2;
}

// Saturation temperature (F) of steam at a gauge pressure (psig); a fit
// valid over the program's 0 to 300 psig.
double SteamSaturationTemp(double pressurePsig);

// Latent heat of evaporation (BTU/lb) at a saturation temperature (F).
double LatentHeat(double steamTempF);

// Viscosity of saturated steam (lb/(ft hr)) at a temperature (F).
double SteamViscosity(double steamTempF);

// Density of saturated steam (lb/ft3) at a gauge pressure (psig).
double SteamDensity(double pressurePsig);

// Thermal conductivity (BTU/(hr ft F)) of an insulation type (index 0 to 6:
// calcium silicate, foamed elastomer, fiberglass, mineral fiber, cellular
// glass, polyisocyanurate, expanded perlite) at its mean temperature (F).
// Any other index gives 0.
double InsulationConductivity(int insulationType, double meanTempF);

// Bounds of InsulationConductivity(insulationType, t) for every t in
// [fromF, toF], slightly wide for rounding; none for an unknown type or an
// empty or non-finite range.
struct ConductivityRange {
  double lo = 0;
  double hi = 0;
};
std::optional<ConductivityRange> InsulationConductivityRange(int insulationType, double fromF, double toF);

// Conductance from one tracer into the pipe (BTU/(hr ft F)) by installation
// method, nominal pipe size (in) and tube size index (0 = 3/8 in,
// 1 = 1/2 in, 2 = 5/8 in, 3 = 3/4 in). Sizes are matched exactly; sizes at or
// above the last row's threshold take the last row; a size or tube without
// a row gives 0. With the K-90 compound in use Troughline conducts 0.75 of
// its table value.
double TracerConductance(Installation installation, double pipeSizeIn, int tubeIndex, bool k90InUse);

// Conductance of all tracers together: one tracer's times the number of
// passes when there is more than one.
double TotalConductance(double conductancePerTracer, int passes);

// Heat the tracers deliver to the pipe (BTU/(hr ft)), single precision.
float TracerHeatInput(double steamTempF, double pipeSizeIn, double pipeTempF, Installation installation,
                      int tubeIndex, int passes, bool k90InUse);

// Design wind speed: 25 mph.
inline constexpr double kDesignWindFtPerHr = 132000.0;

// The air outside the insulation: wind of a speed, or still air.
struct Air {
  bool still = false;
  double windFtPerHr = 0.0;
  static Air Wind(double ftPerHr) { return {false, ftPerHr}; }
  static Air Still() { return {true, 0.0}; }
};

// The insulation around pipe and tracers.
struct Insulation {
  int type = 0;                // insulation type index
  double innerDiameterIn = 0;  // Di
  double outerDiameterIn = 0;  // Do
};

// Result of the heat balance of the insulated surface at one pipe
// temperature. When `converged` is false no other field may be used.
struct SurfaceBalance {
  bool converged = false;
  double surfaceTempF = 0;     // Ts
  double resistance = 0;       // R, hr ft2 F / BTU, per unit of outer area
  double areaPerFt = 0;        // A, outer area ft2 per ft of pipe
  double heatLossBtuHrFt = 0;  // qin * A
};

// The ambient's share of the radiation term, ((ambientF + 459.6) / 100)^4.
double AmbientRadiation(double ambientF);

// Heat the outer surface at surfaceF gives to the air at ambientF
// (BTU/(hr ft2)): forced or free convection plus radiation at emittance 0.12.
// `ambientRadiation` is AmbientRadiation(ambientF).
double SurfaceFlux(double surfaceF, double ambientF, double ambientRadiation, double outerDiameterFt,
                   Air air);

// Finds the outer surface temperature at which the heat conducted through
// the insulation from a pipe at pipeTempF equals the heat the surface gives
// to the air at ambientF by convection and radiation (emittance 0.12). The
// balance is met when the two fluxes (BTU/(hr ft2)) differ by less than
// toleranceBtuHrFt2. Bounded: an unreachable tolerance or a non-finite
// value gives converged = false.
SurfaceBalance InsulatedSurfaceBalance(double pipeTempF, double ambientF, const Insulation& insulation,
                                       Air air, double toleranceBtuHrFt2);

// The same balance solved to the limit of double precision in a few
// secant steps, for a pipe warmer or colder than the air (the loss is then
// negative): what the heat-up integrates, where the design's tolerances
// would put steps into the loss. Bounded; a non-finite value or an
// unknown insulation type gives converged = false.
SurfaceBalance ExactInsulatedSurfaceBalance(double pipeTempF, double ambientF, const Insulation& insulation,
                                            Air air);

// The three temperature cases of a design.
enum class BalanceCase {
  MinimumMaintained,  // steam at 90 % pressure, minimum ambient, design wind, tolerance 0.3 F
  DesignHeatLoss,     // steam at 95 % pressure, minimum ambient, design wind, tolerance 0.3 F
  MaximumMaintained,  // steam at full pressure, maximum ambient, still air, tolerance 0.5 F
};

// The air and the tolerance (used for both the pipe temperature in F and the
// surface fluxes) of a case.
Air CaseAir(BalanceCase balanceCase);
double CaseTolerance(BalanceCase balanceCase);

// Result of a pipe temperature balance. When `converged` is false no other
// field may be used.
struct PipeBalance {
  bool converged = false;
  double pipeTempF = 0;        // the pipe temperature at which tracer heat and loss balance
  double heatLossBtuHrFt = 0;  // heat lost through the insulation per foot of pipe
};

// Finds the pipe temperature between ambientF and steamTempF at which the
// heat the tracers deliver (totalConductance, all tracers together) equals
// the heat lost through the insulation, in the air and tolerance of the case.
// The balanced temperature is returned as it is; the design's minimum
// maintained temperature of a jacketed tracer is StoredMinimumMaintainedTemp.
// A conductance that is not positive (no tracer row for the combination),
// a balance that cannot meet its tolerance (ambient above the steam) and any
// non-finite value give converged = false; the iteration is bounded.
PipeBalance PipeTemperatureBalance(BalanceCase balanceCase, double steamTempF, double ambientF,
                                   double totalConductance, const Insulation& insulation);

// The minimum maintained temperature a design reports for a balanced pipe
// temperature: jacketed tracers 5 F below it, the others the balanced value.
double StoredMinimumMaintainedTemp(double balancedPipeTempF, Installation installation);

// Condensate produced per tracer per foot (lb/(hr ft)) from the design heat
// loss of all tracers (BTU/(hr ft)), the number of passes and the latent heat.
double CondensateLoad(double designHeatLossBtuHrFt, int passes, double latentHeatBtuLb);

// Heat per tracer per foot (BTU/(hr ft)) from the design heat loss.
double HeatPerTracer(double designHeatLossBtuHrFt, int passes);

inline constexpr double kMaxTrapDistanceFt = 500.0;

struct TrapDistanceResult {
  bool converged = false;
  double lengthFt = 0;  // capped at kMaxTrapDistanceFt
};

// Longest tracer (ft) through which the steam pressure can push the
// condensate of heatPerTracerBtuHrFt: tube of size index 0 to 3, wall in
// inches (metric = false) or millimetres (metric = true), supply pressure in
// psig. Bounded: no convergence, a tube without bore, no heat, no positive
// pressure or a non-finite value gives converged = false.
TrapDistanceResult TrapDistance(double heatPerTracerBtuHrFt, double pressurePsig, int tubeIndex,
                                double wallThickness, bool metric);

// Outside diameter of a tracer tube by size index: inches (0.375, 0.5,
// 0.625, 0.75) or millimetres (10, 12, 16, 20); 0 for another index.
double TubeOutsideDiameter(int tubeIndex, bool metric);

}  // namespace vst
