// The maker's product documents of the main window's "&Help" menu: the
// document table (menu item, caption, file in the "PDF Files" folder beside
// the program), the menu tree that holds them, and the texts that say why a
// document cannot be opened. `OpenDocument`, which opens one with the
// desktop's viewer or says why it cannot, is workspace/document_messages.h.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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
// The Help menu's items of the about box and of the help file's contents.
inline constexpr const char* kAboutMenuItem = "Aboutmnu";
inline constexpr const char* kHelpMenuItem = "ctfwHelp";

enum class DocumentOutcome { Opened, PathError, ApplicationMissing, Error };

// The title and the text of the message shown for a failure, by cause and by
// whether the document is a PDF document (its name ends in "pdf", trailing
// blanks ignored). When a viewer is missing or fails, the text names `file`
// (the document's full path). Not used for Opened.
struct DocumentProblemText {
  std::string title;
  std::string text;
};
DocumentProblemText DocumentProblem(DocumentOutcome outcome, const std::filesystem::path& file);

}  // namespace vst
