// The help books beside the program: which compiled help file serves the
// program mode in force, which page of it a help context number names, and
// the texts when a book cannot be opened.
//
// A help context number n names the topic page "<n>.htm"; 0 or less names
// the book's contents page. The numbers of the main window's fields are kept
// with the window's help entry points; the pages are written under
// data/help/, one source for both books (see help_source.h).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vst {

// The book of InternalMode, with the condensate load, trap distance and
// vertical rise topics, and the book of the standard mode.
inline constexpr const char* kInternalHelpFile = "STHelp.chm";
inline constexpr const char* kStandardHelpFile = "STHelp2.chm";

// The contents page of both books (context 0).
inline constexpr const char* kHelpContentsPage = "index.htm";

// The help file of a program mode.
const char* HelpFileName(bool internalMode);

// The page of a help context number: "12.htm", or the contents page for 0
// and below.
std::string HelpTopicPage(int context);

// Where help for `context` is found: the book of the mode in the program's
// folder, and the page inside it.
struct HelpLocation {
  std::filesystem::path book;
  std::string page;
};
HelpLocation LocateHelp(const std::filesystem::path& programFolder, bool internalMode, int context);

// Why a book could not be shown.
enum class HelpFileProblem { Missing, Unreadable };

// The text of the message naming the book that is missing or cannot be
// read (the message is workspace/document_messages.h).
std::string HelpFileProblemText(HelpFileProblem problem, const std::filesystem::path& book);

// The text the viewer shows in place of a page the book does not hold.
std::string MissingTopicText(std::string_view page, std::string_view bookName);

}  // namespace vst
