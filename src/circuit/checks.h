// The application checks of the main window: limits of polyisocyanurate
// insulation and copper tubing against the steam pressure and the exposure
// temperature, and the temperature range of the heat-up products' property
// fits. Each check is a pure function of the values it compares; the main
// window model shows the warning, puts the corrected text back and moves
// the focus.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/design_record.h"
#include "core/message_titles.h"
#include "core/typed_number.h"

namespace vst {

// A check that failed: the warning to show and the text the field gets back
// when the check was called from that field.
struct CheckWarning {
  std::string message;
  std::string putBack;
};

// Polyisocyanurate insulation and the steam pressure, in the pressure unit
// (0 psig, 1 kPa, any other value bar g). The limit itself is allowed. The
// kPa limit is 446 kPa, the counterpart of 50 psig, so the value put back
// lies within it.
std::optional<CheckWarning> PolyisocyanuratePressureCheck(float pressure, PressureUnit pressureUnit);

// Copper tubing and the steam pressure, in the pressure unit.
std::optional<CheckWarning> CopperPressureCheck(float pressure, PressureUnit pressureUnit);

// Copper tubing and the maximum exposure temperature (400 F, 204 C).
std::optional<CheckWarning> CopperExposureCheck(float exposure, UnitSystem units);

// The heat-up product's temperature range against the maintenance
// temperature in the window's units; the warning text when it lies outside.
// Nothing for "Other" and for positions outside the product list.
std::optional<std::string> ProductRangeWarning(int product, float maintTemp, UnitSystem units);

inline constexpr const char* kProductRangeTitle = kWarningTitle;

// The checks as the window runs them on its fields (read in the locale's
// decimal mark; a text that is not a number is not checked).
// Polyisocyanurate insulation against the pressure field:
std::optional<CheckWarning> PolyisocyanurateWarning(int insulationType, const TypedNumber& pressure,
                                                    PressureUnit pressureUnit, char decimalMark);
// Copper tubing against the pressure field, then against the exposure field:
// both may warn. `field` names the field each warning puts its limit back into.
enum class CheckedField { Pressure, MaxExposure };
struct FieldWarning {
  CheckedField field;
  CheckWarning warning;
};
std::vector<FieldWarning> CopperWarnings(int material, const TypedNumber& pressure,
                                         const TypedNumber& exposure, PressureUnit pressureUnit,
                                         UnitSystem units, char decimalMark);

}  // namespace vst
