#include "engine/insulation_sizing.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "engine/design_limits.h"

namespace vst {
namespace {

struct PipeSize {
  double nominalIn;
  double metricMm;
  double outsideDiameterIn;
};

constexpr std::array<PipeSize, kPipeSizePositions> kPipeSizes{{
    {0.5, 15, 0.84},  {0.75, 20, 1.05}, {1, 25, 1.315}, {1.5, 40, 1.9},  {2, 50, 2.375},
    {2.5, 65, 2.875}, {3, 80, 3.5},     {4, 100, 4.5},  {6, 150, 6.625}, {8, 200, 8.625},
    {10, 250, 10.75}, {12, 300, 12.75}, {14, 350, 14},  {16, 400, 16},   {18, 450, 18},
    {20, 500, 20},    {24, 600, 24},    {30, 750, 30},  {36, 900, 36},
}};

// Insulation sizes 1 to 21: nominal size (in), inner diameter (in), Metric
// size (mm). From 22 on the sizes follow a rule (see below).
struct InsulationRowData {
  double nominalIn;
  double innerDiameterIn;
  double metricMm;
};
constexpr std::array<InsulationRowData, 21> kInsulationSizes{{
    {0.5, 0.86, 15},  {0.75, 1.07, 20}, {1, 1.33, 25},    {1.25, 1.68, 32}, {1.5, 1.92, 40},
    {2, 2.41, 50},    {2.5, 2.91, 65},  {3, 3.53, 80},    {3.5, 4.03, 90},  {4, 4.53, 100},
    {4.5, 5.03, 115}, {5, 5.64, 125},   {6, 6.7, 150},    {7, 7.7, 175},    {8, 8.7, 200},
    {9, 9.7, 225},    {10, 10.83, 250}, {11, 11.83, 275}, {12, 12.84, 300}, {14, 14.09, 350},
    {14, 14.09, 350},
}};

// Actual thickness (in) by size position (rows 1 to 16, then one row for 17
// to 19 and one for 20 and above) and nominal thickness (columns 1 to 7).
using ThicknessRow = std::array<double, 7>;
constexpr std::array<ThicknessRow, 18> kThicknessIn{{
    {1.01, 1.57, 2.07, 2.88, 3.38, 3.88, 4.38},
    {0.9, 1.46, 1.96, 2.78, 3.28, 3.78, 4.28},
    {1.08, 1.58, 2.12, 2.64, 3.14, 3.64, 4.14},
    {0.91, 1.66, 1.94, 2.47, 2.97, 3.47, 3.97},
    {1.04, 1.54, 2.35, 2.85, 3.35, 3.85, 4.42},
    {1.04, 1.58, 2.1, 2.6, 3.1, 3.6, 4.17},
    {1.04, 1.86, 2.36, 2.86, 3.36, 3.92, 4.42},
    {1.02, 1.54, 2.04, 2.54, 3.04, 3.61, 4.11},
    {1.3, 1.8, 2.3, 2.8, 3.36, 3.86, 4.36},
    {1.04, 1.54, 2.04, 2.54, 3.11, 3.61, 4.11},
    {1.3, 1.8, 2.3, 2.86, 3.36, 3.86, 4.48},
    {0.99, 1.49, 1.99, 2.56, 3.06, 3.56, 4.18},
    {0.96, 1.46, 2.02, 2.52, 3.02, 3.65, 4.15},
    {0.96, 1.52, 2.02, 2.52, 3.15, 3.65, 4.15},
    {0.96, 1.52, 2.02, 2.65, 3.15, 3.65, 4.15},
    {0.96, 1.52, 2.15, 2.65, 3.15, 3.65, 4.15},
    {0.96, 1.58, 2.08, 2.58, 3.08, 3.58, 4.08},  // positions 17 to 19
    {0.96, 1.46, 1.96, 2.46, 2.96, 3.46, 3.96},  // positions 20 and above
}};

// Metric nominal thicknesses 25, 30, 40, 50, 60, 80 and 100 mm in inches.
constexpr ThicknessRow kMetricThicknessIn{0.98425, 1.181, 1.5748, 1.9685, 2.3622, 3.14961, 3.937};

bool ValidInsulationPosition(int position) { return position >= 1 && position <= kInsulationPositions; }

const PipeSize* PipeAt(int listPosition) {
  if (listPosition < 0 || listPosition >= kPipeSizePositions) return nullptr;
  return &kPipeSizes[static_cast<std::size_t>(listPosition)];
}

}  // namespace

std::optional<double> NominalPipeSizeIn(int listPosition) {
  const PipeSize* pipe = PipeAt(listPosition);
  if (pipe == nullptr) return std::nullopt;
  return pipe->nominalIn;
}

std::optional<double> MetricPipeSizeMm(int listPosition) {
  const PipeSize* pipe = PipeAt(listPosition);
  if (pipe == nullptr) return std::nullopt;
  return pipe->metricMm;
}

std::optional<double> PipeOutsideDiameterIn(double nominalSizeIn) {
  for (const auto& pipe : kPipeSizes) {
    if (pipe.nominalIn == nominalSizeIn) return pipe.outsideDiameterIn;
  }
  return std::nullopt;
}

std::optional<TracerProfile> TracerProfileFor(Installation installation, int tubeIndex,
                                              double nominalPipeIn) {
  if (tubeIndex < 0 || tubeIndex > 3) return std::nullopt;
  switch (installation) {
    case Installation::Troughline:
      if (tubeIndex == 3) return TracerProfile{1.25, 1.6875};
      if (tubeIndex == 0 && nominalPipeIn < 1.5) return TracerProfile{0.75, 0.6875};
      return TracerProfile{0.875, 1.25};
    case Installation::FilletTrace:
      return TracerProfile{TubeOutsideDiameter(tubeIndex, false), 0};
    // YJ-0 comes in the 3/8 and 1/2 in tubes only; a larger index, which the
    // tube list never offers for it, is given the 1/2 in height.
    case Installation::YJ0:
      return TracerProfile{tubeIndex == 0 ? 0.5 : 0.62, 0};
    case Installation::YJ1:
      return TracerProfile{0.75, 0};
    case Installation::YJ2:
      return TracerProfile{1, 0};
    case Installation::None:
      break;
  }
  return std::nullopt;
}

double TracerProjectionIn(double pipeOutsideDiameterIn, TracerProfile profile, int passes) {
  const double D = pipeOutsideDiameterIn;
  const double w = profile.widthIn;
  // The flat tracer base sits on the curved pipe: the gap under its edges.
  const double gap = (D - std::sqrt(D * D - w * w)) * 0.5;
  double d = profile.heightIn - gap;
  if (passes > 2) return 2.0 * d;
  if (passes < 2) return d;
  // Two tracers 6 in apart along the pipe's circumference, when they fit.
  if (D * 1.570796 < limits::kTwoTracerSpacingIn) return 2.0 * d;
  const double r = D / 2.0;
  const double theta = limits::kTwoTracerSpacingIn / (2.0 * r);
  const double chord = 2.0 * (r + d) * std::sin(theta);
  const double s = std::sqrt(2.0 * r * (r + d) * (1.0 + std::cos(theta)) + d * d);
  const double a = std::sqrt(s * s - (chord / 2.0) * (chord / 2.0));
  const double phi = 2.0 * std::atan(chord / (2.0 * a));
  double radius = s / std::sqrt(2.0 * (1.0 + std::cos(phi)));
  const double limit = (D + 2.0 * d) / 2.0;
  if (radius > limit) radius = limit;
  return 2.0 * radius - D;
}

double EffectiveDiameterIn(double pipeOutsideDiameterIn, double projectionIn) {
  const double de = pipeOutsideDiameterIn + projectionIn;
  return (de > limits::kTwelveInchPipeOdIn && de <= limits::kFourteenInchIn) ? limits::kFourteenInchIn : de;
}

double InsulationInnerDiameterIn(int position) {
  if (!ValidInsulationPosition(position)) return 0.0;
  if (position <= 21) return kInsulationSizes[static_cast<std::size_t>(position - 1)].innerDiameterIn;
  return position - 6.91;
}

double InsulationNominalSizeIn(int position) {
  if (!ValidInsulationPosition(position)) return 0.0;
  if (position <= 21) return kInsulationSizes[static_cast<std::size_t>(position - 1)].nominalIn;
  return position - 7.0;
}

double InsulationMetricSizeMm(int position) {
  if (!ValidInsulationPosition(position)) return 0.0;
  if (position <= 21) return kInsulationSizes[static_cast<std::size_t>(position - 1)].metricMm;
  if (position == 22) return 375;
  if (position == 23) return 400;
  return 25.0 * position - 175.0;
}

std::optional<int> InsulationPosition(double effectiveDiameterIn, double pipeOutsideDiameterIn,
                                      bool minimalOversizing) {
  if (!std::isfinite(effectiveDiameterIn)) return std::nullopt;
  for (int p = 1; p <= kInsulationPositions; ++p) {
    if (InsulationInnerDiameterIn(p) >= effectiveDiameterIn) {
      if (minimalOversizing && p > 1 &&
          InsulationInnerDiameterIn(p - 1) > pipeOutsideDiameterIn + limits::kMinimalOversizingClearanceIn) {
        return p - 1;
      }
      return p;
    }
  }
  return std::nullopt;
}

std::optional<double> InsulationThicknessIn(int position, int thicknessListPosition, UnitSystem units) {
  if (!ValidInsulationPosition(position) || thicknessListPosition < 0 || thicknessListPosition > 6) {
    return std::nullopt;
  }
  const auto column = static_cast<std::size_t>(thicknessListPosition);
  if (units == UnitSystem::Metric) return kMetricThicknessIn[column];
  std::size_t row = 0;
  if (position <= 16) {
    row = static_cast<std::size_t>(position - 1);
  } else if (position <= 19) {
    row = 16;
  } else {
    row = 17;
  }
  return kThicknessIn[row][column];
}

std::optional<InsulationFit> SizeInsulation(double pipeOutsideDiameterIn, TracerProfile profile, int passes,
                                            int thicknessListPosition, UnitSystem units,
                                            bool minimalOversizing) {
  InsulationFit sizing;
  sizing.projectionIn = TracerProjectionIn(pipeOutsideDiameterIn, profile, passes);
  if (!std::isfinite(sizing.projectionIn)) return std::nullopt;
  sizing.effectiveDiameterIn = EffectiveDiameterIn(pipeOutsideDiameterIn, sizing.projectionIn);
  const auto position =
      InsulationPosition(sizing.effectiveDiameterIn, pipeOutsideDiameterIn, minimalOversizing);
  if (!position) return std::nullopt;
  const auto thickness = InsulationThicknessIn(*position, thicknessListPosition, units);
  if (!thickness) return std::nullopt;
  sizing.position = *position;
  sizing.innerDiameterIn = InsulationInnerDiameterIn(*position);
  sizing.outerDiameterIn = sizing.innerDiameterIn + 2.0 * *thickness;
  return sizing;
}

}  // namespace vst
