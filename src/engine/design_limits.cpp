#include "engine/design_limits.h"

#include <cmath>
#include <utility>

namespace vst {
namespace {

// Every numeric output and bill quantity the design writes into a record.
constexpr std::pair<std::string_view, float DesignRecord::*> kOutputs[] = {
    {"TP2", &DesignRecord::TP2},     {"TP1", &DesignRecord::TP1},       {"LSWO", &DesignRecord::LSWO},
    {"COND", &DesignRecord::COND},   {"INSIZE", &DesignRecord::INSIZE}, {"TLEN", &DesignRecord::TLEN},
    {"TDX", &DesignRecord::TDX},     {"VTR", &DesignRecord::VTR},       {"SLEN", &DesignRecord::SLEN},
    {"TST", &DesignRecord::TST},     {"ACEM", &DesignRecord::ACEM},     {"ACEM1", &DesignRecord::ACEM1},
    {"ACHAN", &DesignRecord::ACHAN}, {"ABAND", &DesignRecord::ABAND},   {"UNION", &DesignRecord::UNION},
    {"CRS", &DesignRecord::CRS},     {"FRST", &DesignRecord::FRST},     {"FAK", &DesignRecord::FAK},
    {"MACO", &DesignRecord::MACO},
};

}  // namespace

namespace limits {

const TubeFit* TubeTooLargeFor(int tubeIndex, double pipeIn) {
  for (const auto& fit : kTubeFits) {
    if (tubeIndex == fit.tubeIndex && pipeIn < fit.smallestPipeIn) return &fit;
  }
  return nullptr;
}

int MostTracers(double pipeIn, int installationCode, int tubeIndex) {
  const bool smallPipeJacketedPair =
      installationCode == kSmallPipeJacketedCode && tubeIndex != kSmallPipeJacketedExcludedTube;
  int most = kMaxTracers;
  if (pipeIn <= kSingleTracerPipeIn && !smallPipeJacketedPair) most = 1;
  for (const auto& limit : kPassLimits) {
    if (pipeIn < limit.belowPipeIn && limit.maxTracers < most) most = limit.maxTracers;
  }
  return most;
}

}  // namespace limits

std::optional<std::string> PipeLengthRefusal(double pipeLength, UnitSystem units) {
  const bool metric = units == UnitSystem::Metric;
  if (pipeLength <= (metric ? kMaxPipeLengthM : kMaxPipeLengthFt)) return std::nullopt;
  return metric ? "Pipe Length must not be greater than 30,480 m."
                : "Pipe Length must not be greater than 100,000 ft.";
}

std::string_view UnrepresentableOutput(const DesignRecord& record) {
  for (const auto& [name, member] : kOutputs) {
    const float value = record.*member;
    if (!std::isfinite(value) || std::fabs(static_cast<double>(value)) > kMaxOutputMagnitude) return name;
  }
  return {};
}

}  // namespace vst
