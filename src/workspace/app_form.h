// The toolkit-free model of the window that shows one of the Applications
// panels (docs/app_panels.h).
#pragma once

#include <string>
#include <string_view>

#include "docs/app_panels.h"
#include "workspace/controls.h"

namespace vst {

// The panel window `AppForm`: which panel it shows. Controls: mnuPrint
// "&Print" and mnuReturn "&Return".
class AppFormModel {
 public:
  AppFormModel();

  ControlSet& controls() { return controls_; }
  const ControlSet& controls() const { return controls_; }

  // Shows the panel of a menu item, replacing the picture, the caption and
  // the whole text of the panel shown before. False (nothing changes) for a
  // name that is no panel.
  bool show(std::string_view menuItem);

  // The panel shown, or null before the first show().
  const AppPanel* panel() const { return panel_; }

  // Caption of the window: the panel's caption, or empty.
  std::string caption() const;

  // A menu command: "mnuReturn" closes the window (true), "mnuPrint" and
  // other names leave it open (printing is the window's own command).
  bool clicked(std::string_view name) const;

 private:
  ControlSet controls_;
  const AppPanel* panel_ = nullptr;
};

}  // namespace vst
