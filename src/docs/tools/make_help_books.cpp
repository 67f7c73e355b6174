// Writes the two help books' compiler inputs from the one source of pages:
//
//   make_help_books <source folder> <output folder> [<picture folder>]
//
// The source folder holds book.txt (the outline) and the pages it lists. For
// each book, <output>/internal and <output>/standard receive the pages as
// that book holds them, the pictures the outline names (from the picture
// folder), the contents tree contents.hhc and the project book.hhp, from
// which chmcmd compiles STHelp.chm or STHelp2.chm. A page that is missing,
// has unbalanced markers or links to a page its book does not hold stops the
// build with a message naming it.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "docs/help_book.h"
#include "docs/help_source.h"

namespace fs = std::filesystem;
using namespace vst;

namespace {

bool ReadFile(const fs::path& file, std::string& out) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  out = s.str();
  return static_cast<bool>(in) || in.eof();
}

bool WriteFile(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

// The pages a page links to ("12.htm" of href="12.htm"), without anchors.
std::vector<std::string> Links(const std::string& page) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while ((at = page.find("href=\"", at)) != std::string::npos) {
    at += 6;
    const std::size_t end = page.find('"', at);
    if (end == std::string::npos) break;
    std::string target = page.substr(at, end - at);
    if (const std::size_t hash = target.find('#'); hash != std::string::npos) target.resize(hash);
    if (!target.empty() && target.find(':') == std::string::npos) out.push_back(target);
    at = end;
  }
  return out;
}

struct SourcePage {
  std::string name;
  std::string text;
};

bool WriteBook(HelpBookKind kind, const std::vector<OutlineEntry>& outline,
               const std::vector<SourcePage>& pages, const fs::path& pictures, const fs::path& out) {
  const bool internal = kind == HelpBookKind::Internal;
  std::error_code ec;
  fs::remove_all(out, ec);
  fs::create_directories(out, ec);
  if (ec) {
    std::cerr << "cannot create " << out << ": " << ec.message() << "\n";
    return false;
  }
  std::set<std::string> inBook;
  for (const SourcePage& p : pages) {
    if (internal || !InternalOnlyPage(p.text)) inBook.insert(p.name);
  }

  std::vector<std::string> files;
  std::vector<ContentsItem> contents;
  int level = 0;
  std::size_t next = 0;
  bool ok = true;
  for (const OutlineEntry& e : outline) {
    if (e.kind == OutlineEntry::Kind::Heading) {
      contents.push_back({e.text, "", 0});
      level = 1;
      continue;
    }
    if (e.kind == OutlineEntry::Kind::Picture) {
      if (pictures.empty()) continue;  // a build without pictures: pages show their alternative text
      if (!fs::copy_file(pictures / e.text, out / e.text, fs::copy_options::overwrite_existing, ec)) {
        std::cerr << "picture " << (pictures / e.text) << ": " << ec.message() << "\n";
        ok = false;
      }
      files.push_back(e.text);
      continue;
    }
    const SourcePage& page = pages[next++];
    if (!inBook.count(page.name)) continue;
    std::string error;
    const std::optional<std::string> text = BookPage(page.text, kind, &error);
    if (!text) {
      std::cerr << page.name << ": " << error << "\n";
      ok = false;
      continue;
    }
    for (const std::string& link : Links(*text)) {
      if (link.size() > 4 && link.substr(link.size() - 4) == ".htm" && !inBook.count(link)) {
        std::cerr << page.name << " links to " << link << ", which the "
                  << (internal ? "InternalMode" : "standard") << " book does not hold\n";
        ok = false;
      }
    }
    if (!WriteFile(out / page.name, *text)) {
      std::cerr << "cannot write " << (out / page.name) << "\n";
      ok = false;
    }
    files.push_back(page.name);
    if (page.name != kHelpContentsPage) {
      const std::string title = PageTitle(page.text);
      contents.push_back({title.empty() ? page.name : title, page.name, level});
    }
  }
  if (!inBook.count(kHelpContentsPage)) {
    std::cerr << "the outline lists no " << kHelpContentsPage << "\n";
    ok = false;
  }

  std::string project =
      "[OPTIONS]\nCompatibility=1.1 or later\nCompiled file=" + std::string(HelpFileName(internal)) +
      "\nContents file=contents.hhc\nDefault topic=" + kHelpContentsPage +
      "\nDisplay compile progress=No\nLanguage=0x409 English (United States)\nTitle=Vantrel ST "
      "Help\n\n[FILES]\n";
  for (const std::string& f : files) project += f + "\n";
  ok = WriteFile(out / "contents.hhc", SitemapText(contents)) && ok;
  ok = WriteFile(out / "book.hhp", project) && ok;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::cerr << "usage: make_help_books <source folder> <output folder> [<picture folder>]\n";
    return 2;
  }
  const fs::path source = argv[1];
  const fs::path output = argv[2];
  const fs::path pictures = argc == 4 ? fs::path(argv[3]) : fs::path();

  std::string outlineText;
  if (!ReadFile(source / "book.txt", outlineText)) {
    std::cerr << "cannot read " << (source / "book.txt") << "\n";
    return 1;
  }
  const std::vector<OutlineEntry> outline = ParseBookOutline(outlineText);
  std::vector<SourcePage> pages;
  bool ok = true;
  for (const OutlineEntry& e : outline) {
    if (e.kind != OutlineEntry::Kind::Page) continue;
    SourcePage page{e.text, {}};
    if (!ReadFile(source / e.text, page.text)) {
      std::cerr << "cannot read page " << (source / e.text) << "\n";
      ok = false;
    }
    pages.push_back(std::move(page));
  }
  if (!ok) return 1;
  ok = WriteBook(HelpBookKind::Internal, outline, pages, pictures, output / "internal");
  ok = WriteBook(HelpBookKind::Standard, outline, pages, pictures, output / "standard") && ok;
  return ok ? 0 : 1;
}
