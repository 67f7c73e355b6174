// The Applications panels: one product description per leaf of the main
// window's "&Applications" menu, shown in `AppForm` over a picture from the
// program's folder. Product names inside a panel's text are bold.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/controls.h"

namespace vst {

// A piece of a printed line in one face.
struct TextRun {
  std::string text;
  bool bold = false;
  bool operator==(const TextRun&) const = default;
};

// One printed line; an empty line leaves a blank line.
using PanelLine = std::vector<TextRun>;

// Splits a line marked up with '*' around bold words ("the *MCX* channel")
// into runs. A '*' without its closing partner is printed as it stands.
PanelLine ParseMarkedLine(std::string_view marked);

// The line's text without faces.
std::string PlainText(const PanelLine& line);

struct AppPanel {
  std::string_view menuItem;      // control name of the menu item: "cond1"
  std::string_view submenu;       // the submenu holding it ("channel"), or empty on the top menu
  std::string_view menuCaption;   // "Conduction Heat Transfer Applications"
  std::string_view picture;       // file name in the program's folder: "CHANNEL.BMP"
  std::string caption;            // the panel window's caption
  std::vector<PanelLine> lines;   // the text printed below the picture
  bool internalModeOnly = false;  // the item is shown only in InternalMode
};

// A submenu of "&Applications".
struct AppSubmenu {
  std::string_view name;     // "channel"
  std::string_view caption;  // "Trough Line"
};

// The submenus in menu order: channel, Cement, coverlyn.
const std::vector<AppSubmenu>& AppSubmenus();

// Every panel in menu order; items with an empty submenu sit on the top menu
// after the submenus.
const std::vector<AppPanel>& AppPanels();

// The panel of a menu item, or null.
const AppPanel* FindAppPanel(std::string_view menuItem);

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
