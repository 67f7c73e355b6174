// The preferences window `Setting`: the insulation sizing rule and, in Metric
// units, the unit of the steam pressure. The model holds the window's
// controls and decides what " &Done" changes in the main window; the main
// window model applies the outcome (InsulationSizing, PressureUnit, the
// Pressure field and its unit label Label6). The rules and texts it follows
// are prefs/preferences.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/design_record.h"
#include "prefs/preferences.h"
#include "workspace/controls.h"
#include "workspace/dialogs.h"

namespace vst {

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
