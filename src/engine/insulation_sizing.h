// Pipe sizes and the sizing of the insulation around a pipe and its tracers:
// how far the tracers stand out from the pipe, which insulation size fits
// the traced pipe and how thick the insulation of a nominal thickness is.
// Diameters and thicknesses in inches; Metric sizes in millimetres.
#pragma once

#include <optional>

#include "core/design_record.h"
#include "engine/heat_transfer.h"

namespace vst {

inline constexpr int kPipeSizePositions = 19;

// Nominal pipe size (in) and Metric pipe size (mm) of a pipe size list
// position 0 to 18; nothing for another position.
std::optional<double> NominalPipeSizeIn(int listPosition);
std::optional<double> MetricPipeSizeMm(int listPosition);

// Outside diameter (in) of a nominal pipe size; nothing for a size that is
// not a nominal size.
std::optional<double> PipeOutsideDiameterIn(double nominalSizeIn);

// Height and width of one tracer on the pipe (in), as installed.
struct TracerProfile {
  double heightIn = 0;
  double widthIn = 0;
};

// The profile of an installation method with a tube size index on a pipe
// of a nominal size; nothing for a tube index outside 0 to 3 or no method.
std::optional<TracerProfile> TracerProfileFor(Installation installation, int tubeIndex, double nominalPipeIn);

// How far the tracers add to the pipe's diameter (in): one tracer's
// projection beyond the pipe; three or more tracers, or two that do not fit
// 6 in apart around the pipe, twice that; two tracers 6 in apart, the
// diameter of the circle through both tracer crowns. Not finite when the
// geometry cannot be computed.
double TracerProjectionIn(double pipeOutsideDiameterIn, TracerProfile profile, int passes);

// The effective diameter of the traced pipe: pipe plus projection, where a
// value above 12.75 and at most 14 in counts as 14 in.
double EffectiveDiameterIn(double pipeOutsideDiameterIn, double projectionIn);

// Insulation sizes, positions 1 to 46.
inline constexpr int kInsulationPositions = 46;
double InsulationInnerDiameterIn(int position);  // 0 outside 1..46
double InsulationNominalSizeIn(int position);    // 0 outside 1..46
double InsulationMetricSizeMm(int position);     // 0 outside 1..46

// The insulation size that fits the traced pipe: the first position whose
// inner diameter is at least the effective diameter; with minimal
// oversizing the position below it instead when that one still clears the
// bare pipe by more than 3/8 in. Nothing when no size is large enough.
std::optional<int> InsulationPosition(double effectiveDiameterIn, double pipeOutsideDiameterIn,
                                      bool minimalOversizing);

// The actual thickness (in) of the insulation at a size position for a
// thickness list position 0 to 6 (English sizes depend on both; Metric on
// the thickness alone). Nothing outside the tables.
std::optional<double> InsulationThicknessIn(int position, int thicknessListPosition, UnitSystem units);

// Everything the insulation sizing of a design decides.
struct InsulationFit {
  int position = 0;                // insulation size position 1..46 (InsulationRow)
  double projectionIn = 0;         // d (TracerDiameterAllowance)
  double effectiveDiameterIn = 0;  // De (TracedPipeDiameter)
  double innerDiameterIn = 0;      // Di
  double outerDiameterIn = 0;      // Do
};

// Sizes the insulation of a thickness list position around a pipe of an
// outside diameter with its tracers; nothing when the geometry cannot be
// computed or no size fits.
std::optional<InsulationFit> SizeInsulation(double pipeOutsideDiameterIn, TracerProfile profile, int passes,
                                            int thicknessListPosition, UnitSystem units,
                                            bool minimalOversizing);

}  // namespace vst
