#include "workspace/controls.h"

#include <gtest/gtest.h>

#include <string>

namespace vst {
namespace {

void ExpectSameControls(const ControlSet& got, const ControlSet& want) {
  ASSERT_EQ(got.all().size(), want.all().size());
  for (std::size_t i = 0; i < want.all().size(); ++i) {
    const Control& g = got.all()[i];
    const Control& w = want.all()[i];
    EXPECT_EQ(g.name, w.name) << i;
    EXPECT_EQ(g.text, w.text) << w.name;
    EXPECT_EQ(g.items, w.items) << w.name;
    EXPECT_EQ(g.index, w.index) << w.name;
    EXPECT_EQ(g.visible, w.visible) << w.name;
  }
}

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

// A name built in one buffer, then another name in the same buffer: the
// second lookup must not return the first control.
TEST(ControlSet, ReusedNameBufferFindsTheNewName) {
  ControlSet set;
  set.add("Label1", ControlKind::Label, "one");
  set.add("Label2", ControlKind::Label, "two");
  std::string name = "Label1";
  EXPECT_EQ(set[name].text, "one");
  name[5] = '2';
  EXPECT_EQ(set[name].text, "two");
  name[5] = '3';
  EXPECT_THROW(set[name], std::out_of_range);
}

TEST(ControlSet, RestoreUndoesEveryChangeOfEitherSet) {
  ControlSet snapshot;
  snapshot.add("Max_Amb", ControlKind::TextBox, "100");
  snapshot.add("Cab_In", ControlKind::List).items = {"Troughline", "Fillet Trace"};
  snapshot.add("TraceTp", ControlKind::Label, "Clipstrip");

  ControlSet window = snapshot;
  for (int row = 0; row < 3; ++row) {
    window["Max_Amb"].text = "95";
    window["Cab_In"].index = row % 2;
    window["TraceTp"].visible = false;
    window.restore(snapshot);
    ExpectSameControls(window, snapshot);
  }
  // The snapshot changes after a restore: the next restore brings it all.
  snapshot["TraceTp"].text = "Troughline";
  window["Max_Amb"].text = "90";
  window.restore(snapshot);
  ExpectSameControls(window, snapshot);
  // A set of another shape.
  ControlSet other;
  other.add("Only", ControlKind::Label, "x");
  window.restore(other);
  ExpectSameControls(window, other);
  window["Only"].text = "y";
  window = snapshot;
  ExpectSameControls(window, snapshot);
}

TEST(ControlSet, KeptChangesAreMadeAgainOnlyToTheStateTheyWereMadeTo) {
  ControlSet snapshot;
  snapshot.add("Max_Amb", ControlKind::TextBox, "100");
  snapshot.add("Cab_In", ControlKind::List).items = {"Troughline", "Fillet Trace"};
  snapshot.add("Rise", ControlKind::TextBox, "7.5");

  ControlSet window = snapshot;
  window.restore(snapshot);
  window["Cab_In"].index = 1;
  window["Max_Amb"].text = "95";
  ControlSet expected = window;
  const ControlSet::Changes kept = window.changes();

  // Another row changes other controls; the kept changes bring back the
  // first row's window, and only that.
  window.restore(snapshot);
  window["Rise"].text = "";
  ASSERT_TRUE(window.restore(snapshot, kept));
  ExpectSameControls(window, expected);
  window.restore(snapshot);
  ExpectSameControls(window, snapshot);

  // Changes to a snapshot that has changed since are not made.
  snapshot["Rise"].text = "9";
  EXPECT_FALSE(window.restore(snapshot, kept));
  ExpectSameControls(window, snapshot);
}

}  // namespace
}  // namespace vst
