// The circuit report and bill of a designed record as the circuit bill
// window shows and prints it, and the header both bill printouts begin with.
// The window reads the report's fields from its own controls; a record read
// from a design file shows them as the main window would once that record is
// loaded into it (ReportFieldsOf).
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "bom/circuit_bill.h"
#include "circuit/entry.h"
#include "reports/bill_printout.h"

namespace vst {

// The product name, the maker's lines and the clock of `now`.
PrintHeader BillPrintHeader(std::time_t now);

// The sheet the summary bill is exported to.
inline constexpr const char* kSummarySheetTitle = "Summary BOM";

struct CircuitReport {
  int recordNumber = 1;
  std::string caption;       // "Report #n"
  std::string circuitLabel;  // "Circuit No.= ..."
  std::string lineLabel;     // "Line/Pipe No.=  ..."
  std::string title;         // "Vaporix     Circuit Report #n     Bill of Materials"
  std::vector<ReportItem> inputs, outputs;
  std::vector<ReportRow> rows;  // the design summary grid
  std::vector<BillRow> bill;    // the material lines

  // The printout of the report and bill, dated `now`.
  PageDescription printout(std::time_t now) const;
};

// The report of record `recordNumber` (1 to 10) with the circuit and line
// numbers and fields the window shows.
CircuitReport CircuitReportOf(const CircuitReportFields& fields, const DesignRecord& record, int recordNumber,
                              const std::string& circuitNo, const std::string& lineNo);

// The fields the main window shows once the record is loaded into it: the
// list entries of its positions (through the same list rules), its inputs
// and outputs as their shortest texts.
CircuitReportFields ReportFieldsOf(const DesignRecord& record, UnitSystem units, bool internalMode);

}  // namespace vst
