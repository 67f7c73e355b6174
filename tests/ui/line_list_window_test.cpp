// The Line List window's skin: Files > Open Line List (Ctrl+L) opens it from
// the main window, F5 designs every row, the status filter and the edits
// reach the model through the table, the bill buttons open the bill windows,
// and a list with unsaved edits asks before it closes.
#include "ui/line_list_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>

#include "support/script_dialogs.h"
#include "support/test_paths.h"
#include "ui/help_viewer.h"
#include "ui/pdf_read.h"
#include "ui/printing.h"
#include "ui/stmain.h"

namespace vst::ui {
namespace {

const std::string kExample = vst::test::TestDataDir() + "/examples/line_list.csv";

QAction* Action(QWidget* window, const char* name) {
  for (QAction* a : window->findChildren<QAction*>()) {
    if (a->objectName() == QLatin1String(name)) return a;
  }
  return nullptr;
}

// The text of a column of the shown rows, found by the start of its caption
// or by the field code its tooltip shows.
QStringList Column(QTableView* view, const QString& caption) {
  QAbstractItemModel* m = view->model();
  int column = -1;
  for (int c = 0; c < m->columnCount() && column < 0; ++c) {
    if (m->headerData(c, Qt::Horizontal).toString().startsWith(caption) ||
        m->headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString() == caption)
      column = c;
  }
  QStringList out;
  for (int r = 0; column >= 0 && r < m->rowCount(); ++r) out << m->index(r, column).data().toString();
  return out;
}

struct Opened {
  test::ScriptDialogs dialogs;
  std::unique_ptr<STmain> main;
  LineList* list = nullptr;

  explicit Opened(UnitSystem units = UnitSystem::English) {
    main = std::make_unique<STmain>(
        units, units == UnitSystem::English ? PressureUnit::Psig : PressureUnit::BarG, '.', &dialogs);
    main->show();
  }
  void open(const std::string& path) {
    QAction* command = Action(main.get(), "OpenLineList");
    ASSERT_NE(command, nullptr);
    dialogs.file(path);
    command->trigger();
    list = main->findChild<LineList*>();
  }
  void designAll() {
    QSignalSpy done(list, &LineList::designFinished);
    QTest::mouseClick(list->findChild<QPushButton*>(QStringLiteral("designAll")), Qt::LeftButton);
    ASSERT_TRUE(done.wait(10000));
  }
};

TEST(LineListWindow, OpensFromTheFilesMenuAndDesignsEveryRow) {
  Opened w;
  QAction* command = Action(w.main.get(), "OpenLineList");
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->shortcut(), QKeySequence(QStringLiteral("Ctrl+L")));
  w.open(kExample);
  ASSERT_NE(w.list, nullptr);
  EXPECT_EQ(w.dialogs.fileDialogs().at(0).spec.filters.at(0), "Line lists (*.csv *.xlsx)");
  QTableView* view = w.list->table();
  // Headed with the main window's captions and units, the field code in the tooltip.
  for (const auto& [caption, code] :
       {std::pair{"Circuit No.", "CIRTXT"}, std::pair{"Line\\Pipe No.", "PIPETXT"},
        std::pair{"Max. Ambient (\u00B0F)", "MAXAMB"}}) {
    int at = 0;
    while (at < view->model()->columnCount() &&
           view->model()->headerData(at, Qt::Horizontal).toString() != QString::fromUtf8(caption))
      ++at;
    ASSERT_LT(at, view->model()->columnCount()) << caption;
    EXPECT_EQ(view->model()->headerData(at, Qt::Horizontal, Qt::ToolTipRole).toString(),
              QString::fromUtf8(code));
  }
  EXPECT_EQ(view->model()->rowCount(), 4);
  EXPECT_EQ(Column(view, QStringLiteral("Status")).at(0), QStringLiteral("Not designed yet"));
  // F5 designs every row.
  QSignalSpy done(w.list, &LineList::designFinished);
  w.list->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.list));
  QTest::keyClick(w.list, Qt::Key_F5);
  ASSERT_TRUE(done.wait(10000));
  const QStringList status = Column(view, QStringLiteral("Status"));
  for (const QString& s : status) EXPECT_FALSE(s.contains(QStringLiteral("yet"))) << s.toStdString();
  EXPECT_EQ(Column(view, QStringLiteral("Min. Maint. Temp. (\u00B0F)")).at(1), QStringLiteral("271.2809"));
  EXPECT_EQ(w.list->findChild<QProgressBar*>(QStringLiteral("designProgress"))->value(), 4);
  // The status is in the colour of the cell and in its text.
  const QModelIndex first = view->model()->index(0, 0);
  EXPECT_TRUE(first.data(Qt::BackgroundRole).value<QColor>().isValid());
  EXPECT_TRUE(first.data().toString().contains(QStringLiteral("Designed")));
}

TEST(LineListWindow, StatusFilterAndEditsGoThroughTheTable) {
  Opened w;
  const std::string list = QDir::temp().filePath(QStringLiteral("vst_line_list_gui.csv")).toStdString();
  {
    std::ifstream in(kExample);
    std::string header, row;
    std::getline(in, header);
    std::getline(in, row);
    // The first row again, asked to hold 300 °F with 50 psig steam.
    std::ofstream out(list);
    out << header << "\n"
        << row << "\n"
        << std::string(row).replace(row.find(",100,375,"), 9, ",300,375,") << "\n";
  }
  w.open(list);
  ASSERT_NE(w.list, nullptr);
  w.designAll();
  QTableView* view = w.list->table();
  auto* statusFilter = w.list->findChild<QComboBox*>(QStringLiteral("statusFilter"));
  statusFilter->setCurrentText(QStringLiteral("Below target"));
  ASSERT_EQ(view->model()->rowCount(), 1);
  EXPECT_TRUE(Column(view, QStringLiteral("Status")).at(0).contains(QStringLiteral("Below target")));

  // More steam: the row is redesigned at once and leaves the filter's rows.
  QAbstractItemModel* m = view->model();
  int pressure = 0;
  while (m->headerData(pressure, Qt::Horizontal, Qt::ToolTipRole).toString() != QStringLiteral("STEAMPRS"))
    ++pressure;
  ASSERT_TRUE(m->setData(m->index(0, pressure), QStringLiteral("150"), Qt::EditRole));
  ASSERT_EQ(view->model()->rowCount(), 1) << "the fixed row stays in sight with its result";
  EXPECT_EQ(Column(view, QStringLiteral("Status")).at(0), QStringLiteral("\u2714 Designed"));
  statusFilter->setCurrentText(QStringLiteral("Corrected"));
  statusFilter->setCurrentText(QStringLiteral("Below target"));
  EXPECT_EQ(view->model()->rowCount(), 0) << "chosen again, the filter shows only its rows";
  statusFilter->setCurrentText(QStringLiteral("All"));
  EXPECT_EQ(Column(view, QStringLiteral("Status")).at(1), QStringLiteral("\u2714 Designed"));
  EXPECT_TRUE(w.list->windowTitle().endsWith(QStringLiteral("*")));

  // A list cell edits through the list of its row.
  int installation = 0;
  while (m->headerData(installation, Qt::Horizontal, Qt::ToolTipRole).toString() !=
         QStringLiteral("TRACEINS"))
    ++installation;
  view->setCurrentIndex(m->index(0, installation));
  view->edit(m->index(0, installation));
  auto* box = view->findChild<QComboBox*>(QStringLiteral("cellChoices"));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->currentText(), QStringLiteral("Troughline"));
  EXPECT_GE(box->count(), 4);

  // "Add Row" copies the selected row to the end and makes it current.
  view->selectRow(0);
  QTest::mouseClick(w.list->findChild<QPushButton*>(QStringLiteral("addRow")), Qt::LeftButton);
  ASSERT_EQ(m->rowCount(), 3);
  EXPECT_EQ(view->currentIndex().row(), 2);
  EXPECT_EQ(Column(view, QStringLiteral("CIRTXT")).at(2), Column(view, QStringLiteral("CIRTXT")).at(0));

  // Unsaved edits: Cancel keeps the window open, No lets it close.
  w.dialogs.answer(MsgAnswer::Cancel).answer(MsgAnswer::No);
  EXPECT_FALSE(w.list->close());
  EXPECT_TRUE(w.list->isVisible());
  EXPECT_TRUE(w.list->close());
  std::remove(list.c_str());
}

TEST(LineListWindow, KeysEditOnlyOnF2OrEnterAndCtrlZUndoesEditsAndDeletions) {
  Opened w;
  w.open(kExample);
  ASSERT_NE(w.list, nullptr);
  w.designAll();
  QTableView* view = w.list->table();
  QAbstractItemModel* m = view->model();
  const int rows = m->rowCount();
  int name = 0;
  while (m->headerData(name, Qt::Horizontal, Qt::ToolTipRole).toString() != QStringLiteral("CIRTXT")) ++name;
  const QString first = m->index(0, name).data().toString();
  view->setFocus();
  view->setCurrentIndex(m->index(0, name));

  // A bare keystroke opens no editor; F2 and Enter do.
  QTest::keyClick(view, Qt::Key_X);
  EXPECT_EQ(QApplication::focusWidget(), view) << "no editor opened";
  EXPECT_EQ(m->index(0, name).data().toString(), first);
  for (const Qt::Key key : {Qt::Key_F2, Qt::Key_Return}) {
    QTest::keyClick(view, key);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << key;
    editor->setText(QStringLiteral("EDITED"));
    QTest::keyClick(editor, Qt::Key_Return);  // the view takes the text from its event loop
    EXPECT_TRUE(QTest::qWaitFor([&] {
      return m->index(0, name).data().toString() == QStringLiteral("EDITED");
    })) << key;
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m->index(0, name).data().toString(), first) << "Ctrl+Z after " << key;
  }
  QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(m->index(0, name).data().toString(), QStringLiteral("EDITED")) << "Ctrl+Shift+Z redoes";

  // Delete takes the current row; Ctrl+Z puts it back in its place.
  view->setCurrentIndex(m->index(1, name));
  const QString second = m->index(1, name).data().toString();
  QTest::keyClick(view, Qt::Key_Delete);
  ASSERT_EQ(m->rowCount(), rows - 1);
  EXPECT_NE(m->index(1, name).data().toString(), second);
  QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(m->rowCount(), rows);
  EXPECT_EQ(m->index(1, name).data().toString(), second);
  w.dialogs.answer(MsgAnswer::No);
  EXPECT_TRUE(w.list->close());
}

TEST(LineListWindow, ABarNamesColumnsNotReadAndReadsOneAsSuggested) {
  QTemporaryDir dir;
  const QString list = dir.filePath(QStringLiteral("valves.csv"));
  {
    std::ifstream in(kExample);
    std::string header, row;
    std::getline(in, header);
    std::getline(in, row);
    header.replace(header.find("VALN"), 4, "VALVES");
    std::ofstream(list.toStdString()) << header << "\n" << row << "\n";
  }
  // Opened without the column mapping dialog (its guesses would read VALVES
  // as VALN): as a list is when the mapping leaves a column out.
  test::ScriptDialogs dialogs;
  std::string error;
  auto model = LineListModel::Open(list.toStdString(), BatchOptions{}, error);
  ASSERT_TRUE(model) << error;
  LineList window(std::move(model), dialogs, {});
  window.show();
  LineList* shown = &window;
  auto* bar = shown->findChild<QWidget*>(QStringLiteral("ignoredColumnsBar"));
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("ignoredColumnsNote"))->text(),
            QStringLiteral("1 column of the list is not read: VALVES: did you mean VALN?"));
  EXPECT_TRUE(shown->findChild<QPlainTextEdit*>(QStringLiteral("rowDetails"))
                  ->toPlainText()
                  .contains(QStringLiteral("VALVES: not read; did you mean VALN (valves)?")));
  {
    QSignalSpy designed(shown, &LineList::designFinished);
    shown->designAll();
    ASSERT_TRUE(designed.wait(10000));
  }
  const float valves = shown->model().result(0)->record.VALN;
  EXPECT_EQ(valves, 0.0f);
  QSignalSpy done(shown, &LineList::designFinished);
  QTest::mouseClick(shown->findChild<QPushButton*>(QStringLiteral("readAsVALN")), Qt::LeftButton);
  ASSERT_TRUE(done.wait(10000));
  EXPECT_GT(shown->model().result(0)->record.VALN, 0.0f) << "the valves are counted";
  EXPECT_FALSE(bar->isVisible());
  dialogs.answer(MsgAnswer::No);
  EXPECT_TRUE(shown->close());
}

TEST(LineListWindow, OffersAMetricListItsUnitsAndKeepsItsOwnUnitsAfterward) {
  QTemporaryDir dir;
  const QString list = dir.filePath(QStringLiteral("metric.csv"));
  {
    std::ifstream in(kExample);
    std::string header;
    std::getline(in, header);
    std::ofstream(list.toStdString())
        << header << "\n"
        << "ST-201,50-P-2001,38,-18,38,190,Fiberglass,25,50,30,1,3.5,Troughline,10,Copper,1,No,2,3,1,0,\n"
        << "ST-204,150-P-2004,38,-29,120,370,Calcium Silicate,50,150,90,2,10,Troughline,12,Stainless "
           "Smls,,No,"
           "4,6,1,6,\n";
  }
  Opened w;  // an inch-pound session
  w.open(list.toStdString());
  ASSERT_NE(w.list, nullptr);
  auto* units = w.list->findChild<QLabel*>(QStringLiteral("unitsInUse"));
  EXPECT_EQ(units->text(), QStringLiteral("Inch pound units, psig, standard mode"));
  auto* bar = w.list->findChild<QWidget*>(QStringLiteral("unitsOfferBar"));
  EXPECT_FALSE(bar->isVisible()) << "nothing is offered before the design";
  w.designAll();
  ASSERT_TRUE(bar->isVisible());
  EXPECT_EQ(
      w.list->findChild<QLabel*>(QStringLiteral("unitsOfferNote"))->text(),
      QStringLiteral("2 rows stop on an entry that is not in the lists of inch-pound units; the list seems "
                     "written in SI metric units."));
  QSignalSpy done(w.list, &LineList::designFinished);
  QTest::mouseClick(w.list->findChild<QPushButton*>(QStringLiteral("openInOtherUnits")), Qt::LeftButton);
  ASSERT_TRUE(done.wait(10000));
  EXPECT_EQ(w.list->model().count(StatusFilter::NotDesigned), 0);
  EXPECT_FALSE(bar->isVisible());
  EXPECT_EQ(units->text(), QStringLiteral("SI metric units, barg, standard mode"));
  EXPECT_TRUE(Action(w.list, "unitsMetricBar")->isChecked());
  EXPECT_EQ(w.main->model().context().units, UnitSystem::English) << "the main window keeps its session";
  EXPECT_TRUE(w.list->close());
}

TEST(LineListWindow, TheMainWindowAsksForUnsavedListsBeforeItCloses) {
  Opened w;
  w.open(kExample);
  ASSERT_NE(w.list, nullptr);
  QAbstractItemModel* m = w.list->table()->model();
  ASSERT_TRUE(m->setData(m->index(0, 1), QStringLiteral("C-1"), Qt::EditRole));
  w.dialogs.answer(MsgAnswer::Cancel);
  EXPECT_FALSE(w.main->close());
  EXPECT_TRUE(w.list->isVisible());
  EXPECT_EQ(w.dialogs.messages().back().title, "Line List");
}

TEST(LineListWindow, BillButtonsOpenTheBillWindows) {
  Opened w;
  w.open(kExample);
  ASSERT_NE(w.list, nullptr);
  w.designAll();
  QTableView* view = w.list->table();
  view->selectRow(1);
  QString title;
  int billRows = 0;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      title = modal->windowTitle();
      for (auto* grid : modal->findChildren<QTableWidget*>()) billRows += grid->rowCount();
      modal->reject();
    }
  });
  closer.start(20);
  QTest::mouseClick(w.list->findChild<QPushButton*>(QStringLiteral("circuitBom")), Qt::LeftButton);
  EXPECT_EQ(title, QStringLiteral("Report #2"));
  EXPECT_GT(billRows, 0);
  title.clear();
  QTest::mouseClick(w.list->findChild<QPushButton*>(QStringLiteral("summaryBom")), Qt::LeftButton);
  EXPECT_EQ(title, QStringLiteral("Summary Bill of Materials"));
}

TEST(LineListWindow, NumbersSortAsNumbers) {
  Opened w;
  w.open(kExample);
  ASSERT_NE(w.list, nullptr);
  w.designAll();
  QTableView* view = w.list->table();
  QAbstractItemModel* m = view->model();
  int heatLoss = 0;
  while (!m->headerData(heatLoss, Qt::Horizontal).toString().startsWith(QStringLiteral("Heat Loss")))
    ++heatLoss;
  view->sortByColumn(heatLoss, Qt::AscendingOrder);
  QStringList shown = Column(view, QStringLiteral("Heat Loss"));
  ASSERT_EQ(shown.size(), 4);
  for (int r = 1; r < shown.size(); ++r) EXPECT_LT(shown[r - 1].toDouble(), shown[r].toDouble()) << r;
}

TEST(LineListWindow, CtrlPAndSaveAsPdfPrintTheDesignedListInLandscape) {
  Opened w;
  w.open(kExample);
  ASSERT_NE(w.list, nullptr);
  w.designAll();
  QTemporaryDir dir;
  const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
  const QString saved = dir.filePath(QStringLiteral("saved.pdf"));
  SetPrinterChooser([printed](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed);
    return true;
  });
  QTest::keyClick(w.list->table(), Qt::Key_P, Qt::ControlModifier);
  SetPrinterChooser({});
  w.dialogs.file(saved.toStdString());
  Action(w.list, "savePdf")->trigger();
  for (const QString& pdf : {printed, saved}) {
    const test::PdfRead read(pdf);
    ASSERT_GE(read.pages, 1) << pdf.toStdString();
    EXPECT_GT(read.pageSize.width(), read.pageSize.height()) << pdf.toStdString();
    for (const char* expected :
         {"LINE LIST: line_list.csv", "Designed", "Max. Ambient (\u00B0F)", "Installation Used"})
      EXPECT_TRUE(read.text.contains(QString::fromUtf8(expected))) << expected << " in " << pdf.toStdString();
  }
  EXPECT_TRUE(w.dialogs.messages().empty());
}

// While Design all runs, the count line follows each chunk of designed rows
// rather than staying at "0 designed" until the end.
TEST(LineListWindow, TheCountLineFollowsDesignAllChunkByChunk) {
  QTemporaryDir dir;
  const std::string list = dir.filePath(QStringLiteral("long.csv")).toStdString();
  {
    std::ifstream in(kExample);
    std::string header, row;
    std::getline(in, header);
    std::getline(in, row);
    std::ofstream out(list);
    out << header << "\n";
    for (int i = 0; i < 2500; ++i) out << row << "\n";  // three chunks of at most 1024 rows
  }
  Opened w;
  w.open(list);
  ASSERT_NE(w.list, nullptr);
  auto* counts = w.list->findChild<QLabel*>(QStringLiteral("statusCounts"));
  auto* progress = w.list->findChild<QProgressBar*>(QStringLiteral("designProgress"));
  ASSERT_NE(counts, nullptr);
  ASSERT_NE(progress, nullptr);
  // The count line as each chunk's progress arrives: it then shows the chunks before.
  std::vector<int> designedSeen;
  QObject::connect(progress, &QProgressBar::valueChanged, w.list, [&] {
    QString digits;
    for (const QChar c :
         counts->text().section(QStringLiteral(" designed"), 0, 0).section(QLatin1Char(' '), -1))
      if (c.isDigit()) digits += c;
    designedSeen.push_back(digits.toInt());
  });
  w.designAll();
  ASSERT_GE(designedSeen.size(), 3u);
  EXPECT_TRUE(std::any_of(designedSeen.begin(), designedSeen.end(), [](int n) { return n > 0 && n < 2500; }))
      << counts->text().toStdString();
}

TEST(LineListWindow, SavesGoThroughTheSaveDialogs) {
  Opened w;
  w.main->setProgramFolder(vst::test::BinDir());  // the design file template lies there
  w.open(kExample);
  ASSERT_NE(w.list, nullptr);
  w.designAll();
  QTemporaryDir dir;
  const std::string results = dir.filePath(QStringLiteral("plant.out.json")).toStdString();
  const std::string set = dir.filePath(QStringLiteral("plant.mdb")).toStdString();
  w.dialogs.file(results).file(set).file(dir.filePath(QStringLiteral("none/r.csv")).toStdString());
  Action(w.list, "saveResults")->trigger();
  Action(w.list, "saveDesignFiles")->trigger();
  EXPECT_TRUE(QFile::exists(QString::fromStdString(results)));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(set)));  // four rows: one file
  Action(w.list, "saveResults")->trigger();                 // a folder that does not exist
  ASSERT_EQ(w.dialogs.messages().size(), 2u);
  EXPECT_NE(w.dialogs.messages()[0].text.find("plant.mdb"), std::string::npos)
      << w.dialogs.messages()[0].text;
  EXPECT_EQ(w.dialogs.messages()[1].title, "Error");
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none"))));
}

TEST(LineListWindow, SavingResultsOrDesignFilesOntoTheListSaysSoAndWritesNothing) {
  QTemporaryDir dir;
  const std::string list = dir.filePath(QStringLiteral("plant.csv")).toStdString();
  ASSERT_TRUE(QFile::copy(QString::fromStdString(kExample), QString::fromStdString(list)));
  Opened w;
  w.main->setProgramFolder(vst::test::BinDir());
  w.open(list);
  ASSERT_NE(w.list, nullptr);
  w.designAll();
  w.dialogs.file(list).file(list);
  Action(w.list, "saveResults")->trigger();
  Action(w.list, "saveDesignFiles")->trigger();
  // The save dialog refuses the list before it asks whether to replace it.
  EXPECT_EQ(w.dialogs.fileDialogs().at(1).spec.refusedFile, list);
  ASSERT_EQ(w.dialogs.messages().size(), 2u);
  EXPECT_EQ(w.dialogs.messages()[0].text,
            "The results were not saved to " + list + ": plant.csv is the line list plant.csv itself.");
  EXPECT_EQ(w.dialogs.messages()[1].text,
            "The design files were not saved: plant.csv is the line list plant.csv itself.");
  QFile original(QString::fromStdString(kExample));
  QFile kept(QString::fromStdString(list));
  ASSERT_TRUE(original.open(QIODevice::ReadOnly) && kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), original.readAll());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("plant.csv")});
}

TEST(LineListWindow, F1OpensItsHelpTopic) {
  Opened w;
  w.main->setProgramFolder(vst::test::BinDir());  // the help books lie there
  w.open(kExample);
  ASSERT_NE(w.list, nullptr);
  w.list->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.list));
  QTest::keyClick(w.list->table(), Qt::Key_F1);
  HelpViewer* viewer = w.main->helpViewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->browser()->toPlainText().contains(QStringLiteral("The Line List window")));
}

TEST(LineListWindow, ARefusedListOpensNothingAndSaysWhy) {
  Opened w;
  const QString bad = QDir::temp().filePath(QStringLiteral("vst_line_list_bad.csv"));
  {
    std::ofstream out(bad.toStdString());
    out << "CIRTXT,MAXAMB\nA,1\n";
  }
  w.open(bad.toStdString());
  EXPECT_EQ(w.list, nullptr);
  ASSERT_EQ(w.dialogs.messages().size(), 1u);
  EXPECT_NE(w.dialogs.messages()[0].text.find("line 1: the required column"), std::string::npos)
      << w.dialogs.messages()[0].text;
  QFile::remove(bad);
}

}  // namespace
}  // namespace vst::ui
