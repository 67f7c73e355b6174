// The report windows and window printing: Circ_Form and Ratings show their
// models under the control names, and every print command puts the window
// as shown on one page (printed into a PDF file, read back with pdftotext).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/test_paths.h"
#include "ui/app_form_window.h"
#include "ui/circ_form_window.h"
#include "ui/pdf_read.h"
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
      paper = printer.pageLayout().pageSize().id();
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(path);
      if (chosenPaper != QPageSize::Custom) printer.setPageSize(QPageSize(chosenPaper));
      printable = printer.pageLayout().paintRect(QPageLayout::Point);
      return true;
    });
  }
  ~PdfPrinting() { SetPrinterChooser({}); }
  // A line of pdfinfo, "Pages" or "Page size", without its key.
  QString info(const QString& key) const {
    for (const QString& line : test::RunTool(QStringLiteral("pdfinfo"), {path}).split(u'\n')) {
      if (line.startsWith(key + u':')) return line.mid(key.size() + 1).trimmed();
    }
    return {};
  }
  int pages() const { return info(QStringLiteral("Pages")).toInt(); }
  // The page's text, ligatures ("\uFB01") spelt out.
  QString text() const { return test::PdfRead(path).text; }

  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("print.pdf"));
  int dialogs = 0;
  bool cancel = false;
  QPageSize::PageSizeId paper = QPageSize::Custom;        // the paper the dialog started with
  QPageSize::PageSizeId chosenPaper = QPageSize::Custom;  // the paper the user picks, if any
  QRectF printable;                                       // the page within its margins, in points
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
  AppForm panel(UnitSystem::English, nullptr, &dialogs);
  panel.setPictureFolder(QString::fromStdString(vst::test::BinDir()));
  panel.showPanel("K30");
  panel.show();
  for (QAction* action : panel.menuBar()->actions()) {
    if (action->objectName() == QStringLiteral("mnuPrint")) action->trigger();
  }
  EXPECT_EQ(pdf.dialogs, 2);
  EXPECT_EQ(pdf.pages(), 1);
  EXPECT_TRUE(dialogs.messages.empty());
}

// The darkest grey of `page` (rendered at 100 dpi) inside a box given in
// points: ink where text shows, 255 on a box painted white over it.
int Darkest(const QImage& page, const QRectF& points) {
  const QRect pixels = QRectF(points.topLeft() * 100 / 72, points.bottomRight() * 100 / 72).toRect();
  int least = 255;
  for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
    for (int x = pixels.left(); x <= pixels.right(); ++x) {
      if (page.valid(x, y)) least = std::min(least, qGray(page.pixel(x, y)));
    }
  }
  return least;
}

TEST(WindowPrinting, MainWindowPrintoutShowsTheInputFieldsAsTheScreenDoes) {
  PdfPrinting pdf;
  test::RecordingDialogs dialogs;
  STmain main(UnitSystem::English, PressureUnit::Psig, '.', &dialogs);
  main.show();
  auto* maxAmbient = main.findChild<QLineEdit*>(QStringLiteral("Max_Amb"));
  ASSERT_TRUE(maxAmbient);
  maxAmbient->setFocus();
  maxAmbient->selectAll();
  QTest::keyClicks(maxAmbient, QStringLiteral("97.5"));
  QTest::mouseClick(main.findChild<QPushButton*>(QStringLiteral("Print_But")), Qt::LeftButton);
  const test::PdfRead page(pdf.path);
  const QImage image = test::RenderedFirstPage(pdf.path, 100);
  ASSERT_FALSE(image.isNull());
  // Every word of the first input rows stands on the page where the screen
  // shows it: as text in the PDF and in ink on the rendered page.
  for (const char* shown : {"Max.", "Ambient", "97.5", "Min.", "Maint."}) {
    const auto found = std::find_if(page.words.begin(), page.words.end(),
                                    [&](const test::PdfWord& w) { return w.text == QLatin1String(shown); });
    ASSERT_NE(found, page.words.end()) << shown << " is not on the printed page";
    EXPECT_LT(Darkest(image, found->box), 128) << shown << " is painted over on the printed page";
  }
}

TEST(WindowPrinting, DialogStartsOnThePrintersPaperElseOnTheSessionsPaper) {
  const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
  const bool printerPaper = !printer.isNull() && printer.defaultPageSize().isValid();
  PdfPrinting pdf;
  test::RecordingDialogs dialogs;
  for (const auto& [units, paper] :
       {std::pair{UnitSystem::English, QPageSize::Letter}, std::pair{UnitSystem::Metric, QPageSize::A4}}) {
    const QPageSize::PageSizeId expected = printerPaper ? printer.defaultPageSize().id() : paper;
    Ratings ratings(units, false, dialogs);
    ratings.show();
    QTest::mouseClick(Button(ratings, "PrintBill"), Qt::LeftButton);
    EXPECT_EQ(pdf.paper, expected) << "ratings, " << UnitLetter(units);
    STmain main(units, PressureUnit::Psig, '.', &dialogs);
    main.show();
    QTest::mouseClick(main.findChild<QPushButton*>(QStringLiteral("Print_But")), Qt::LeftButton);
    EXPECT_EQ(pdf.paper, expected) << "main window, " << UnitLetter(units);
    const QSizeF points = QPageSize(expected).size(QPageSize::Point);
    EXPECT_TRUE(pdf.info(QStringLiteral("Page size"))
                    .startsWith(QStringLiteral("%1 x %2 pts").arg(points.width()).arg(points.height())))
        << pdf.info(QStringLiteral("Page size")).toStdString();
  }
}

TEST(WindowPrinting, EveryWordOfAPrintedWindowStaysInsideThePrintableAreaOnLetterAndA4) {
  PdfPrinting pdf;
  test::RecordingDialogs dialogs;
  STmain main(UnitSystem::Metric, PressureUnit::BarG, '.', &dialogs);
  Circ_Form list(TenRecords(), UnitSystem::English, true, dialogs);
  Ratings ratings(UnitSystem::English, true, dialogs);
  const std::vector<std::pair<QWidget*, const char*>> windows = {
      {&main, "Print_But"}, {&list, "Print_Circ_But"}, {&ratings, "PrintBill"}};
  for (const QPageSize::PageSizeId paper : {QPageSize::Letter, QPageSize::A4}) {
    pdf.chosenPaper = paper;
    for (const auto& [window, print] : windows) {
      SCOPED_TRACE(window->objectName().toStdString() + (paper == QPageSize::A4 ? ", A4" : ", Letter"));
      window->show();
      QFile::remove(pdf.path);
      QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(print)), Qt::LeftButton);
      const test::PdfRead page(pdf.path);
      ASSERT_GT(page.words.size(), 20u);
      EXPECT_EQ(page.wordsOutside(pdf.printable.adjusted(-0.5, -0.5, 0.5, 0.5)).join(u'\n').toStdString(),
                "");
      window->hide();
    }
  }
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
