// The maker's product documents of the main window's "&Help" menu: the
// document table (menu item, caption, file in the "PDF Files" folder beside
// the program), the menu tree that holds them, and `OpenDocument`, which
// opens one with the desktop's viewer or says why it cannot.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/dialogs.h"

namespace vst {

// One entry of a menu: a menu when other entries name it as their parent,
// otherwise a command. The parent is empty for a menu of the menu bar.
struct MenuEntry {
  std::string name;
  std::string caption;
  std::string parent;
};

// The folder of the product documents, below the program's folder.
inline constexpr const char* kDocumentFolder = "PDF Files";

struct ProductDocument {
  const char* menuItem;  // "mnuK30Info"
  const char* caption;   // "K30"
  const char* file;      // "PDS0015.pdf"
  const char* menu;      // the submenu holding the item: "mnuHTCompounds"
};

// Every document command in menu order. Two commands open PDS0037.pdf.
const std::vector<ProductDocument>& ProductDocuments();

// The document of a menu item, or null.
const ProductDocument* FindDocument(std::string_view menuItem);

// The "&Help" menu (`HelpMenu`) with every entry below it, parents first:
// the about box, the help command, and the four document menus with their
// submenus and document commands.
const std::vector<MenuEntry>& HelpMenuTree();

// What the desktop did with a request to open a file.
enum class LaunchResult {
  Opened,         // a viewer was started for it
  NoApplication,  // no program is registered for the file's type
  Failed,         // the viewer could not be started
};

// Opens a file with the desktop's default program for its type. The desktop
// program implements it; tests record the paths asked for.
class DocumentLauncher {
 public:
  virtual ~DocumentLauncher() = default;
  virtual LaunchResult open(const std::filesystem::path& file) = 0;
};

enum class DocumentOutcome { Opened, PathError, ApplicationMissing, Error };

// The message shown for a failure (title and text), by cause and by whether
// the document is a PDF document (its name ends in "pdf", trailing blanks
// ignored). When a viewer is missing or fails, the message names `file` (the
// document's full path). Not used for Opened.
Message DocumentMessage(DocumentOutcome outcome, const std::filesystem::path& file);

// Opens document `fileName` from the "PDF Files" folder of `programFolder`.
// A missing folder or file gives the "Path Error" message without asking the
// desktop; a launch that fails gives "Application Missing" or "Error". Every
// message has an OK button; the program carries on.
DocumentOutcome OpenDocument(const std::filesystem::path& programFolder, std::string_view fileName,
                             DocumentLauncher& launcher, Dialogs& dialogs);

}  // namespace vst
