// The about box `AboutForm` and the start-up window `About_Form`: their
// controls, and the hidden gesture of the about box that switches the program
// mode. Toolkit-free; the Qt windows draw these controls and forward events.
// Their texts are docs/about_box.h.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/design_record.h"
#include "docs/about_box.h"
#include "workspace/controls.h"

namespace vst {

// Modifier keys held at a key press.
struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// The about box. Controls: lblProductName "Vantrel", lblBrand "Vaporix",
// lblVersion (the version label), lblDisclaimer (the legal warning),
// lblCompany (the maker), imgISO (the certification picture) and the
// command SSCommand1 "&OK", which closes the box.
class AboutBoxModel {
 public:
  static constexpr const char* kCaption = "About Vaporix";

  // toggle switches the program mode; the main window supplies it. An empty
  // toggle makes the gesture do nothing.
  explicit AboutBoxModel(std::function<void()> toggle);

  ControlSet& controls() { return controls_; }
  const ControlSet& controls() const { return controls_; }

  // A key press on control `name`. On imgISO every press decides anew: the
  // gesture is armed when Ctrl and Alt are held without Shift, and disarmed
  // by any other press.
  void keyPress(std::string_view name, KeyModifiers modifiers);

  // A double-click on control `name`: on the armed imgISO it runs the
  // toggle. The toggle leaves the gesture armed, so a further double-click
  // toggles back.
  void doubleClick(std::string_view name);

  bool armed() const { return armed_; }

 private:
  std::function<void()> toggle_;
  ControlSet controls_;
  bool armed_ = false;
};

// What the start-up window's commands choose for the whole run.
struct UnitChoice {
  UnitSystem units = UnitSystem::English;
  PressureUnit pressureUnit = PressureUnit::Psig;  // psig for English units, bar g for Metric
};

// The start-up window `About_Form`. Controls: lblProductName, lblSubtitle
// "Steam Heat Tracing Design Software", lblVersion "(Version 3.0.1)",
// lblPlatform (the operating system label), lblCompany (the maker),
// lblWarning (a short legal warning) and the commands English
// " &Inch Pound Units" and Metric " &SI Metric Units".
class StartupModel {
 public:
  // "Vantrel(R)   Steam Tracing".
  static const std::string& caption();

  // osLabel names the operating system the program runs on.
  explicit StartupModel(std::string osLabel);

  ControlSet& controls() { return controls_; }
  const ControlSet& controls() const { return controls_; }

  // A command clicked: the unit choice of English or Metric, after which the
  // main window opens and this window closes; nothing for other names.
  std::optional<UnitChoice> clicked(std::string_view name) const;

 private:
  ControlSet controls_;
};

}  // namespace vst
