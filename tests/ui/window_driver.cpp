// A small driver for looking at the main window on a real display (for
// example under Xvfb, taking screenshots between commands). It opens the
// main window in the unit system of its first argument and then reads one
// command per line from standard input, acting on the widgets by control
// name as a user would, and answers "ok" once the window has settled:
//
//   type NAME TEXT     replace the text of a field by typing
//   pick NAME INDEX    choose a list entry with the keyboard
//   click NAME         press a button or trigger a menu command, in the
//                      active dialog when one is open, else in the main window
//   key NAME KEY       press Return, Tab, Escape or F1 in a widget
//   menu NAME          open the menu bar menu NAME (its action's name)
//   answer [BUTTON]    press a button of the open message box (Ok, Yes, No,
//                      Cancel; its default button when none is named)
//   toggle             switch the program mode through the model
//   quit
//
// Usage: window_driver english|metric [comma]
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <string>

#include "ui/stmain.h"

namespace {

QWidget* Target(vst::ui::STmain* main) {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return main;
}

QAction* FindAction(QWidget* root, const QString& name) {
  for (QAction* a : root->findChildren<QAction*>()) {
    if (a->objectName() == name) return a;
  }
  return nullptr;
}

void Reply(const std::string& text) {
  // Answer once pending events (repaints, queued calls) have run.
  QTimer::singleShot(150, [text] {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
  });
}

void Run(vst::ui::STmain* main, const QString& line) {
  const QStringList words = line.split(QLatin1Char(' '));
  const QString command = words.value(0);
  const QString name = words.value(1);
  QWidget* root = Target(main);
  if (command == QLatin1String("quit")) {
    QApplication::exit(0);
    return;
  }
  if (command == QLatin1String("toggle")) {
    main->run([main] { main->model().toggleProgramMode(); });
  } else if (command == QLatin1String("type")) {
    auto* edit = root->findChild<QLineEdit*>(name);
    if (!edit) return Reply("no field " + name.toStdString());
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, words.mid(2).join(QLatin1Char(' ')));
  } else if (command == QLatin1String("pick")) {
    auto* box = root->findChild<QComboBox*>(name);
    if (!box) return Reply("no list " + name.toStdString());
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < words.value(2).toInt(); ++i) QTest::keyClick(box, Qt::Key_Down);
  } else if (command == QLatin1String("key")) {
    auto* widget = root->findChild<QWidget*>(name);
    if (!widget) return Reply("no widget " + name.toStdString());
    const QString key = words.value(2);
    const Qt::Key k = key == QLatin1String("Tab")      ? Qt::Key_Tab
                      : key == QLatin1String("Escape") ? Qt::Key_Escape
                      : key == QLatin1String("F1")     ? Qt::Key_F1
                                                       : Qt::Key_Return;
    widget->setFocus(Qt::TabFocusReason);
    QTest::keyClick(widget, k);
  } else if (command == QLatin1String("click")) {
    if (auto* button = root->findChild<QAbstractButton*>(name)) {
      Reply("ok");
      // Queued: a click may open a modal dialog, whose loop must not block
      // this command's answer.
      QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
      return;
    }
    if (QAction* action = FindAction(root, name)) {
      Reply("ok");
      QTimer::singleShot(0, action, [action] { action->trigger(); });
      return;
    }
    return Reply("no command " + name.toStdString());
  } else if (command == QLatin1String("answer")) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return Reply("no message box");
    QAbstractButton* button = box->defaultButton();
    if (!name.isEmpty()) {
      for (QAbstractButton* b : box->buttons()) {
        if (b->text().remove(QLatin1Char('&')).compare(name, Qt::CaseInsensitive) == 0) button = b;
      }
    }
    if (!button && !box->buttons().isEmpty()) button = box->buttons().first();
    if (!button) return Reply("no button");
    Reply("ok");
    QTimer::singleShot(0, button, [button] { button->click(); });
    return;
  } else if (command == QLatin1String("menu")) {
    QAction* action = FindAction(main, name);
    if (!action || !action->menu()) return Reply("no menu " + name.toStdString());
    main->menuBar()->setActiveAction(action);
  } else {
    return Reply("unknown command " + command.toStdString());
  }
  Reply("ok");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  const bool metric = args.value(1) == QLatin1String("metric");
  const char mark = args.value(2) == QLatin1String("comma") ? ',' : '.';
  auto* window = new vst::ui::STmain(metric ? vst::UnitSystem::Metric : vst::UnitSystem::English,
                                     metric ? vst::PressureUnit::BarG : vst::PressureUnit::Psig, mark);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->move(20, 20);
  window->show();

  QSocketNotifier input(0, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, window, [window, &input] {
    std::string line;
    if (!std::getline(std::cin, line)) {
      input.setEnabled(false);
      QApplication::exit(0);
      return;
    }
    Run(window, QString::fromStdString(line).trimmed());
  });
  Reply("ready");
  return QApplication::exec();
}
