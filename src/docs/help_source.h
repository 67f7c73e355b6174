// The help pages' one source for two books. Each page under data/help/ is
// written once; the standard-mode book is generated from the same pages by
// leaving out what only the maker's engineers see:
//
// - a page whose head holds <meta name="book" content="internal"> belongs to
//   the InternalMode book only;
// - a passage between the lines <!--internal--> and <!--/internal--> is kept
//   in the InternalMode book and left out of the standard one;
// - a passage between <!--standard--> and <!--/standard--> is the reverse.
//
// The marker comments themselves are removed from both books. The list of
// pages and the contents tree come from book.txt (see ParseBookOutline).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vst {

enum class HelpBookKind { Internal, Standard };

// True when the page belongs to the InternalMode book only.
bool InternalOnlyPage(std::string_view page);

// The page as the book of `kind` holds it. Unbalanced markers make the page
// unusable: the result is empty and `error` says which marker.
std::optional<std::string> BookPage(std::string_view page, HelpBookKind kind, std::string* error = nullptr);

// The text of the page's <title>, trimmed; empty when there is none.
std::string PageTitle(std::string_view page);

// One line of the book outline: a heading of the contents tree ("# Inputs")
// or a page ("1.htm"), or a picture the pages show ("@ CHANNEL.PNG").
struct OutlineEntry {
  enum class Kind { Heading, Page, Picture } kind;
  std::string text;
};

// Reads book.txt: one entry a line; blank lines and lines starting "//" are
// skipped.
std::vector<OutlineEntry> ParseBookOutline(std::string_view text);

// The contents tree (.hhc sitemap) of a book: the headings as folders with
// the pages below them, each page under its title.
struct ContentsItem {
  std::string title;
  std::string page;  // empty for a heading
  int level = 0;     // 0 for a heading or a page before any heading, 1 below a heading
};
std::string SitemapText(const std::vector<ContentsItem>& items);

// Reads a contents tree back: each <OBJECT type="text/sitemap"> gives one
// item (its Name and Local parameters), at the nesting depth of its <UL>
// lists (the outermost list is level 0). Anything else is skipped.
std::vector<ContentsItem> ParseSitemap(std::string_view text);

// Escapes &, <, > and " for HTML text and attribute values.
std::string HtmlEscape(std::string_view text);

}  // namespace vst
