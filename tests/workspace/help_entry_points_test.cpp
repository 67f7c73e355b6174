// Every help entry point of the main window (F1 in an input, a click on an
// output) opens a page that the book of the mode in force holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "docs/chm_book.h"
#include "docs/documents.h"
#include "docs/help_book.h"
#include "stmain_test_support.h"
#include "support/test_paths.h"
#include "workspace/stmain_controls.h"
#include "workspace/stmain_model.h"

namespace vst {
namespace {

// The help entry points of the control table that the window shows, each
// used as the user would (F1 in an input, a click on an output), with the
// help context the window asked for.
std::map<std::string, int> HelpEntryPoints(STmainModel& m) {
  std::map<std::string, int> found;
  for (const ControlRow& row : STmainControlRows()) {
    if (row.helpContext <= 0) continue;
    if (!m.controls()[row.name].visible) continue;  // hidden: neither focused nor clicked
    if (row.output) {
      m.clicked(row.name);
    } else {
      m.helpKey(row.name);
    }
    const auto r = m.takeWindowRequest();
    if (!r || r->kind != WindowRequest::Kind::Help) {
      ADD_FAILURE() << row.name << " opens no help";
      continue;
    }
    EXPECT_EQ(r->helpContext, row.helpContext) << row.name;
    found[row.name] = r->helpContext;
  }
  return found;
}

TEST(HelpEntryPoints, EveryEntryPointOpensAPageOfTheBookOfTheModeInForce) {
  // A designed record in each mode, so that every output is shown.
  test::Session standardSession;
  standardSession.design();
  const std::map<std::string, int> standard = HelpEntryPoints(standardSession.model);
  test::Session internalSession;
  internalSession.internalMode();
  internalSession.design();
  ASSERT_TRUE(internalSession.model.internalMode());
  const std::map<std::string, int> internal = HelpEntryPoints(internalSession.model);
  const std::filesystem::path bin(vst::test::BinDir());

  // 17 inputs (the intermittent exposure, hidden, has its topic in the
  // contents only) and 10 outputs, three of which InternalMode alone shows.
  EXPECT_EQ(internal.size(), 27u);
  EXPECT_EQ(standard.size(), 24u);
  EXPECT_EQ(standard.at("txtHuTime"), 47);
  for (const char* name : {"cboTracerMaterial", "cboTubeWallThick", "cboApplication", "Circ_No", "Line_No"}) {
    EXPECT_TRUE(standard.count(name)) << name << " has no topic";
  }
  for (const char* name : {"Cond_Load", "Trap_Dist", "Rise"}) {
    EXPECT_TRUE(internal.count(name) && !standard.count(name)) << name;
  }

  std::map<int, std::string> contexts;  // unique numbers
  for (const auto& [name, context] : internal) {
    EXPECT_GT(context, 0) << name;
    EXPECT_TRUE(contexts.emplace(context, name).second)
        << name << " shares " << context << " with " << contexts[context];
  }

  for (bool internalMode : {false, true}) {
    const auto book = ChmBook::open(LocateHelp(bin, internalMode, 0).book);
    ASSERT_TRUE(book) << HelpFileName(internalMode);
    EXPECT_TRUE(book->has(HelpTopicPage(0)));
    for (const auto& [name, context] : internalMode ? internal : standard) {
      const std::string page = HelpTopicPage(context);
      EXPECT_TRUE(book->has(page)) << name << ": " << page << " is missing from "
                                   << HelpFileName(internalMode);
    }
    // What the standard mode cannot reach is left out of its book.
    for (const auto& [name, context] : internal) {
      if (!internalMode && !standard.count(name)) {
        EXPECT_FALSE(book->has(HelpTopicPage(context))) << name;
      }
    }
  }
}

TEST(HelpEntryPoints, HelpCommandOpensTheContentsAndDocumentCommandsTheirDocument) {
  test::ScriptDialogs dialogs;
  STmainModel m(UnitSystem::Metric, PressureUnit::BarG, dialogs, ',');
  m.clicked("ctfwHelp");
  auto r = m.takeWindowRequest();
  ASSERT_TRUE(r);
  EXPECT_EQ(r->kind, WindowRequest::Kind::Help);
  EXPECT_EQ(r->helpContext, 0);
  for (const ProductDocument& d : ProductDocuments()) {
    m.clicked(d.menuItem);
    r = m.takeWindowRequest();
    ASSERT_TRUE(r) << d.menuItem;
    EXPECT_EQ(r->kind, WindowRequest::Kind::Document);
    EXPECT_EQ(r->panel, d.menuItem);
  }
  m.clicked("mnuQQForms");  // a submenu opens nothing
  EXPECT_FALSE(m.takeWindowRequest());
}

}  // namespace
}  // namespace vst
