// The limits within which a design's inputs give results that the program
// can show and store: the pipe length an input check refuses beyond, and the
// check of the outputs at the end of a design, which must be finite numbers
// that fit their fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/design_record.h"

namespace vst {

// Longest circuit the design takes: 100,000 ft, or 30,480 m in Metric units
// (the same length). Beyond it the tracer length outgrows its field.
inline constexpr double kMaxPipeLengthFt = 100000.0;
inline constexpr double kMaxPipeLengthM = 30480.0;

// The "Input Error" text for a pipe length above the limit of the unit
// system, naming the field and the limit; nothing when the length is within.
std::optional<std::string> PipeLengthRefusal(double pipeLength, UnitSystem units);

// The largest magnitude of an output: seven whole digits, all that a field
// shows of a single-precision value without an exponent.
inline constexpr double kMaxOutputMagnitude = 9999999.0;

// The name of the first output or bill field of a designed record that is
// not a finite number of at most kMaxOutputMagnitude; empty when all are.
std::string_view UnrepresentableOutput(const DesignRecord& record);

// Clears the outputs and bill fields of a record as the design command does
// before a run, so that the record holds no design.
void DiscardOutputs(DesignRecord& record);

}  // namespace vst
