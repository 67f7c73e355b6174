// The column mapping dialog's skin: each heading's choice drawn from the
// model and handed back to it, fixed headings not offered, OK only while
// the mapping can be taken, the reason shown beside it.
#include "ui/column_mapping_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "support/script_dialogs.h"
#include "workspace/column_mapping.h"

namespace vst::ui {
namespace {

TEST(ColumnMappingDialog, ChoicesReachTheModelAndOkWaitsForAMappingThatCanBeTaken) {
  const std::vector<std::string> headings = {"CIRTXT",   "Hottest",  "MINAMB",   "MAINTEMP", "MAXEXP",
                                             "INSTYPE",  "INSTHK",   "PIPESIZE", "PIPELN",   "PASSES",
                                             "STEAMPRS", "TRACEINS", "TRACETUB", "TUBEMAT"};
  ColumnMappingModel model(headings, {{"C-1", "100"}}, {});
  test::ScriptDialogs dialogs;
  ColumnMappingDialog dialog(model, dialogs);
  auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("mappingTable"));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->item(1, 0)->text(), QStringLiteral("Hottest"));
  EXPECT_EQ(table->item(1, 3)->text(), QStringLiteral("100"));  // the list's first row beside it
  auto* code = dialog.findChild<QComboBox*>(QStringLiteral("column0"));
  auto* hottest = dialog.findChild<QComboBox*>(QStringLiteral("column1"));
  ASSERT_TRUE(code && hottest);
  EXPECT_FALSE(code->isEnabled());  // read by its field code
  auto* problem = dialog.findChild<QLabel*>(QStringLiteral("mappingProblem"));
  QPushButton* ok = nullptr;
  for (auto* button : dialog.findChildren<QPushButton*>())
    if (button->text() == QStringLiteral("OK") || button->text() == QStringLiteral("&OK")) ok = button;
  ASSERT_TRUE(problem && ok);

  struct Step {
    int choice;
    bool okEnabled;
    const char* problem;
  };
  const Step steps[] = {
      {0, false, "Not yet: no heading gives MAXAMB (Max. Ambient)."},
      {kMAXAMB + 1, true, ""},
      {kMINAMB + 1, false, "Not yet: the headings \"Hottest\" and \"MINAMB\" both give MINAMB."},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.choice);
    hottest->setCurrentIndex(s.choice);
    EXPECT_EQ(model.choice(1), s.choice);
    EXPECT_EQ(ok->isEnabled(), s.okEnabled);
    EXPECT_EQ(problem->text().toStdString(), s.problem);
  }
}

}  // namespace
}  // namespace vst::ui
