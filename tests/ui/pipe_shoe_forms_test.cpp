// The fittings and pipe-shoe dialogs: their widgets carry the models' control
// names, the Enter key walks the model's focus order, a refused entry keeps
// the dialog open and only the dialog's own command closes it.
#include "ui/pipe_shoe_forms.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "recording_dialogs.h"
#include "ui/binder.h"
#include "ui/qt_dialogs.h"

namespace vst::ui {
namespace {

using test::RecordingDialogs;

template <class W>
W* Child(QWidget* parent, const char* name) {
  return parent->findChild<W*>(QString::fromLatin1(name));
}

bool ShowActive(QWidget* w) {
  w->show();
  QApplication::setActiveWindow(w);
  return QTest::qWaitForWindowActive(w);
}

PipeFormSetup EnglishPipe() {
  PipeFormSetup setup;
  setup.pipeLengthText = "100";
  setup.VALN = 2;
  return setup;
}

TEST(PipeFormWindow, ShowsTheModelsCaptionLabelsAndValues) {
  RecordingDialogs dialogs;
  PipeFormModel model(EnglishPipe(), dialogs);
  PipeForm form(model);
  ASSERT_TRUE(ShowActive(&form));
  EXPECT_EQ(form.windowTitle(), "Pipe Length = 100 Feet");
  EXPECT_EQ(Child<QLabel>(&form, "Label3")->text(), "Number of Flanges    ");
  EXPECT_EQ(Child<QLabel>(&form, "Label6")->text(), " Ft");
  EXPECT_EQ(Child<QComboBox>(&form, "Combo2")->count(), 2);
  EXPECT_EQ(Child<QLineEdit>(&form, "numvalves")->text(), "2");
  EXPECT_EQ(Child<QPushButton>(&form, "Command1")->text(), "&Next");
  EXPECT_TRUE(form.binder().unboundControls().empty());
}

TEST(PipeFormWindow, EnterKeyMovesThroughTheFieldsThenPressesNext) {
  RecordingDialogs dialogs;
  PipeFormModel model(EnglishPipe(), dialogs);
  PipeForm form(model);
  ASSERT_TRUE(ShowActive(&form));
  const std::vector<std::string> order = {"Combo2",   "numvalves", "numflanges",
                                          "numpumps", "Text1",     "Command1"};
  for (std::size_t i = 0; i < order.size(); ++i) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr) << "step " << i;
    EXPECT_EQ(focused->objectName().toStdString(), order[i]) << "after " << i << " Enter presses";
    QTest::keyClick(focused, Qt::Key_Return);
  }
  EXPECT_TRUE(model.closed());
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_FALSE(form.isVisible());
}

TEST(PipeFormWindow, RefusedEntryKeepsTheDialogOpenOnThatBox) {
  RecordingDialogs dialogs;
  PipeFormModel model(EnglishPipe(), dialogs);
  PipeForm form(model);
  ASSERT_TRUE(ShowActive(&form));
  auto* flanges = Child<QLineEdit>(&form, "numflanges");
  flanges->setFocus();
  flanges->selectAll();
  QTest::keyClicks(flanges, "abc");
  QTest::mouseClick(Child<QPushButton>(&form, "Command1"), Qt::LeftButton);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Input Error");
  EXPECT_FALSE(model.closed());
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(flanges->hasFocus());

  flanges->selectAll();
  QTest::keyClicks(flanges, "3");
  QTest::mouseClick(Child<QPushButton>(&form, "Command1"), Qt::LeftButton);
  EXPECT_TRUE(model.closed());
  EXPECT_EQ(model.answer().flanges, 3.0f);
  EXPECT_EQ(model.answer().valves, 2.0f);
}

TEST(PipeFormWindow, EscapeDoesNotCloseIt) {
  RecordingDialogs dialogs;
  PipeFormModel model(EnglishPipe(), dialogs);
  PipeForm form(model);
  ASSERT_TRUE(ShowActive(&form));
  QTest::keyClick(&form, Qt::Key_Escape);
  form.reject();
  EXPECT_TRUE(form.isVisible());
}

TEST(ShoeFormWindow, AddsShoeSizesAndClosesOnDone) {
  RecordingDialogs dialogs;
  ShoeFormModel model(ShoeFormSetup{}, dialogs);
  ShoeForm form(model);
  ASSERT_TRUE(ShowActive(&form));
  EXPECT_EQ(form.windowTitle(), " Tubing Allowances for Shoes");
  EXPECT_EQ(Child<QLabel>(&form, "Label1")->text(), "Shoe Length (inches)");
  EXPECT_TRUE(form.binder().unboundControls().empty());

  // 4 shoes of 12 in: 4 x (0.5 + 2 x 1) = 10 ft, typed with Enter between.
  auto* length = Child<QLineEdit>(&form, "shoeln");
  ASSERT_TRUE(length->hasFocus());
  length->selectAll();
  QTest::keyClicks(length, "12");
  QTest::keyClick(length, Qt::Key_Return);
  auto* count = Child<QLineEdit>(&form, "shoenum");
  ASSERT_TRUE(count->hasFocus());
  count->selectAll();
  QTest::keyClicks(count, "4");
  QTest::keyClick(count, Qt::Key_Return);
  ASSERT_TRUE(Child<QPushButton>(&form, "NextSize")->hasFocus());
  QTest::keyClick(Child<QPushButton>(&form, "NextSize"), Qt::Key_Return);
  EXPECT_EQ(Child<QLineEdit>(&form, "shoetot")->text(), "10");
  EXPECT_EQ(length->text(), "0");

  QTest::mouseClick(Child<QPushButton>(&form, "Redo"), Qt::LeftButton);
  EXPECT_EQ(Child<QLineEdit>(&form, "shoetot")->text(), "0");
  EXPECT_FALSE(model.closed());

  QTest::mouseClick(Child<QPushButton>(&form, "Done"), Qt::LeftButton);
  EXPECT_TRUE(model.closed());
  EXPECT_FALSE(form.isVisible());
}

TEST(QtDialogsForms, PipeFormWaitsUntilNextIsAccepted) {
  QtDialogs dialogs;
  bool sawDialog = false;
  std::function<void()> press = [&] {
    auto* form = qobject_cast<PipeForm*>(QApplication::activeModalWidget());
    if (!form) {
      QTimer::singleShot(10, press);  // not shown yet
      return;
    }
    sawDialog = true;
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  };
  QTimer::singleShot(0, press);
  const std::optional<PipeFormAnswer> answer = dialogs.pipeForm(EnglishPipe());  // returns once closed
  EXPECT_TRUE(sawDialog);
  EXPECT_TRUE(answer.has_value());
}

}  // namespace
}  // namespace vst::ui
