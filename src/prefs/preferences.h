// The rules of the preferences window `Setting`: the insulation sizing rule
// and, in Metric units, the unit of the steam pressure. What the window is
// opened with, what " &Done" hands back to the main window (InsulationSizing,
// PressureUnit, the Pressure field and its unit label Label6), the texts it
// shows and the conversion of the pressure text to another unit. The window
// model is workspace/preferences_window.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/design_record.h"
#include "core/message_titles.h"

namespace vst {

// What the window is opened with.
struct PreferencesInput {
  UnitSystem units = UnitSystem::English;
  PressureUnit pressureUnit = PressureUnit::Psig;  // program-wide PressureUnit
  int recordUnder = 0;                             // the current record's UNDER: 0 standard, 1 minimal
  std::string pressureText;                        // the main window's Pressure field as shown
  char decimalMark = '.';                          // the user's decimal separator
};

// What " &Done" hands back to the main window.
struct PreferencesOutcome {
  InsulationSizing insulationSizing = InsulationSizing::Standard;  // new InsulationSizing
  PressureUnit pressureUnit = PressureUnit::Psig;  // new PressureUnit (always psig in English units)
  std::optional<std::string> pressureText;         // new Pressure text, when converted
  std::optional<std::string> pressureCaption;      // new Label6 caption, when converted
};

// The note of the "Insulation Sizing" menu item.
inline constexpr const char* kInsulationSizingNoteTitle = "Coverlyn";
inline constexpr const char* kInsulationSizingNote =
    "Minimal oversizing can be an option where compressible insulation is being used. When this "
    "preference is selected, the user should independently verify that the oversizing is sufficient "
    "for the pipe and tracer combination selected.";

// The message when the pressure text cannot be converted.
inline constexpr const char* kUnconvertiblePressureTitle = kInputErrorTitle;
inline constexpr const char* kUnconvertiblePressureText =
    "Steam Pressure must be a number before its unit can be changed. The pressure unit was not changed.";

// The Pressure text `text` (written with `decimalMark`) in unit `from`,
// converted to unit `to` and written with the same decimal mark. The
// pressure keeps its physical value: kPa are absolute, psig and bar g gauge,
// so the conversion passes through psig with the atmospheric offset. Nothing
// when the text is no number or the converted value is not finite.
std::optional<std::string> ConvertedPressureText(std::string_view text, char decimalMark, PressureUnit from,
                                                 PressureUnit to);

}  // namespace vst
