#include "prefs/preferences.h"

#include <cmath>

#include "core/legacy_math.h"
#include "core/units.h"

namespace vst {

namespace {

// Number text for a field: "." becomes the user's decimal mark.
std::string FieldText(std::string text, char decimalMark) {
  if (decimalMark != '.') {
    for (char& c : text) {
      if (c == '.') c = decimalMark;
    }
  }
  return text;
}

}  // namespace

std::optional<std::string> ConvertedPressureText(std::string_view text, char decimalMark, PressureUnit from,
                                                 PressureUnit to) {
  const std::optional<double> value = ParseNumber(text, decimalMark);
  if (!value) return std::nullopt;
  const double converted = PressureFromPsig(PsigFrom(*value, from), to);
  if (!std::isfinite(converted)) return std::nullopt;
  return FieldText(General15Text(converted), decimalMark);
}

}  // namespace vst
