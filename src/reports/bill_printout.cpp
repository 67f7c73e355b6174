#include "reports/bill_printout.h"

namespace vst {

namespace {

constexpr double kHeaderSize = 12;
constexpr double kBrandSize = 24;
constexpr double kTitleSize = 14;
constexpr double kBodySize = 11;

void Header(PageDescription& page, const PrintHeader& header) {
  page.text(kHeaderSize, {{0, header.product}});
  for (const std::string& line : header.makerLines) page.text(kHeaderSize, {{0, line}});
  page.text(kHeaderSize, {{0, "Date: " + header.date}});
  page.text(kHeaderSize, {{0, "Time: " + header.time}});
}

// A bill row: with a catalogue number the three cells at their columns,
// without one the description directly after the quantity.
void BillLine(PageDescription& page, const BillRow& row, int descriptionColumn) {
  if (!row[1].empty()) {
    page.text(kBodySize, {{0, row[0]}, {kCatalogueColumn, row[1]}, {descriptionColumn, row[2]}});
  } else {
    // One blank between the two, unless the description brings its own; a
    // description that wraps continues under itself, not under the quantity.
    const bool blank = row[0].empty() || row[2].empty() || row[2].front() == ' ';
    page.text(kBodySize, {{0, row[0]}, {0, (blank ? "" : " ") + row[2]}});
  }
}

void Items(PageDescription& page, const std::vector<ReportItem>& items) {
  for (const ReportItem& item : items) {
    page.text(kBodySize, {{0, item.printLabel}, {kReportValueColumn, item.value}});
  }
}

}  // namespace

PageDescription CircuitBillPage(const PrintHeader& header, const CircuitPrintout& c) {
  PageDescription page;
  page.title = "Circuit Report #" + std::to_string(c.recordNumber);
  Header(page, header);
  page.text(kBrandSize, {{17, "Vaporix"}});
  page.empty(kTitleSize).text(kTitleSize, {{25, "   CIRCUIT REPORT #" + std::to_string(c.recordNumber)}});
  page.rule().empty(kTitleSize);

  page.text(kBodySize, {{0, "DESIGN INPUT DATA"}}).rule().empty(kBodySize);
  page.text(kBodySize, {{0, c.circuitLabel}}).text(kBodySize, {{0, c.lineLabel}});
  Items(page, c.inputs);
  page.empty(kBodySize).empty(kBodySize);
  page.text(kBodySize, {{0, "DESIGN OUTPUT DATA"}}).rule().empty(kBodySize);
  Items(page, c.outputs);

  page.empty(kBodySize).empty(kBodySize);
  page.empty(kTitleSize).text(kTitleSize, {{25, "  BILL OF MATERIALS"}}).rule().empty(kTitleSize);
  for (std::size_t i = 0; i < c.bill.size(); ++i) {
    const std::size_t first = page.lines.size();
    BillLine(page, c.bill[i], kCircuitDescriptionColumn);
    // Row 0, its rule and the empty line head every page of the bill.
    if (i == 0) page.rule().empty(kBodySize).headingFrom(first);
  }
  return page;
}

PageDescription SummaryBillPage(const PrintHeader& header, const std::vector<BillRow>& rows) {
  PageDescription page;
  page.title = "Summary Bill of Materials";
  Header(page, header);
  page.empty(kHeaderSize);
  page.text(kBrandSize, {{15, "Vaporix"}});
  page.empty(kTitleSize).text(kTitleSize, {{22, "SUMMARY BILL OF MATERIALS"}}).empty(kTitleSize);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::size_t first = page.lines.size();
    BillLine(page, rows[i], kSummaryDescriptionColumn);
    if (i == 0) page.headingFrom(first);  // row 0 heads every page of the bill
  }
  return page;
}

}  // namespace vst
