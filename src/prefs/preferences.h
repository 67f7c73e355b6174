// The preferences window `Setting`: the insulation sizing rule and, in Metric
// units, the unit of the steam pressure. The model holds the window's
// controls and decides what " &Done" changes in the main window; the main
// window model applies the outcome (InsulationSizing, PressureUnit, the
// Pressure field and its unit label Label6).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/controls.h"
#include "core/design_record.h"
#include "core/dialogs.h"

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

class PreferencesModel {
 public:
  // Window caption.
  static constexpr const char* kCaption = " Preference";

  PreferencesModel(const PreferencesInput& input, Dialogs& dialogs);

  // Controls: Combo2 (sizing list), Label2 "Insulation Sizing:", Label3
  // "Standard Oversizing  ", Label4 "Minimal    Oversizing", Combo1
  // (pressure unit list), Label1 "Steam Pressure ", Command1 " &Done",
  // menu Note "&Notes" with item InsulationSize "Insulation Sizing".
  ControlSet& controls() { return controls_; }
  const ControlSet& controls() const { return controls_; }

  // The user picked entry `index` of list `name` (Combo1 or Combo2). An
  // index outside the list is ignored.
  void listClicked(std::string_view name, int index);

  // A menu item was clicked: "InsulationSize" shows the note. " &Done"
  // (Command1) is done(); other names are ignored.
  void clicked(std::string_view name);

  // " &Done": the new program-wide values; the window then closes. Nothing
  // means the window stays open; a pressure text that cannot be converted
  // does not keep it open: the message names the field, the outcome keeps
  // the unit and the text in force and still carries the insulation sizing.
  std::optional<PreferencesOutcome> done();

  const PreferencesInput& input() const { return input_; }

  // The message shown when the pressure text cannot be converted.
  static Message unconvertiblePressureMessage();

 private:
  PreferencesInput input_;
  PressureUnit pressureUnit_ = PressureUnit::Psig;  // the unit in force, corrected to bar g when out of range
  Dialogs& dialogs_;
  ControlSet controls_;
};

}  // namespace vst
