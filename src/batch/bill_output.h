// The bills of vantrel-design: the circuit report and bill of one record and
// the summary bill of a design file (`show SET.mdb --bill N | --summary`),
// and one summary bill over every designed row of a line list (`design
// LIST.csv --summary OUT`), as JSON, CSV, a workbook or a PDF printout.
#pragma once

#include <array>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bom/summary_bill.h"
#include "core/design_record.h"
#include "core/output_file.h"
#include "reports/page_description.h"

namespace vst {

// Draws a printout on the given paper as the bytes of a PDF file; returns an
// empty text or the reason it failed. The command supplies it (it needs the
// Qt renderer); the bytes are written like every other output.
using PdfRenderer = std::function<std::string(const PageDescription& page, Paper paper, std::string& pdf)>;

struct BillShowRequest {
  int record = 0;        // --bill N: the 1-based record, 0 when not asked
  bool summary = false;  // --summary
  std::string format = "json";
  std::string pdf;   // --pdf OUT.pdf, may be empty
  std::string xlsx;  // --xlsx OUT.xlsx, may be empty
};

struct BillShowResult {
  std::string error;  // empty on success
  std::string text;   // the JSON or CSV output
  // The files asked for (--xlsx, --pdf), written but not yet in place: the
  // caller puts them in place together with its own output.
  std::vector<std::unique_ptr<OutputFile>> files;
};

// The unit system a design file was saved in, read from its tube size
// texts ("10mm O.D." is Metric); English when no record holds a design.
UnitSystem UnitsOfRecords(const std::array<DesignRecord, DesignSet::kRecords>& records);

// The bill the windows would show after opening the file (and, for --bill,
// stepping to record N), with the files asked for written.
BillShowResult ShowBills(const std::array<DesignRecord, DesignSet::kRecords>& records, bool internalMode,
                         const BillShowRequest& request, const PdfRenderer& pdf, std::time_t now);

// Output forms of bill rows.
std::string BillRowsJson(const std::vector<BillRow>& rows);  // {"rows": [[q, c, d], ...]}
std::string BillRowsCsv(const std::vector<BillRow>& rows);

// Whether `path` names a summary file this command can write (.xlsx, .csv,
// .json, any case).
bool SummaryFileKnown(const std::string& path);

// Writes the summary bill into `out`, opened for `path`, by the path's
// extension: a workbook (.xlsx), CSV or JSON. The caller commits `out`; on
// failure the previous file stays. Returns an empty text or the reason.
std::string PrepareSummaryFile(const SummaryBill& bill, const std::string& path, OutputFile& out);

}  // namespace vst
