// The Applications panels: one product description per leaf of the main
// window's "&Applications" menu, shown in `AppForm` over a picture from the
// program's folder. Product names inside a panel's text are bold. The window
// model is workspace/app_form.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

}  // namespace vst
