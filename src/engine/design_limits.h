// The limits of a design, in one place: what the products withstand, which
// tracer tubes and how many tracers fit a pipe, the range of the steam
// supply, the rules that size the insulation around the tracers (temperatures
// in F, pressures in psig, sizes and diameters in inches); and the limits
// within which a design's inputs give results that the program can show and
// store: the pipe length an input check refuses beyond, and the check of the
// outputs at the end of a design, which must be finite numbers that fit their
// fields.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/design_record.h"

namespace vst::limits {

// Hottest maximum exposure that any heat transfer cement withstands.
inline constexpr double kMaxExposureF = 1250;

// The heat transfer compounds by the hottest temperature each withstands; a
// design takes the first whose limit none of its maximum exposure, steam
// and intermittent exposure temperatures exceeds.
struct CompoundLimit {
  double limitF;
  const char* name;
  bool k90;  // the K-90 compound, which lowers the Troughline conductance
};
inline constexpr std::array<CompoundLimit, 4> kCompounds{{
    {325, "E-50-C", false},
    {375, "E-55-C", false},
    {700, "K-30", false},
    {1832, "K-90", true},
}};

// Troughline with the 3/8 in tube on a pipe below this size is held in a
// compound of at least 700 F, whatever the exposure.
inline constexpr double kSmallTroughlinePipeIn = 1.5;
inline constexpr double kSmallTroughlineExposureF = 700;

// The smallest pipe that a tracer tube fits on, largest tube first (the
// order in which the fit is checked). Tube size index 3 = 3/4 in (20 mm),
// 2 = 5/8 in (16 mm), 1 = 1/2 in (12 mm); the 3/8 in tube fits every pipe.
struct TubeFit {
  int tubeIndex;
  double smallestPipeIn;
  const char* englishMessage;
  const char* metricMessage;
};
inline constexpr std::array<TubeFit, 3> kTubeFits{{
    {3, 3.0, "Pipe too small for 3/4'' Tracer", "Pipe too small for 20mm Tracer"},
    {2, 2.0, "Pipe too small for 5/8'' Tracer", "Pipe too small for 16mm Tracer"},
    {1, 1.5, "Pipe too small for 1/2'' Tracer", "Pipe too small for 12mm Tracer"},
}};
// The fit of `tubeIndex` that a pipe of `pipeIn` nominal inches is too small
// for, whose message the design refuses it with; null when the tube fits.
// The design's check and the lists that offer pipe sizes both ask this.
const TubeFit* TubeTooLargeFor(int tubeIndex, double pipeIn);

// The refusal of a pipe size that the Troughline list leaves blank (the
// sizes below 1.5 in with a tube above 3/8 in).
inline constexpr const char* kTroughlineSmallPipeEnglish =
    "Trough Line does not fit on Pipe Sizes smaller than 1.5''.";
inline constexpr const char* kTroughlineSmallPipeMetric =
    "Pipe Sizes smaller then 40mm not available for Troughline.";

// Tracers (passes) on a pipe: a pipe of at most 1.5 in takes one tracer,
// except two jacketed tracers of the first jacketed list entry with a tube
// other than 1/2 in; below each size of this table at most the given count.
inline constexpr double kSingleTracerPipeIn = 1.5;
inline constexpr int kSmallPipeJacketedCode = 2;  // the first jacketed entry of the installation list
inline constexpr int kSmallPipeJacketedExcludedTube = 1;
struct PassLimit {
  double belowPipeIn;
  int maxTracers;
};
inline constexpr std::array<PassLimit, 4> kPassLimits{{{2.5, 2}, {4, 3}, {8, 4}, {12, 6}}};
// The passes list offers 1 to 8 tracers.
inline constexpr int kMaxTracers = 8;
// The most tracers a pipe of `pipeIn` nominal inches takes with the
// installation (its list code) and tube; the design refuses more, and the
// lists that offer passes offer 1 up to this count.
int MostTracers(double pipeIn, int installationCode, int tubeIndex);

// The coldest minimum ambient a design accepts.
inline constexpr double kMinAmbientF = -100;

// The steam supply a design accepts.
inline constexpr double kMinSteamPsig = 5;
inline constexpr double kMaxSteamPsig = 300;

// The vertical rise the steam can lift its condensate: 0.15 ft per psig.
inline constexpr double kRiseFtPerPsig = 0.15;

// The supply pressure as a share of the nominal in the minimum maintained
// temperature case and in the design heat loss case (line losses).
inline constexpr double kMinimumCasePressureShare = 0.9;
inline constexpr double kHeatLossCasePressureShare = 0.95;

// Hottest exposure or steam a jacketed (Coverlyn) tracer withstands; above it
// the circuit bill cannot offer copper tubing.
inline constexpr double kCoverlynLimitF = 406;
// The position of the circuit bill's material option that a design above
// the Coverlyn limit forces at least.
inline constexpr int kHighTemperatureMaterialOption = 2;

// A jacketed tracer that cannot hold the temperature falls back to
// Troughline on a pipe of at least this size, to Fillet Trace on a smaller one.
inline constexpr double kTroughlineFallbackPipeIn = 2;

// Hottest exposure or steam that Fillet Trace cement withstands.
inline constexpr double kFilletLimitF = 375;

// A jacketed tracer reports its minimum maintained temperature this much
// below the balanced pipe temperature.
inline constexpr double kJacketedMinimumMarginF = 5;

// Insulation sizing: two tracers are set this far apart around the pipe
// when its half circumference allows it.
inline constexpr double kTwoTracerSpacingIn = 6;
// An effective diameter above the 12 in pipe's and up to 14 in takes the
// 14 in insulation.
inline constexpr double kTwelveInchPipeOdIn = 12.75;
inline constexpr double kFourteenInchIn = 14;
// Minimal oversizing takes the next smaller insulation when it still clears
// the bare pipe by more than this.
inline constexpr double kMinimalOversizingClearanceIn = 0.375;

// A design run changes its installation at most four times (InternalMode:
// YJ-2, YJ-1, YJ-0, Fillet Trace, Troughline); more passes than this mean
// the installation did not change as asked.
inline constexpr int kMaxDesignPasses = 8;

}  // namespace vst::limits

namespace vst {

// Longest circuit the design takes: 100,000 ft, or 30,480 m in Metric units
// (the same length). Beyond it the tracer length outgrows its field.
inline constexpr double kMaxPipeLengthFt = 100000.0;
inline constexpr double kMaxPipeLengthM = 30480.0;

// The input-error text for a pipe length above the limit of the unit
// system, naming the field and the limit; nothing when the length is within.
std::optional<std::string> PipeLengthRefusal(double pipeLength, UnitSystem units);

// The largest magnitude of an output: seven whole digits, all that a field
// shows of a single-precision value without an exponent.
inline constexpr double kMaxOutputMagnitude = 9999999.0;

// The name of the first output or bill field of a designed record that is
// not a finite number of at most kMaxOutputMagnitude; empty when all are.
std::string_view UnrepresentableOutput(const DesignRecord& record);

}  // namespace vst
