// The printed bills keep every text whole and on the paper: the bills of
// sets with the longest descriptions (jacketed tracers on seamless stainless
// tubing, pre-insulated tubing, the optional accessories), designed and
// printed by the line-list command on Letter and on A4 in both unit systems,
// and long printouts that wrap and continue over pages; read back with
// pdftotext (text and word boxes).
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "batch/design_command.h"
#include "reports/bill_printout.h"
#include "reports/line_list_printout.h"
#include "support/test_paths.h"
#include "ui/page_painter.h"
#include "ui/pdf_output.h"
#include "ui/pdf_read.h"

namespace vst::ui {
namespace {

constexpr double kMarginPt = 15 / 25.4 * 72;  // the PDF printouts' margins
constexpr double kSlackPt = 0.5;              // rounding of the word boxes

// Runs of blanks and line ends as one blank, ligatures spelt out.
QString Flat(const QString& text) {
  return text.normalized(QString::NormalizationForm_KC)
      .replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "))
      .trimmed();
}

// The words of a PDF printout that leave its page within the margins.
QString Outside(const test::PdfRead& read) {
  const QRectF area =
      QRectF(QPointF(), read.pageSize)
          .adjusted(kMarginPt - kSlackPt, kMarginPt - kSlackPt, kSlackPt - kMarginPt, kSlackPt - kMarginPt);
  return read.wordsOutside(area).join(u'\n');
}

// The first piece of `pieces` missing from `text` in their order, else empty.
QString MissingInOrder(const QString& text, const QStringList& pieces) {
  const QString flat = Flat(text);
  qsizetype at = 0;
  for (const QString& piece : pieces) {
    const QString wanted = Flat(piece);
    if (wanted.isEmpty()) continue;
    const qsizetype found = flat.indexOf(wanted, at);
    if (found < 0) return wanted;
    at = found + wanted.size();
  }
  return {};
}

QSizeF PaperPoints(Paper paper) { return paper == Paper::Letter ? QSizeF(612, 792) : QSizeF(595, 842); }

const char* PaperName(Paper paper) { return paper == Paper::Letter ? "Letter" : "A4"; }

// Jacketed YJ-1 and YJ-2 tracers, a fillet and a channel, all on the
// smallest seamless stainless tube, with pre-insulated tubing: the longest
// descriptions of both bills and the summary's optional accessories.
constexpr const char* kHeader =
    "CIRTXT,PIPETXT,MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,"
    "TRACETUB,TUBEMAT,TUBEWALL,ALLOWANCE,VALN,FLNO,NOPX,WCTB,SHOES\n";
constexpr const char* kInchPoundList =
    "YJ1-SMLS,2\"-P-2001,100,0,50,375,Calcium Silicate,1.0,2.0,300,1,50,YJ-1,3/8,Stainless Smls,,No,2,3,1,40,"
    "12x4\n"
    "YJ2-SMLS,2\"-P-2002,100,0,60,375,Calcium Silicate,1.0,2.0,300,1,50,YJ-2,3/8,Stainless "
    "Smls,,No,2,3,1,40,\n"
    "FIL-E55,1\"-P-2003,90,-10,150,375,Calcium Silicate,1.0,1,80,1,100,Fillet Trace,3/8,Stainless Smls,,Yes,"
    "2,2,1,20,\n"
    "TRO-SMLS,6\"-P-2004,100,-20,250,700,Calcium Silicate,2.0,6.0,300,2,150,Troughline,3/8,Stainless "
    "Smls,,No,"
    "4,6,1,20,12x6;18x2\n";
constexpr const char* kSiList =
    "YJ1-SMLS,50-P-2001,38,-18,10,190,Calcium Silicate,25,50,90,1,3.5,YJ-1,10,Stainless Smls,,No,2,3,1,12,"
    "300x4\n"
    "YJ2-SMLS,50-P-2002,38,-18,15,190,Calcium Silicate,25,50,90,1,3.5,YJ-2,10,Stainless Smls,,No,2,3,1,12,\n"
    "FIL-E55,25-P-2003,32,-23,65,190,Calcium Silicate,25,25,25,1,7,Fillet Trace,10,Stainless Smls,,Yes,2,2,1,"
    "6,\n"
    "TRO-SMLS,150-P-2004,38,-29,120,370,Calcium Silicate,50,150,90,2,10,Troughline,10,Stainless Smls,,No,4,6,"
    "1,6,300x6;450x2\n";

// Every cell of the rows of a JSON array of rows.
QStringList Cells(const QJsonArray& rows) {
  QStringList cells;
  for (const QJsonValue& row : rows) {
    for (const QJsonValue& cell : row.toArray()) cells << cell.toString();
  }
  return cells;
}

TEST(PrintedBills, LongestDescriptionsStayWholeInsideThePrintableAreaOnLetterAndA4) {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  for (const auto& [units, list] :
       {std::pair{std::string("english"), kInchPoundList}, std::pair{std::string("metric"), kSiList}}) {
    const std::string csv = folder + "/" + units + ".csv";
    const std::string set = folder + "/" + units + ".mdb";
    std::ofstream(csv) << kHeader << list;
    // Designed by the program itself (the design file template lies beside
    // it), shown here on the paper of each case.
    QProcess design;
    design.start(QString::fromStdString(vst::test::BinDir() + "/vantrel-design"),
                 {QStringLiteral("design"), QString::fromStdString(csv), QStringLiteral("--units"),
                  QString::fromStdString(units), QStringLiteral("--save"), QString::fromStdString(set),
                  QStringLiteral("-o"), dir.filePath(QStringLiteral("rows.json"))});
    ASSERT_TRUE(design.waitForFinished(60000));
    ASSERT_EQ(design.exitCode(), 0) << units << ": " << design.readAllStandardError().toStdString();
    CommandEnvironment env;
    for (const Paper paper : {Paper::Letter, Paper::A4}) {
      env.pdf = [paper](const PageDescription& page, Paper, std::string& bytes) {
        return RenderPdfWithoutDisplay(page, paper, bytes);
      };
      for (const std::string bill : {"1", "2", "3", "4", "summary"}) {
        SCOPED_TRACE(units + ", " + PaperName(paper) + ", bill " + bill);
        const std::string pdf = folder + "/bill.pdf";
        const std::string json = folder + "/bill.json";
        std::vector<std::string> show = {"show", set, "--units", units, "--pdf", pdf, "-o", json};
        if (bill == "summary") {
          show.push_back("--summary");
        } else {
          show.insert(show.end(), {"--bill", bill});
        }
        ASSERT_EQ(RunDesignCommand(show, env), 0);
        QFile shown(QString::fromStdString(json));
        ASSERT_TRUE(shown.open(QIODevice::ReadOnly));
        const QJsonObject object = QJsonDocument::fromJson(shown.readAll()).object();
        const QStringList cells = Cells(object.value(bill == "summary" ? "rows" : "bill").toArray());
        ASSERT_GT(cells.size(), 12);

        const test::PdfRead read(QString::fromStdString(pdf));
        EXPECT_EQ(read.pageSize, PaperPoints(paper));
        const QString missing = MissingInOrder(read.text, cells);
        EXPECT_TRUE(missing.isEmpty()) << '"' << missing.toStdString() << "\" is not whole on the page:\n"
                                       << read.text.toStdString();
        EXPECT_EQ(Outside(read).toStdString(), "");
      }
    }
    // The set holds the longest lines the bills print.
    const QString summary = Flat(test::PdfRead(QString::fromStdString(folder + "/bill.pdf")).text);
    for (const char* line :
         {"Isolated Steam Tracer (", " Seamless S. S. Tubing)", "Wrapcore (Seamless Stainless Steel)",
          "OPTIONAL ACCESSORIES", "Heated Barrel Cartridge Gun"}) {
      EXPECT_TRUE(summary.contains(Flat(QString::fromUtf8(line)))) << line;
    }
  }
}

PrintHeader Header() {
  PrintHeader header;
  header.product = "Vantrel\u00AE";
  header.makerLines = {"Quorvex", "Steam Tracing Products", "Engineering Services"};
  header.date = "09-Dec-26";
  header.time = "3:10p";
  return header;
}

// A bill of `count` lines "Item n"; line 7 has a description of sixty words.
std::vector<BillRow> LongBill(int count) {
  std::vector<BillRow> rows = {BillHeaderRow()};
  for (int n = 1; n <= count; ++n) {
    std::string description = "Item" + std::to_string(n);
    for (int w = 1; n == 7 && w <= 60; ++w) description += " wrap" + std::to_string(w);
    rows.push_back({" " + std::to_string(n), "CAT-" + std::to_string(n), description});
  }
  return rows;
}

TEST(PrintedBills, FullPagesContinueUnderTheRepeatedHeadingAndLongTextsWrapInTheirColumn) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
  constexpr int kLines = 120;
  CircuitPrintout circuit;
  circuit.bill = LongBill(kLines);
  circuit.inputs = {{"Insulation Type:", 11, "Expaneded Perlite", "Insulation Type:"}};
  const std::vector<std::pair<const char*, PageDescription>> printouts = {
      {"circuit", CircuitBillPage(Header(), circuit)},
      {"summary", SummaryBillPage(Header(), LongBill(kLines))}};
  for (const auto& [name, page] : printouts) {
    for (const Paper paper : {Paper::Letter, Paper::A4}) {
      SCOPED_TRACE(std::string(name) + ", " + PaperName(paper));
      QFile file(pdf);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      ASSERT_EQ(WritePdf(page, file, paper), QString());
      file.close();
      const test::PdfRead read(pdf);
      EXPECT_EQ(Outside(read).toStdString(), "");
      ASSERT_GE(read.pages, 3);
      // Every later page begins with the column heading.
      for (int p = 2; p <= read.pages; ++p) {
        std::vector<test::PdfWord> top;
        for (const test::PdfWord& w : read.words) {
          if (w.page != p) continue;
          if (top.empty() || w.box.top() < top.front().box.top() - 1) top.clear();
          if (top.empty() || std::abs(w.box.top() - top.front().box.top()) <= 1) top.push_back(w);
        }
        std::sort(top.begin(), top.end(),
                  [](const test::PdfWord& a, const test::PdfWord& b) { return a.box.left() < b.box.left(); });
        QStringList first;
        for (const test::PdfWord& w : top) first << w.text;
        EXPECT_EQ(first.join(u' ').toStdString(), "QUANTITY CATALOG NO. DESCRIPTION") << "page " << p;
      }
      // Every line once, in order.
      QStringList items;
      for (int n = 1; n <= kLines; ++n) items << QStringLiteral("CAT-%1 Item%1").arg(n);
      EXPECT_TRUE(MissingInOrder(read.text, items).isEmpty())
          << MissingInOrder(read.text, items).toStdString();
      // The long description wraps under its own first word, never under the
      // quantity or the catalogue number, and the next line stands below it.
      const auto find = [&](const QString& text) {
        for (const test::PdfWord& w : read.words) {
          if (w.text == text) return w;
        }
        ADD_FAILURE() << text.toStdString() << " not printed";
        return test::PdfWord{};
      };
      const test::PdfWord start = find(QStringLiteral("Item7"));
      double lowest = start.box.bottom();
      QList<double> lineTops;
      for (int w = 1; w <= 60; ++w) {
        const test::PdfWord word = find(QStringLiteral("wrap%1").arg(w));
        EXPECT_GE(word.box.left(), start.box.left() - kSlackPt) << "wrap" << w;
        lowest = std::max(lowest, word.box.bottom());
        if (!lineTops.contains(word.box.top())) lineTops << word.box.top();
      }
      EXPECT_GE(lineTops.size(), 2) << "the description wraps";
      EXPECT_GT(find(QStringLiteral("Item8")).box.top(), lowest - kSlackPt);
    }
  }
}

// A wide list: the window's 33 columns with units, long statuses, 90 rows.
TablePrintout WideList() {
  TablePrintout table;
  table.name = "plant.csv";
  table.captions = {"Status", "CIRTXT", "PIPETXT", "Installation Used"};
  for (int c = 0; c < 29; ++c) table.captions.push_back("COLUMN" + std::to_string(c) + " (\u00B0F)");
  for (int r = 0; r < 90; ++r) {
    std::vector<std::string> row = {r % 3
                                        ? "Designed"
                                        : "Not designed: Column TRACETUB: \"12\" is not in the tracer tubing "
                                          "list for the installation Troughline in inch-pound units",
                                    "CKT-" + std::to_string(r), "L-" + std::to_string(r), "Troughline"};
    for (int c = 0; c < 29; ++c) row.push_back("v" + std::to_string(r) + "x" + std::to_string(c));
    table.rows.push_back(row);
  }
  return table;
}

TEST(PrintedLineList, LandscapePagesHoldEveryCellWithTheHeadingOnEveryPage) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
  const TablePrintout table = WideList();
  const PageDescription page = LineListPage(Header(), table);
  for (const Paper paper : {Paper::Letter, Paper::A4}) {
    SCOPED_TRACE(PaperName(paper));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(WritePdf(page, file, paper), QString());
    file.close();
    const test::PdfRead read(pdf);
    EXPECT_EQ(read.pageSize, PaperPoints(paper).transposed()) << "landscape";
    EXPECT_EQ(Outside(read).toStdString(), "");
    ASSERT_GE(read.pages, 2);
    // Every page's table starts under the heading: "Row" and the captions.
    for (int p = 1; p <= read.pages; ++p) {
      int rowHeadings = 0, lastColumns = 0;
      for (const test::PdfWord& w : read.words) {
        rowHeadings += w.page == p && w.text == QStringLiteral("Row") ? 1 : 0;
        lastColumns += w.page == p && w.text == QStringLiteral("COLUMN28") ? 1 : 0;
      }
      EXPECT_EQ(rowHeadings, 1) << "page " << p;
      EXPECT_EQ(lastColumns, 1) << "page " << p;
    }
    // Every cell of every row, in order: nothing cut; a long status wraps
    // in its cell, every word of it printed.
    QStringList cells;
    for (const auto& row : table.rows)
      for (std::size_t c = 1; c < row.size(); ++c) cells << QString::fromStdString(row[c]);
    EXPECT_TRUE(MissingInOrder(read.text, cells).isEmpty()) << MissingInOrder(read.text, cells).toStdString();
    EXPECT_EQ(std::count_if(read.words.begin(), read.words.end(),
                            [](const test::PdfWord& w) { return w.text == QStringLiteral("tubing"); }),
              30);
  }
}

}  // namespace
}  // namespace vst::ui
