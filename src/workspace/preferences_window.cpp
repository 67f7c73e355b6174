#include "workspace/preferences_window.h"

#include <utility>

#include "core/units.h"

namespace vst {

namespace {

// The window's controls by position, in the order it adds them.
enum class PrefId : std::size_t { Label2, Combo2, Label3, Label4, Label1, Combo1 };

}  // namespace

namespace {

// Combo1 lists the pressure units at the positions of their stored numbers,
// Combo2 the insulation sizings.
bool ValidPressureUnit(PressureUnit unit) {
  return unit == PressureUnit::Psig || unit == PressureUnit::Kpa || unit == PressureUnit::BarG;
}

}  // namespace

Message PreferencesModel::unconvertiblePressureMessage() {
  Message m;
  m.text = kUnconvertiblePressureText;
  m.title = kUnconvertiblePressureTitle;
  m.icon = MsgIcon::Exclamation;
  return m;
}

PreferencesModel::PreferencesModel(const PreferencesInput& input, Dialogs& dialogs)
    : input_(input), dialogs_(dialogs) {
  const bool metric = input_.units == UnitSystem::Metric;
  // English units always work in psig; Metric units correct a unit outside
  // the list to bar g, the unit they start with.
  pressureUnit_ = metric ? (ValidPressureUnit(input_.pressureUnit) ? input_.pressureUnit : PressureUnit::BarG)
                         : PressureUnit::Psig;

  controls_.add("Label2", ControlKind::Label, "&Insulation Sizing:");
  Control& sizing = controls_.add("Combo2", ControlKind::List);
  sizing.items = {"STANDARD", "MINIMAL"};
  // The list shows the sizing the current record was designed with. A stored
  // value outside the list (a damaged file) shows the standard sizing.
  sizing.index = StoredNumber(InsulationSizingFromStored(input_.recordUnder));
  controls_.add("Label3", ControlKind::Label, "Standard Oversizing  ");
  controls_.add("Label4", ControlKind::Label, "Minimal    Oversizing");

  Control& unitLabel = controls_.add("Label1", ControlKind::Label, "Steam &Pressure ");
  Control& unit = controls_.add("Combo1", ControlKind::List);
  if (metric) {
    unit.items = {"psig", "kPa", "bar g"};
    unit.index = StoredNumber(pressureUnit_);
  } else {
    unit.visible = false;
    unitLabel.visible = false;
  }

  controls_.add("Command1", ControlKind::Button, " &Done");
  controls_.add("Note", ControlKind::MenuItem, "&Notes");
  controls_.add("InsulationSize", ControlKind::MenuItem, "Insulation Sizing");
}

void PreferencesModel::listClicked(std::string_view name, int index) {
  if (name != "Combo1" && name != "Combo2") return;
  Control& list = controls_[name];
  if (!list.visible || index < 0 || index >= static_cast<int>(list.items.size())) return;
  list.index = index;
}

void PreferencesModel::clicked(std::string_view name) {
  if (name != "InsulationSize") return;
  Message m;
  m.text = kInsulationSizingNote;
  m.title = kInsulationSizingNoteTitle;
  dialogs_.message(m);
}

std::optional<PreferencesOutcome> PreferencesModel::done() {
  PreferencesOutcome out;
  out.insulationSizing = InsulationSizingFromStored(controls_[PrefId::Combo2].index);
  out.pressureUnit = pressureUnit_;
  if (input_.units != UnitSystem::Metric) return out;

  const int newPosition = controls_[PrefId::Combo1].index;
  const PressureUnit newUnit = PressureUnitFromStored(newPosition);
  if (StoredNumber(newUnit) != newPosition || newUnit == pressureUnit_) return out;

  std::optional<std::string> converted =
      ConvertedPressureText(input_.pressureText, input_.decimalMark, pressureUnit_, newUnit);
  if (!converted) {
    dialogs_.message(unconvertiblePressureMessage());
    return out;
  }
  out.pressureUnit = newUnit;
  out.pressureText = std::move(converted);
  out.pressureCaption = PressureCaption(newUnit);
  return out;
}

}  // namespace vst
