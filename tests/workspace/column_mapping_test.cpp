// The column mapping dialog's model: the guesses, what keeps a mapping from
// being taken, the map it gives, and the mapping remembered for the same
// headings.
#include "workspace/column_mapping.h"

#include <gtest/gtest.h>

#include "support/script_dialogs.h"

namespace vst {
namespace {

// A list as a plant keeps it: field codes, and three headings of its own.
const std::vector<std::string> kHeadings = {
    "CIRTXT",   "PIPETXT",    "Max Ambient Temp", "MINAMB",   "MAINTEMP", "MAXEXP",   "INSTYPE", "INSTHK",
    "PIPESIZE", "Run Length", "PASSES",           "STEAMPRS", "TRACEINS", "TRACETUB", "TUBEMAT", "Remarks"};

// The dialog as a person uses it: counted, answered with the choices given.
class MappingDialogs : public test::ScriptDialogs {
 public:
  std::vector<std::pair<int, int>> choices;  // heading, choice
  int asked = 0;
  bool mapColumns(ColumnMappingModel& model) override {
    ++asked;
    for (const auto& [heading, choice] : choices) model.choose(heading, choice);
    return model.problem().empty();
  }
};

TEST(ColumnMapping, HeadingsNothingReadsAreGuessedAndMustGiveEveryRequiredColumn) {
  ColumnMappingModel m(kHeadings, {{"ST-1", "L-1", "100"}}, {});
  ASSERT_TRUE(m.needed());
  EXPECT_EQ(m.choices()[static_cast<std::size_t>(m.choice(2))], "MAXAMB: Max. Ambient (\u00B0F)");  // a guess
  EXPECT_EQ(m.choice(9), 0);  // no guess: Ignore
  EXPECT_EQ(m.preview(0, 2), "100");
  EXPECT_TRUE(m.fixed(0));
  m.choose(0, 5);  // a field code keeps its column
  EXPECT_EQ(m.choice(0), kCIRTXT + 1);
  EXPECT_EQ(m.problem(), "no heading gives PIPELN (Pipe Length)");

  struct Case {
    int heading, choice;
    std::string problem;
  };
  const Case steps[] = {
      {9, kPIPELN + 1, ""},
      {15, kMAXAMB + 1, "the headings \"Max Ambient Temp\" and \"Remarks\" both give MAXAMB"},
      {15, 0, ""},
  };
  for (const Case& s : steps) {
    m.choose(s.heading, s.choice);
    EXPECT_EQ(m.problem(), s.problem);
  }
  EXPECT_EQ(m.map(),
            (ColumnMap{{"Max Ambient Temp", "MAXAMB"}, {"Run Length", "PIPELN"}, {"Remarks", "ignore"}}));
  EXPECT_EQ(m.mapText(), "heading,column\nMax Ambient Temp,MAXAMB\nRun Length,PIPELN\nRemarks,ignore\n");
}

// The dialog asks once; the mapping kept for these headings is taken the
// next time without asking, and a list that needs none never asks.
TEST(ColumnMapping, AMappingIsAskedOnceAndRememberedForTheSameHeadings) {
  MappingDialogs dialogs;
  dialogs.choices = {{9, kPIPELN + 1}};
  std::string remember;
  ColumnMappingModel first(kHeadings, {}, {});
  ASSERT_TRUE(MapColumnsBeforeOpening(first, "", dialogs, remember));
  EXPECT_EQ(dialogs.asked, 1);
  EXPECT_EQ(remember, first.mapText());

  ColumnMappingModel again(kHeadings, {}, {});
  std::string kept;
  ASSERT_TRUE(MapColumnsBeforeOpening(again, remember, dialogs, kept));
  EXPECT_EQ(dialogs.asked, 1);
  EXPECT_EQ(again.map(), first.map());
  EXPECT_EQ(again.settingsKey(), first.settingsKey());

  std::vector<std::string> other = kHeadings;
  other[9] = "PIPELN";
  ColumnMappingModel plain(other, {}, {});
  EXPECT_NE(plain.settingsKey(), first.settingsKey());
  dialogs.choices = {{2, kMAXAMB + 1}};
  plain.choose(15, 0);
  ASSERT_TRUE(MapColumnsBeforeOpening(plain, "", dialogs, kept));
  EXPECT_EQ(dialogs.asked, 2);  // "Max Ambient Temp" and "Remarks" are still nobody's

  ColumnMappingModel cancelled(kHeadings, {}, {});
  dialogs.choices = {};
  EXPECT_FALSE(MapColumnsBeforeOpening(cancelled, "", dialogs, kept));  // PIPELN still missing
}

}  // namespace
}  // namespace vst
