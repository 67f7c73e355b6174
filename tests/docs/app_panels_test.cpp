#include "docs/app_panels.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vst {
namespace {

std::string AllText(const AppPanel& p) {
  std::string text;
  for (const PanelLine& line : p.lines) text += PlainText(line) + "\n";
  return text;
}

std::set<std::string> BoldWords(const AppPanel& p) {
  std::set<std::string> words;
  for (const PanelLine& line : p.lines) {
    for (const TextRun& run : line) {
      if (run.bold) words.insert(run.text);
    }
  }
  return words;
}

TEST(AppPanels, TableOfMenuItemsPicturesAndCaptions) {
  struct Row {
    const char* item;
    const char* submenu;
    const char* menuCaption;
    const char* picture;
    std::string caption;
    bool internalOnly;
  } rows[] = {
      {"cond1", "channel", "Conduction Heat Transfer Applications", "CHANNEL.BMP",
       "Conduction Heat Transfer Applications", false},
      {"clipstrip", "channel", "Clipstrip", "CHANNEL.BMP", "Clipstrip\u00AE Heat Transfer Strip", false},
      {"K30", "channel", "K-30 or K-90", "CHANNEL.BMP", "Type K-30 or K-90 Heat Transfer Compound", false},
      {"cond2", "Cement", "Conduction Heat Transfer Applications", "FILLET.BMP",
       "Conduction Heat Transfer Applications", false},
      {"E55", "Cement", "E-55 or E-50", "FILLET.BMP", "Type E-55 or E-50 Heat Transfer Compound", false},
      {"E72", "Cement", "E-72", "FILLET.BMP", "Type E-72 Heat Transfer Compound", false},
      {"convec", "coverlyn", "YJ-0 (Bare) Steam Tracer", "COVER.BMP", "Convection Heat Transfer Applications",
       false},
      {"YJ1", "coverlyn", "YJ-1 Steam Tracer", "YJ12.BMP", "Type Coverlyn(TM)  YJ-1 Tracer Tube", false},
      {"YJ2", "coverlyn", "YJ-2 Steam Tracer", "YJ12.BMP", "Type Coverlyn(TM)  YJ-2 Tracer Tube", false},
      {"YJ0", "coverlyn", "YJ-0 Steam Tracer", "COVER.BMP", "Type Coverlyn(TM)  YJ-0 Tracer Tube", true},
      {"wrapcore", "", "Wrapcore", "WRAP.BMP", "Wrapcore\u00AE Pre-Insulated Tubing", false},
  };
  ASSERT_EQ(AppPanels().size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& r = rows[i];
    const AppPanel& p = AppPanels()[i];
    EXPECT_EQ(p.menuItem, r.item) << "position " << i;
    EXPECT_EQ(p.submenu, r.submenu) << r.item;
    EXPECT_EQ(p.menuCaption, r.menuCaption) << r.item;
    EXPECT_EQ(p.picture, r.picture) << r.item;
    EXPECT_EQ(p.caption, r.caption) << r.item;
    EXPECT_EQ(p.internalModeOnly, r.internalOnly) << r.item;
    EXPECT_EQ(FindAppPanel(r.item), &p) << r.item;
  }
  EXPECT_EQ(FindAppPanel("channel"), nullptr);
  EXPECT_EQ(FindAppPanel(""), nullptr);
}

TEST(AppPanels, SubmenusInMenuOrder) {
  ASSERT_EQ(AppSubmenus().size(), 3u);
  EXPECT_EQ(AppSubmenus()[0].name, "channel");
  EXPECT_EQ(AppSubmenus()[0].caption, "Trough Line");
  EXPECT_EQ(AppSubmenus()[1].name, "Cement");
  EXPECT_EQ(AppSubmenus()[1].caption, "Fillet Trace");
  EXPECT_EQ(AppSubmenus()[2].name, "coverlyn");
  EXPECT_EQ(AppSubmenus()[2].caption, "Coverlyn");
  for (const AppPanel& p : AppPanels()) {
    if (p.submenu.empty()) continue;
    bool known = false;
    for (const AppSubmenu& s : AppSubmenus()) known = known || s.name == p.submenu;
    EXPECT_TRUE(known) << p.menuItem;
  }
}

TEST(AppPanels, ConductionTextIsSharedByBothSubmenus) {
  const AppPanel* a = FindAppPanel("cond1");
  const AppPanel* b = FindAppPanel("cond2");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->lines, b->lines);
}

// What each panel must say, and the product names it prints in bold.
TEST(AppPanels, PanelTextsStateTheirRatingsAndBoldTheirProducts) {
  struct Row {
    const char* item;
    std::vector<std::string> facts;
    std::set<std::string> bold;
  } rows[] = {
      {"cond1",
       {"200 \u00B0F (93 \u00B0C)", "6 in. (150 mm)", "heat-up", "control band", "fewer tracers"},
       {"Clipstrip", "K-30", "K-90", "MCX", "E-55", "E-50", "E-72"}},
      {"clipstrip",
       {"406 \u00B0F (207 \u00B0C)", "not water soluble", "banded", "snaps"},
       {"Clipstrip", "MCX"}},
      {"K30",
       {"1250 \u00B0F (677 \u00B0C)", "700 \u00B0F (371 \u00B0C)", "160 to 212 \u00B0F (71 to 100 \u00B0C)",
        "water soluble", "irregular equipment"},
       {"K-30", "K-90", "MCX"}},
      {"E55",
       {"1.5 in. (38 mm)", "375 \u00B0F (190 \u00B0C)", "325 \u00B0F (163 \u00B0C)", "32 \u00B0F (0 \u00B0C)",
        "0 \u00B0F (-18 \u00B0C)", "heated cartridge gun", "graphite epoxy"},
       {"E-55", "E-50"}},
      {"E72", {"two-part epoxy", "4 hours", "275 \u00B0F (135 \u00B0C)", "32 \u00B0F (0 \u00B0C)"}, {"E-72"}},
      {"convec", {"200 \u00B0F (93 \u00B0C)", "4 in. (100 mm)"}, {"Coverlyn"}},
      {"YJ1",
       {"3/8 in. (10 mm)", "fiberglass isolation layer", "yellow elastomeric jacket", "12 in. (300 mm)",
        "long coils", "copper or", "stainless"},
       {"Coverlyn", "YJ-1"}},
      {"YJ2",
       {"3/8 in. (10 mm)", "fiberglass", "yellow elastomeric jacket", "burns", "supply manifold",
        "return manifold", "copper or stainless"},
       {"Coverlyn", "YJ-2"}},
      {"YJ0",
       {"3/8 in. or 1/2 in. (10 or 12 mm)", "yellow elastomeric jacket only"},
       {"Coverlyn", "YJ-0", "YJ-1", "YJ-2"}},
      {"wrapcore", {"fiberglass", "foil tape", "PVC jacket", "supply", "return"}, {"Wrapcore"}},
  };
  for (const Row& r : rows) {
    const AppPanel* p = FindAppPanel(r.item);
    ASSERT_TRUE(p) << r.item;
    // Facts may be broken across printed lines; compare with line ends as blanks.
    std::string text = AllText(*p);
    for (char& c : text) {
      if (c == '\n') c = ' ';
    }
    for (const std::string& fact : r.facts) {
      EXPECT_NE(text.find(fact), std::string::npos) << r.item << " lacks \"" << fact << "\"";
    }
    EXPECT_EQ(BoldWords(*p), r.bold) << r.item;
    EXPECT_EQ(text.find('*'), std::string::npos) << r.item << " shows a markup star";
    EXPECT_GE(p->lines.size(), 4u) << r.item;
  }
}

TEST(AppPanels, LinesFitThePanelWidth) {
  for (const AppPanel& p : AppPanels()) {
    for (const PanelLine& line : p.lines) {
      // Characters, not bytes: the degree sign is two bytes of UTF-8.
      std::size_t chars = 0;
      for (unsigned char c : PlainText(line)) chars += (c & 0xC0) != 0x80;
      EXPECT_LE(chars, 90u) << p.menuItem << ": " << PlainText(line);
    }
  }
}

TEST(PanelMarkup, StarsMarkBoldRuns) {
  struct Row {
    const char* marked;
    PanelLine runs;
  } rows[] = {
      {"plain", {{"plain", false}}},
      {"", {}},
      {"*Bold*", {{"Bold", true}}},
      {"a *B* c", {{"a ", false}, {"B", true}, {" c", false}}},
      {"*A* *B*", {{"A", true}, {" ", false}, {"B", true}}},
      {"**", {}},
      {"*A**B*", {{"AB", true}}},
      {"open *star", {{"open *star", false}}},
      {"x *y* z *w", {{"x ", false}, {"y", true}, {" z *w", false}}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ParseMarkedLine(r.marked), r.runs) << "'" << r.marked << "'";
  }
}

}  // namespace
}  // namespace vst
