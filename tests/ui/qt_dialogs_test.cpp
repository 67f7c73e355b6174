// The Qt message boxes show the message's text, title, icon and buttons and
// return the button the user pressed.
#include "ui/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace vst::ui {
namespace {

struct Seen {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  Qt::WindowModality modality = Qt::NonModal;
};

// Shows the message and, once the box is up, records it and presses `press`
// (or closes it with Escape when press is NoButton).
MsgAnswer ShowAndPress(const Message& message, QMessageBox::StandardButton press, Seen* seen) {
  std::function<void()> act = [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      QTimer::singleShot(10, act);
      return;
    }
    *seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->windowModality()};
    if (press == QMessageBox::NoButton) {
      QTest::keyClick(box, Qt::Key_Escape);
      if (box->isVisible()) box->done(0);  // a box without an escape button
    } else {
      box->button(press)->click();
    }
  };
  QTimer::singleShot(0, act);
  QtDialogs dialogs;
  return dialogs.message(message);
}

TEST(QtMessageBoxes, ShowTheMessageAndReturnThePressedButton) {
  struct Row {
    MsgButtons buttons;
    MsgIcon icon;
    const char* title;
    QMessageBox::StandardButton press;
    MsgAnswer expected;
    QMessageBox::Icon shownIcon;
    QMessageBox::StandardButtons shownButtons;
    const char* shownTitle;
  };
  const QMessageBox::StandardButtons ync = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  const Row rows[] = {
      {MsgButtons::Ok, MsgIcon::Information, "Input Error", QMessageBox::Ok, MsgAnswer::Ok,
       QMessageBox::Information, QMessageBox::Ok, "Input Error"},
      {MsgButtons::Ok, MsgIcon::None, "", QMessageBox::Ok, MsgAnswer::Ok, QMessageBox::NoIcon,
       QMessageBox::Ok, "Vantrel ST"},
      {MsgButtons::YesNoCancel, MsgIcon::Question, "Save", QMessageBox::Yes, MsgAnswer::Yes,
       QMessageBox::Question, ync, "Save"},
      {MsgButtons::YesNoCancel, MsgIcon::Question, "Save", QMessageBox::No, MsgAnswer::No,
       QMessageBox::Question, ync, "Save"},
      {MsgButtons::YesNoCancel, MsgIcon::Question, "Save", QMessageBox::NoButton, MsgAnswer::Cancel,
       QMessageBox::Question, ync, "Save"},
      {MsgButtons::YesNo, MsgIcon::Exclamation, "Warning", QMessageBox::No, MsgAnswer::No,
       QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, "Warning"},
      {MsgButtons::Ok, MsgIcon::Critical, "Error", QMessageBox::NoButton, MsgAnswer::Ok,
       QMessageBox::Critical, QMessageBox::Ok, "Error"},
  };
  int i = 0;
  for (const Row& row : rows) {
    Message m;
    m.text = "Program mode cannot be changed after performing a design";
    m.title = row.title;
    m.icon = row.icon;
    m.buttons = row.buttons;
    m.systemModal = (i % 2) == 0;
    Seen seen;
    const MsgAnswer answer = ShowAndPress(m, row.press, &seen);
    EXPECT_EQ(answer, row.expected) << "row " << i;
    EXPECT_EQ(seen.title.toStdString(), row.shownTitle) << "row " << i;
    EXPECT_EQ(seen.text.toStdString(), m.text) << "row " << i;
    EXPECT_EQ(seen.icon, row.shownIcon) << "row " << i;
    EXPECT_EQ(seen.buttons, row.shownButtons) << "row " << i;
    EXPECT_EQ(seen.modality, Qt::ApplicationModal) << "row " << i;
    ++i;
  }
}

// The save dialog of a design file: the template is not listed, and choosing
// it is refused before the dialog asks whether to replace it.
TEST(QtMessageBoxes, BelongToTheProgramsActiveWindowSoItKeepsTheFocus) {
  QWidget main;
  QWidget other;  // a window that is not the program's
  QWidget list(&main, Qt::Window);
  for (QWidget* active : {&main, &list, &other}) {
    main.show();
    list.show();
    other.show();
    active->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(active));
    QWidget* parent = nullptr;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      parent = box->parentWidget();
      box->done(0);
    });
    QtDialogs dialogs(&main);
    dialogs.message(Message{"Saved.", "Save", MsgIcon::Information});
    EXPECT_EQ(parent, active == &other ? &main : active) << active->objectName().toStdString();
  }
}

TEST(QtFileDialogs, SaveNeverListsTheTemplateAndRefusesItBeforeAskingToReplace) {
  QTemporaryDir dir;
  const QString templatePath = dir.filePath(QStringLiteral("stdata.mdb"));
  for (const QString& name : {templatePath, dir.filePath(QStringLiteral("set1.mdb"))}) {
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  FileDialogSpec spec;
  spec.title = "SAVE FILE";
  spec.startFolder = dir.path().toStdString();
  spec.filters = {"Design files (*.mdb)"};
  spec.defaultSuffix = "mdb";
  spec.refusedFile = templatePath.toStdString();
  spec.refusedMessage = "refused";

  QStringList listed;
  QString refusal;
  bool stayedOpen = false;
  std::function<void()> act = [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      QTimer::singleShot(10, act);
      return;
    }
    auto* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    QTRY_VERIFY(view && view->model()->rowCount(view->rootIndex()) > 0);
    for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
      listed << view->model()->index(r, 0, view->rootIndex()).data().toString();
    // The template typed by name: a warning, and the dialog stays open.
    QTimer::singleShot(0, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        refusal = box->text();
        box->done(0);
      }
    });
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("stdata"));
    QMetaObject::invokeMethod(dialog, "accept");
    stayedOpen = dialog->isVisible();
    // A new name without a suffix gets ".mdb".
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("set2"));
    QMetaObject::invokeMethod(dialog, "accept");
  };
  QTimer::singleShot(0, act);
  QtDialogs dialogs;
  const auto chosen = dialogs.saveFileName(spec);
  EXPECT_EQ(listed, QStringList{QStringLiteral("set1.mdb")});
  EXPECT_EQ(refusal, QStringLiteral("refused"));
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(chosen, dir.filePath(QStringLiteral("set2.mdb")).toStdString());
}

}  // namespace
}  // namespace vst::ui
