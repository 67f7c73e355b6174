#include "batch/bill_output.h"

#include <filesystem>

#include "batch/csv.h"
#include "batch/json.h"
#include "bom/summary_bill.h"
#include "bom/xlsx_export.h"
#include "circuit/report.h"
#include "core/legacy_math.h"
#include "core/quoted_value.h"
#include "core/units.h"

namespace vst {

namespace {

template <std::size_t N>
std::string JsonRows(const std::vector<std::array<std::string, N>>& rows) {
  std::string out = "[";
  for (std::size_t r = 0; r < rows.size(); ++r) {
    out += r == 0 ? "\n  [" : ",\n  [";
    for (std::size_t c = 0; c < N; ++c) out += (c == 0 ? "" : ", ") + JsonString(rows[r][c]);
    out += "]";
  }
  return out + "]";
}

std::string Extension(const std::string& path) {
  return Lowercase(std::filesystem::path(path).extension().string());
}

// The workbook of bill rows, on a sheet named `title`, as the new contents
// of `out`: the summary bill's export, its cells, widths and table style.
std::string WorkbookInto(const std::vector<BillRow>& rows, const std::string& title, OutputFile& out) {
  const std::string problem = ExportGridToSpreadsheet(GridOf(rows), static_cast<int>(rows.size()), 3,
                                                      kSummaryExportOption, title, out);
  return problem.empty() ? problem : ShownName(out.name()) + " was not written: " + problem;
}

// Opens an output for a file asked for; the reason when it cannot be.
std::string OpenFile(const std::string& path, BillShowResult& result) {
  result.files.push_back(std::make_unique<OutputFile>());
  OutputFile& out = *result.files.back();
  return out.open(path) ? std::string() : out.error();
}

// A PDF has no printer to take a paper from: the set's unit system decides.
std::string PdfInto(const PdfRenderer& pdf, const PageDescription& page, UnitSystem units,
                    const std::string& path, BillShowResult& result) {
  if (!pdf) return "PDF output is not available";
  std::string bytes;
  if (std::string problem = pdf(page, SessionPaper(units), bytes); !problem.empty()) {
    return ShownName(path) + " was not written: " + problem;
  }
  if (std::string problem = OpenFile(path, result); !problem.empty()) return problem;
  *result.files.back() << bytes;
  return {};
}

BillShowResult CircuitBill(const std::array<DesignRecord, DesignSet::kRecords>& records, bool internalMode,
                           const BillShowRequest& request, const PdfRenderer& pdf, std::time_t now) {
  BillShowResult result;
  const int n = request.record;
  if (n < 1 || n > DesignSet::kRecords) {
    result.error = "--bill takes a record number from 1 to 10";
    return result;
  }
  // The window steps forward from a designed record only.
  for (int i = 0; i + 1 < n; ++i) {
    if (!records[static_cast<std::size_t>(i)].HoldsDesign()) {
      result.error = "record " + std::to_string(n) + " cannot be reached: record " + std::to_string(i + 1) +
                     " holds no design";
      return result;
    }
  }
  const DesignRecord& record = records[static_cast<std::size_t>(n - 1)];
  if (!record.HoldsDesign()) {
    result.error = "record " + std::to_string(n) + " holds no design";
    return result;
  }
  const UnitSystem units = UnitsOfRecords(records);
  const CircuitReport bill =
      CircuitReportOf(ReportFieldsOf(record, units, internalMode), record, n, record.CIRTXT, record.PIPETXT);
  if (request.format == "csv") {
    result.text = BillRowsCsv(bill.bill);
  } else {
    result.text = "{\"record\": " + std::to_string(n) + ", \"caption\": " + JsonString(bill.caption) +
                  ",\n \"labels\": [" + JsonString(bill.circuitLabel) + ", " + JsonString(bill.lineLabel) +
                  ", " + JsonString(bill.title) + "],\n \"summary\": " + JsonRows(bill.rows) +
                  ",\n \"bill\": " + JsonRows(bill.bill) + "}\n";
  }
  // The bill's material lines, on a sheet named as the window ("Report #n").
  if (!request.xlsx.empty()) {
    result.error = OpenFile(request.xlsx, result);
    if (result.error.empty()) result.error = WorkbookInto(bill.bill, bill.caption, *result.files.back());
  }
  if (result.error.empty() && !request.pdf.empty())
    result.error = PdfInto(pdf, bill.printout(now), units, request.pdf, result);
  return result;
}

}  // namespace

UnitSystem UnitsOfRecords(const std::array<DesignRecord, DesignSet::kRecords>& records) {
  for (const DesignRecord& r : records) {
    if (r.HoldsDesign())
      return r.TSIZ.find("mm") != std::string::npos ? UnitSystem::Metric : UnitSystem::English;
  }
  return UnitSystem::English;
}

std::string BillRowsJson(const std::vector<BillRow>& rows) { return "{\"rows\": " + JsonRows(rows) + "}\n"; }

std::string BillRowsCsv(const std::vector<BillRow>& rows) {
  std::string out;
  for (const BillRow& row : rows) out += CsvLine({row[0], row[1], row[2]}) + "\n";
  return out;
}

BillShowResult ShowBills(const std::array<DesignRecord, DesignSet::kRecords>& records, bool internalMode,
                         const BillShowRequest& request, const PdfRenderer& pdf, std::time_t now) {
  if (request.record != 0) return CircuitBill(records, internalMode, request, pdf, now);
  BillShowResult result;
  DesignSet set;
  set.records = records;
  set.Units = UnitsOfRecords(records);
  const std::vector<BillRow> rows = SummaryBillRows(set);
  result.text = request.format == "csv" ? BillRowsCsv(rows) : BillRowsJson(rows);
  if (!request.xlsx.empty()) {
    result.error = OpenFile(request.xlsx, result);
    if (result.error.empty()) result.error = WorkbookInto(rows, kSummarySheetTitle, *result.files.back());
  }
  if (result.error.empty() && !request.pdf.empty())
    result.error = PdfInto(pdf, SummaryBillPage(BillPrintHeader(now), rows), set.Units, request.pdf, result);
  return result;
}

bool SummaryFileKnown(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".xlsx" || ext == ".csv" || ext == ".json";
}

std::string PrepareSummaryFile(const SummaryBill& bill, const std::string& path, OutputFile& out) {
  const std::vector<BillRow> rows = bill.rows();
  const std::string ext = Extension(path);
  if (ext != ".xlsx" && ext != ".csv" && ext != ".json") {
    return ShownName(path) + ": the summary is written as .xlsx, .csv or .json";
  }
  if (!out.open(path)) return out.error();
  if (ext == ".xlsx") return WorkbookInto(rows, kSummarySheetTitle, out);
  out << (ext == ".csv" ? BillRowsCsv(rows) : BillRowsJson(rows));
  return {};
}

}  // namespace vst
