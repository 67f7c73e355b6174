#include "workspace/about_windows.h"

#include "core/units.h"
#include "docs/version.h"

namespace vst {

AboutBoxModel::AboutBoxModel(std::function<void()> toggle) : toggle_(std::move(toggle)) {
  controls_.add("lblProductName", ControlKind::Label, kProgramName);
  controls_.add("lblBrand", ControlKind::Label, kBrandName);
  controls_.add("lblVersion", ControlKind::Label, kVersionLabel);
  controls_.add("lblDisclaimer", ControlKind::Label, kLegalWarning);
  controls_.add("lblCompany", ControlKind::Label, kMakerName);
  controls_.add("imgISO", ControlKind::Label);
  controls_.add("SSCommand1", ControlKind::Button, "&OK");
}

void AboutBoxModel::keyPress(std::string_view name, KeyModifiers modifiers) {
  if (name != "imgISO") return;
  armed_ = modifiers.ctrl && modifiers.alt && !modifiers.shift;
}

void AboutBoxModel::doubleClick(std::string_view name) {
  if (name != "imgISO" || !armed_ || !toggle_) return;
  toggle_();
}

const std::string& StartupModel::caption() {
  static const std::string text = std::string(kProgramName) + "\u00AE   Steam Tracing";
  return text;
}

StartupModel::StartupModel(std::string osLabel) {
  controls_.add("lblProductName", ControlKind::Label, kProgramName);
  controls_.add("lblSubtitle", ControlKind::Label, "Steam Heat Tracing Design Software");
  controls_.add("lblVersion", ControlKind::Label, std::string("(") + kVersionLabel + ")");
  controls_.add("lblPlatform", ControlKind::Label, std::move(osLabel));
  controls_.add("lblCompany", ControlKind::Label, kMakerName);
  controls_.add("lblWarning", ControlKind::Label, kShortLegalWarning);
  controls_.add("English", ControlKind::Button, " &Inch Pound Units");
  controls_.add("Metric", ControlKind::Button, " &SI Metric Units");
}

std::optional<UnitChoice> StartupModel::clicked(std::string_view name) const {
  if (name == "English") return UnitChoice{UnitSystem::English, PressureUnit::Psig};
  if (name == "Metric") return UnitChoice{UnitSystem::Metric, PressureUnit::BarG};
  return std::nullopt;
}

}  // namespace vst
