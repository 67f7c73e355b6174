#include "docs/help_source.h"

#include <algorithm>
#include <cctype>

#include "core/legacy_math.h"

namespace vst {

namespace {

// Blanks, tabs and line ends off both ends.
std::string_view TrimSpace(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// Calls f for each line without its end-of-line characters.
template <typename F>
void ForEachLine(std::string_view text, F f) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    f(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

}  // namespace

bool InternalOnlyPage(std::string_view page) {
  const std::string lower = Lowercase(page);
  const std::size_t head = lower.find("</head>");
  const std::string_view inHead = std::string_view(lower).substr(0, head);
  return inHead.find("<meta name=\"book\" content=\"internal\">") != std::string_view::npos;
}

std::optional<std::string> BookPage(std::string_view page, HelpBookKind kind, std::string* error) {
  // The passage being read: 0 both books, 1 internal only, 2 standard only.
  int passage = 0;
  int lineNo = 0;
  std::string out;
  std::string problem;
  ForEachLine(page, [&](std::string_view line) {
    ++lineNo;
    if (!problem.empty()) return;
    const std::string marker = Lowercase(TrimSpace(line));
    const bool opensInternal = marker == "<!--internal-->";
    const bool opensStandard = marker == "<!--standard-->";
    const bool closesInternal = marker == "<!--/internal-->";
    const bool closesStandard = marker == "<!--/standard-->";
    if (opensInternal || opensStandard) {
      if (passage != 0) problem = "line " + std::to_string(lineNo) + ": a passage opens inside another";
      passage = opensInternal ? 1 : 2;
      return;
    }
    if (closesInternal || closesStandard) {
      if (passage != (closesInternal ? 1 : 2)) {
        problem = "line " + std::to_string(lineNo) + ": a passage closes that is not open";
      }
      passage = 0;
      return;
    }
    const bool keep = passage == 0 || (passage == 1) == (kind == HelpBookKind::Internal);
    if (keep) {
      out.append(line);
      out.push_back('\n');
    }
  });
  if (problem.empty() && passage != 0) problem = "a passage is not closed";
  if (!problem.empty()) {
    if (error) *error = problem;
    return std::nullopt;
  }
  return out;
}

std::string PageTitle(std::string_view page) {
  const std::string lower = Lowercase(page);
  const std::size_t open = lower.find("<title>");
  if (open == std::string::npos) return {};
  const std::size_t start = open + 7;
  const std::size_t close = lower.find("</title>", start);
  if (close == std::string::npos) return {};
  return std::string(TrimSpace(page.substr(start, close - start)));
}

std::vector<OutlineEntry> ParseBookOutline(std::string_view text) {
  std::vector<OutlineEntry> out;
  ForEachLine(text, [&](std::string_view raw) {
    const std::string_view line = TrimSpace(raw);
    if (line.empty() || line.substr(0, 2) == "//") return;
    if (line.front() == '#') {
      out.push_back({OutlineEntry::Kind::Heading, std::string(TrimSpace(line.substr(1)))});
    } else if (line.front() == '@') {
      out.push_back({OutlineEntry::Kind::Picture, std::string(TrimSpace(line.substr(1)))});
    } else {
      out.push_back({OutlineEntry::Kind::Page, std::string(line)});
    }
  });
  return out;
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::string SitemapText(const std::vector<ContentsItem>& items) {
  std::string out =
      "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML>\n<HEAD>\n</HEAD>\n<BODY>\n"
      "<OBJECT type=\"text/site properties\">\n</OBJECT>\n<UL>\n";
  int level = 0;
  for (const ContentsItem& item : items) {
    while (level > item.level) {
      out += "</UL>\n";
      --level;
    }
    while (level < item.level) {
      out += "<UL>\n";
      ++level;
    }
    out += "<LI> <OBJECT type=\"text/sitemap\">\n<param name=\"Name\" value=\"" + HtmlEscape(item.title) +
           "\">\n";
    if (!item.page.empty()) out += "<param name=\"Local\" value=\"" + HtmlEscape(item.page) + "\">\n";
    out += "</OBJECT>\n";
  }
  while (level-- > 0) out += "</UL>\n";
  out += "</UL>\n</BODY>\n</HTML>\n";
  return out;
}

namespace {

// The value of attribute `name` in a tag (lower-cased copy `lowerTag`), with
// the entities of HtmlEscape undone.
std::string Attribute(std::string_view tag, std::string_view lowerTag, std::string_view name) {
  const std::string key = std::string(name) + "=\"";
  const std::size_t at = lowerTag.find(key);
  if (at == std::string_view::npos) return {};
  const std::size_t start = at + key.size();
  const std::size_t end = tag.find('"', start);
  if (end == std::string_view::npos) return {};
  std::string value(tag.substr(start, end - start));
  const std::pair<const char*, char> entities[] = {
      {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&amp;", '&'}};
  for (const auto& [entity, c] : entities) {
    for (std::size_t p = value.find(entity); p != std::string::npos; p = value.find(entity, p + 1)) {
      value.replace(p, std::string_view(entity).size(), 1, c);
    }
  }
  return value;
}

}  // namespace

std::vector<ContentsItem> ParseSitemap(std::string_view text) {
  std::vector<ContentsItem> out;
  int depth = 0;
  bool inItem = false;
  ContentsItem item;
  std::size_t at = 0;
  while ((at = text.find('<', at)) != std::string_view::npos) {
    const std::size_t end = text.find('>', at);
    if (end == std::string_view::npos) break;
    const std::string_view tag = text.substr(at, end - at + 1);
    const std::string lower = Lowercase(tag);
    at = end + 1;
    if (lower.rfind("<ul", 0) == 0) {
      ++depth;
    } else if (lower.rfind("</ul", 0) == 0) {
      depth = std::max(0, depth - 1);
    } else if (lower.rfind("<object", 0) == 0 && lower.find("text/sitemap") != std::string::npos) {
      inItem = true;
      item = ContentsItem{{}, {}, std::max(0, depth - 1)};
    } else if (inItem && lower.rfind("<param", 0) == 0) {
      const std::string name = Lowercase(Attribute(tag, lower, "name"));
      if (name == "name") item.title = Attribute(tag, lower, "value");
      if (name == "local") item.page = Attribute(tag, lower, "value");
    } else if (inItem && lower.rfind("</object", 0) == 0) {
      inItem = false;
      out.push_back(item);
    }
  }
  return out;
}

}  // namespace vst
