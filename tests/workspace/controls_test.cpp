#include "workspace/controls.h"

#include <gtest/gtest.h>

#include <string>

#include "support/script_dialogs.h"
#include "workspace/stmain_model.h"

namespace vst {
namespace {

// Names that share their first or last eight characters, or both.
TEST(ControlSet, FindsEachNameAmongLookAlikes) {
  const char* names[] = {"A",
                         "AB",
                         "Label1",
                         "Label10",
                         "Label1x",
                         "Pipe_Len",
                         "Pipe_Len_In",
                         "Pipe_Len_Out",
                         "abcdefgh_X_12345678",
                         "abcdefgh_Y_12345678",
                         "",
                         "Unit1",
                         "lblInsul_Typ_In",
                         "lblInsul_Typ_Out"};
  ControlSet set;
  for (const char* n : names) set.add(n, ControlKind::Label, std::string("text of ") + n);
  set.add("Label1", ControlKind::Label, "second Label1");
  for (const char* n : names) {
    ASSERT_TRUE(set.has(n)) << n;
    EXPECT_EQ(set[n].text, std::string("text of ") + n);  // the first of a repeated name wins
  }
  EXPECT_FALSE(set.has("Label2"));
  EXPECT_THROW(set["abcdefgh_Z_12345678"], std::out_of_range);
}

// The main window's controls answer to their enum and to their names alike.
TEST(MainWindowControls, EachIdNamesTheControlAtItsPosition) {
  test::ScriptDialogs dialogs;
  STmainModel model(UnitSystem::English, PressureUnit::Psig, dialogs, '.');
  for (std::size_t at = 0; at < kStControlCount; ++at) {
    const auto id = static_cast<StId>(at);
    EXPECT_EQ(model.controls()[id].name, NameOf(id));
    EXPECT_EQ(FindStId(NameOf(id)), id);
  }
  EXPECT_EQ(FindStId("Openfile"), std::nullopt);  // a menu item, from the menu tables
}

}  // namespace
}  // namespace vst
