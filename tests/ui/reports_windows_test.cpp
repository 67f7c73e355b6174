// The report windows and window printing: Circ_Form and Ratings show their
// models under the control names, and every print command puts the window
// as shown on one page (printed into a PDF file, read back with pdftotext).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/app_form_window.h"
#include "ui/circ_form_window.h"
#include "ui/printing.h"
#include "ui/ratings_window.h"
#include "ui/recording_dialogs.h"
#include "ui/report_grid.h"
#include "ui/stmain.h"
#include "ui/twips.h"

namespace vst::ui {
namespace {

DesignRecord Designed(const std::string& circuit) {
  DesignRecord r;
  r.CIRTXT = circuit;
  r.MAXAMB = 90;
  r.MAINTEMP = 150;
  r.TP2 = 210.4f;
  r.TP1 = 180.2f;
  r.TRACEINS = 2;
  r.COVR = "YJ-1";
  r.TSIZ = "3/8'' O.D.";
  return r;
}

CircuitListRecords TenRecords() {
  CircuitListRecords set{};
  for (std::size_t i = 0; i < set.size(); ++i) set[i] = Designed("CKT-" + std::to_string(101 + i));
  return set;
}

QString CellText(const QWidget& window, const char* grid, int row, int column) {
  auto* table = window.findChild<ReportGrid*>(QString::fromLatin1(grid));
  if (table == nullptr || table->item(row, column) == nullptr) return QStringLiteral("<none>");
  return table->item(row, column)->text();
}

QPushButton* Button(const QWidget& window, const char* name) {
  return window.findChild<QPushButton*>(QString::fromLatin1(name));
}

// Every print job of a test goes into this PDF file instead of a printer.
class PdfPrinting {
 public:
  PdfPrinting() {
    SetPrinterChooser([this](QPrinter& printer, QWidget*) {
      ++dialogs;
      if (cancel) return false;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(path);
      return true;
    });
  }
  ~PdfPrinting() { SetPrinterChooser({}); }
  int pages() const {
    const QString info = Run(QStringLiteral("pdfinfo"), {path});
    for (const QString& line : info.split(u'\n')) {
      if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
    }
    return 0;
  }
  // The page's text, ligatures ("\uFB01") spelt out.
  QString text() const {
    return Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
        .normalized(QString::NormalizationForm_KC);
  }

  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("print.pdf"));
  int dialogs = 0;
  bool cancel = false;

 private:
  static QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
  }
};

TEST(CircuitListWindow, ShowsRowsByModeAndTheOtherRecordsOnMore) {
  test::RecordingDialogs dialogs;
  for (bool internal : {false, true}) {
    Circ_Form list(TenRecords(), UnitSystem::English, internal, dialogs);
    list.show();
    EXPECT_EQ(list.windowTitle(), QStringLiteral(" Circuit List"));
    auto* grid = list.findChild<ReportGrid*>(QStringLiteral("Grid_Circ"));
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->rowCount(), 28);
    for (int row = 0; row < 28; ++row) EXPECT_EQ(grid->isRowHidden(row), !internal && row >= 25) << row;
    EXPECT_EQ(Button(list, "Print_Circ_But")->text(), QStringLiteral("&Print"));
    EXPECT_EQ(Button(list, "Can_Cls_Circ")->text(), QStringLiteral("&Return"));
    // Widths from twips, never narrower than the texts.
    EXPECT_GE(grid->columnWidth(0), TwipsToPixels(1700, *grid));
    for (int row = 0; row < 28; ++row) {
      for (int column = 0; column < 6; ++column) {
        EXPECT_GE(grid->columnWidth(column),
                  grid->textPixels(CellText(list, "Grid_Circ", row, column).toStdString()));
      }
    }
    QPushButton* more = Button(list, "More");
    ASSERT_TRUE(more->isVisible());
    EXPECT_EQ(more->text(), QStringLiteral(" &6-10"));
    const QSize size = list.size();
    QTest::mouseClick(more, Qt::LeftButton);
    EXPECT_EQ(more->text(), QStringLiteral("&1-5"));
    EXPECT_EQ(CellText(list, "Grid_Circ", 0, 1), QStringLiteral("6"));
    EXPECT_EQ(CellText(list, "Grid_Circ", 1, 5), QStringLiteral("CKT-110"));
    EXPECT_EQ(list.size(), size) << "the window keeps its size between pages";
    QTest::mouseClick(more, Qt::LeftButton);
    EXPECT_EQ(more->text(), QStringLiteral("&6-10"));
    EXPECT_EQ(CellText(list, "Grid_Circ", 1, 1), QStringLiteral("CKT-101"));
  }
}

TEST(CircuitListWindow, MoreHiddenWithRecordsSixToTenEmptyAndReturnCloses) {
  test::RecordingDialogs dialogs;
  CircuitListRecords set{};
  set[0] = Designed("ONLY");
  Circ_Form list(set, UnitSystem::Metric, false, dialogs);
  list.show();
  EXPECT_FALSE(Button(list, "More")->isVisible());
  EXPECT_EQ(CellText(list, "Grid_Circ", 11, 1), QStringLiteral("Coverlyn"));
  EXPECT_EQ(CellText(list, "Grid_Circ", 21, 1), QStringLiteral("YJ-1"));
  QTest::mouseClick(Button(list, "Can_Cls_Circ"), Qt::LeftButton);
  EXPECT_FALSE(list.isVisible());
}

TEST(RatingsWindow, PagesButtonsAndTheYjZeroRowByMode) {
  test::RecordingDialogs dialogs;
  for (bool internal : {false, true}) {
    Ratings ratings(UnitSystem::Metric, internal, dialogs);
    ratings.show();
    auto* grid = ratings.findChild<ReportGrid*>(QStringLiteral("RatingGrid"));
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->isRowHidden(8), !internal);
    EXPECT_EQ(CellText(ratings, "RatingGrid", 6, 1), QString::fromUtf8(" 1832\u00B0F   (1000\u00B0C)"));
    EXPECT_EQ(Button(ratings, "Done1")->text(), QStringLiteral(" &Return"));
    EXPECT_EQ(Button(ratings, "PrintBill")->text(), QStringLiteral("&Print"));
    QPushButton* more = Button(ratings, "More");
    QPushButton* back = Button(ratings, "Back");
    EXPECT_TRUE(more->isVisible() && !back->isVisible());
    QTest::mouseClick(more, Qt::LeftButton);
    EXPECT_TRUE(back->isVisible() && !more->isVisible());
    EXPECT_EQ(CellText(ratings, "RatingGrid", 0, 3), QStringLiteral("Sizes Available (mm)"));
    EXPECT_EQ(CellText(ratings, "RatingGrid", 1, 1), QStringLiteral(" 1.2 Meter Strip (Includes MCX)"));
    EXPECT_EQ(grid->isRowHidden(8), !internal);
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(CellText(ratings, "RatingGrid", 0, 4), QStringLiteral("Water Solubility"));
    QTest::mouseClick(Button(ratings, "Done1"), Qt::LeftButton);
    EXPECT_FALSE(ratings.isVisible());
  }
}

TEST(WindowPrinting, CircuitListAfterMorePrintsRecordsSixToTenOnOnePage) {
  PdfPrinting pdf;
  test::RecordingDialogs dialogs;
  Circ_Form list(TenRecords(), UnitSystem::English, true, dialogs);
  list.show();
  QTest::mouseClick(Button(list, "More"), Qt::LeftButton);
  QTest::mouseClick(Button(list, "Print_Circ_But"), Qt::LeftButton);
  EXPECT_EQ(pdf.dialogs, 1);
  EXPECT_EQ(pdf.pages(), 1);
  const QString text = pdf.text();
  for (const char* shown : {"Record No.", "Max. Vert. Rise", "CKT-106", "CKT-110", "Coverlyn", "&1-5"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(shown).remove(u'&'))) << shown << " missing from\n"
                                                                      << text.toStdString();
  }
  EXPECT_FALSE(text.contains(QStringLiteral("CKT-101")));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(CellText(list, "Grid_Circ", 0, 1), QStringLiteral("6")) << "printing changes nothing";
}

TEST(WindowPrinting, RatingsSecondPagePrintsPackagingShelfLifeAndSizes) {
  PdfPrinting pdf;
  test::RecordingDialogs dialogs;
  Ratings ratings(UnitSystem::English, false, dialogs);
  ratings.show();
  QTest::mouseClick(Button(ratings, "More"), Qt::LeftButton);
  QTest::mouseClick(Button(ratings, "PrintBill"), Qt::LeftButton);
  EXPECT_EQ(pdf.pages(), 1);
  const QString text = pdf.text();
  for (const char* shown :
       {"Packaging", "Shelf Life", "Sizes Available (Inch)", "Indefinite", "Hi-Temp Wrapcore"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << " missing from\n" << text.toStdString();
  }
  EXPECT_FALSE(text.contains(QStringLiteral("YJ-0")));
}

TEST(WindowPrinting, CancelledOrFailedJobsLeaveTheWindowAsItWas) {
  PdfPrinting pdf;
  test::RecordingDialogs dialogs;
  Ratings ratings(UnitSystem::English, true, dialogs);
  ratings.show();
  QTest::mouseClick(Button(ratings, "More"), Qt::LeftButton);
  pdf.cancel = true;
  QTest::mouseClick(Button(ratings, "PrintBill"), Qt::LeftButton);
  EXPECT_FALSE(QFileInfo::exists(pdf.path));
  EXPECT_TRUE(dialogs.messages.empty()) << "a cancelled dialog says nothing";
  // A PDF file that cannot be written: the job fails after the dialog.
  pdf.cancel = false;
  pdf.path = pdf.dir.filePath(QStringLiteral("no such folder/print.pdf"));
  QTest::mouseClick(Button(ratings, "PrintBill"), Qt::LeftButton);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Error");
  EXPECT_TRUE(Button(ratings, "Back")->isVisible());
  EXPECT_EQ(CellText(ratings, "RatingGrid", 0, 1), QStringLiteral("Packaging"));
  EXPECT_TRUE(ratings.isVisible());
}

TEST(WindowPrinting, PrintingToAFileThroughALinkReplacesTheLinkedFileWhole) {
  PdfPrinting pdf;
  test::RecordingDialogs dialogs;
  Ratings ratings(UnitSystem::English, false, dialogs);
  ratings.show();
  const QString real = pdf.dir.filePath(QStringLiteral("real.pdf"));
  QFile old(real);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("an earlier printout");
  old.close();
  old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  ASSERT_TRUE(QFile::link(real, pdf.path));
  QTest::mouseClick(Button(ratings, "PrintBill"), Qt::LeftButton);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(QFileInfo(pdf.path).isSymLink());
  EXPECT_EQ(pdf.pages(), 1);
  EXPECT_EQ(std::filesystem::status(real.toStdString()).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_EQ(QDir(pdf.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({QStringLiteral("print.pdf"), QStringLiteral("real.pdf")}));
}

TEST(WindowPrinting, MainWindowAndApplicationPanelPrintOnePage) {
  PdfPrinting pdf;
  test::RecordingDialogs dialogs;
  STmain main(UnitSystem::English, PressureUnit::Psig, '.', &dialogs);
  main.show();
  QTest::mouseClick(main.findChild<QPushButton*>(QStringLiteral("Print_But")), Qt::LeftButton);
  EXPECT_EQ(pdf.pages(), 1);
  EXPECT_TRUE(pdf.text().contains(QStringLiteral("Pipe Length")));

  QFile::remove(pdf.path);
  AppForm panel(nullptr, &dialogs);
  panel.setPictureFolder(QStringLiteral(VST_BIN_DIR));
  panel.showPanel("K30");
  panel.show();
  for (QAction* action : panel.menuBar()->actions()) {
    if (action->objectName() == QStringLiteral("mnuPrint")) action->trigger();
  }
  EXPECT_EQ(pdf.dialogs, 2);
  EXPECT_EQ(pdf.pages(), 1);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(MainWindowReports, ReportsMenuOpensTheRatingsAndTheCircuitListModally) {
  test::RecordingDialogs dialogs;
  STmain main(UnitSystem::Metric, PressureUnit::BarG, '.', &dialogs);
  main.show();
  QStringList opened;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      opened << modal->objectName();
      modal->reject();
    }
  });
  closer.start(20);
  auto trigger = [&](const char* name) {
    for (QAction* action : main.findChildren<QAction*>()) {
      if (action->objectName() == QLatin1String(name)) action->trigger();
    }
  };
  trigger("rating");
  trigger("sp_circ");  // record 1 holds no design: nothing opens
  main.model().set().at(0) = Designed("FIRST");
  trigger("sp_circ");
  EXPECT_EQ(opened, (QStringList{QStringLiteral("Ratings"), QStringLiteral("Circ_Form")}));
}

}  // namespace
}  // namespace vst::ui
