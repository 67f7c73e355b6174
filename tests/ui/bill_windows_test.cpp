// The two bill windows' skin: the grids show the models' rows under their
// control names, "&Print" draws the printout on the chosen printer (here a
// PDF file read back with pdftotext) and prints nothing when cancelled, and
// "&Export" opens the written workbook or says that nothing can.
#include <gtest/gtest.h>

#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/script_dialogs.h"
#include "ui/bill_window.h"
#include "ui/cktbill_window.h"
#include "ui/printing.h"
#include "workspace/stmain_model.h"
#include "workspace/stmain_test_support.h"

namespace vst::ui {
namespace {

std::string PdfText(const QString& path) {
  std::string text;
  const std::string command = "pdftotext -layout '" + path.toStdString() + "' -";
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

// Prints to a PDF file at `path`, or cancels the dialog when `path` is empty.
void ChoosePdf(const QString& path) {
  SetPrinterChooser([path](QPrinter& printer, QWidget*) {
    if (path.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
  });
}

template <std::size_t N>
void ExpectGridShows(QTableWidget* grid, const std::vector<std::array<std::string, N>>& rows) {
  ASSERT_NE(grid, nullptr);
  ASSERT_EQ(grid->rowCount(), static_cast<int>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < N; ++c) {
      EXPECT_EQ(grid->item(static_cast<int>(r), static_cast<int>(c))->text().toStdString(), rows[r][c]);
    }
  }
}

TEST(BillWindows, CircuitBillShowsItsGridsAndPrintsThem) {
  test::Session s;
  s.type("Circ_No", "C-7");
  s.design();
  CktBillModel model(s.model, 0);
  CktBill window(model, s.dialogs, UnitSystem::English);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Report #1"));
  ExpectGridShows(window.findChild<QTableWidget*>(QStringLiteral("CktRptGrid")), model.reportRows());
  ExpectGridShows(window.findChild<QTableWidget*>(QStringLiteral("CktBillGrid")), model.billRows());

  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("bill.pdf"));
  ChoosePdf({});
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("print")), Qt::LeftButton);
  EXPECT_FALSE(QFile::exists(pdf));
  ChoosePdf(pdf);
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("print")), Qt::LeftButton);
  SetPrinterChooser({});
  const std::string text = PdfText(pdf);
  for (const char* expected : {"Vantrel", "CIRCUIT REPORT #1", "Circuit No.= C-7", "Trap Stations"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
  }
  EXPECT_TRUE(s.dialogs.messages().empty());
}

TEST(BillWindows, SummaryBillExportsAndSaysWhenNothingOpensTheWorkbook) {
  test::Session s;
  s.design();
  BillModel model(s.model.set());
  Bill window(model, s.dialogs, UnitSystem::English);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Summary Bill of Materials"));
  ExpectGridShows(window.findChild<QTableWidget*>(QStringLiteral("BillGrid")), model.rows());

  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("Summary BOM.xlsx")).toStdString();
  QString opened;
  SetFileOpener([&](const QString& file) {
    opened = file;
    return false;  // no program for workbooks on this desktop
  });
  s.dialogs.file(path);
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Export")), Qt::LeftButton);
  SetFileOpener({});
  EXPECT_TRUE(std::filesystem::is_regular_file(path));
  EXPECT_EQ(opened.toStdString(), path);
  ASSERT_EQ(s.dialogs.messages().size(), 1u);
  EXPECT_EQ(s.dialogs.messages()[0].title, "Print to Excel");
  EXPECT_NE(s.dialogs.messages()[0].text.find(path), std::string::npos);
}

}  // namespace
}  // namespace vst::ui
