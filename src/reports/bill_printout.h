// The printouts of the two bills: the circuit report with its bill of
// materials, and the summary bill of materials. Each begins with the
// product name, the maker's lines and the date and time of printing.
#pragma once

#include <string>
#include <vector>

#include "bom/circuit_bill.h"
#include "reports/page_description.h"

namespace vst {

struct PrintHeader {
  std::string product;                  // "Vantrel" with the registered-trademark sign
  std::vector<std::string> makerLines;  // the maker's name and address
  std::string date;                     // medium date, 08-Dec-26
  std::string time;                     // h:mma/p, 2:05p
};

// Print columns of the bill lines: the catalogue number follows the
// quantity at kCatalogueColumn; the description stands at the bill's own
// column (46 in the circuit bill, 45 in the summary).
inline constexpr int kCatalogueColumn = 20;
inline constexpr int kCircuitDescriptionColumn = 46;
inline constexpr int kSummaryDescriptionColumn = 45;
inline constexpr int kReportValueColumn = 37;

// What the circuit printout shows: the record number (1-based), the
// captions of Label1 and Label2, the design summary and the bill rows
// (row 0 the header).
struct CircuitPrintout {
  int recordNumber = 1;
  std::string circuitLabel;  // Label1
  std::string lineLabel;     // Label2
  std::vector<ReportItem> inputs;
  std::vector<ReportItem> outputs;
  std::vector<BillRow> bill;
};

PageDescription CircuitBillPage(const PrintHeader& header, const CircuitPrintout& circuit);
PageDescription SummaryBillPage(const PrintHeader& header, const std::vector<BillRow>& rows);

}  // namespace vst
