#include "batch/bill_output.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "batch/atomic_output.h"
#include "batch/csv.h"
#include "batch/json.h"
#include "bom/xlsx_export.h"
#include "core/legacy_math.h"
#include "core/units.h"
#include "workspace/bill_models.h"
#include "workspace/stmain_model.h"

namespace vst {

namespace {

// The windows opened by the command ask nothing; a message would only come
// from an unusual file and is not an answer anyone waits for.
class SilentDialogs : public Dialogs {
 public:
  MsgAnswer message(const Message& m) override {
    return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
  }
  std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup&) override { return std::nullopt; }
  std::optional<ShoeFormAnswer> shoeForm(const ShoeFormSetup&) override { return std::nullopt; }
  std::optional<std::string> openFileName(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> saveFileName(const FileDialogSpec&) override { return std::nullopt; }
};

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

// Writes a text file beside the target under a hidden name, then renames it.
// Text and workbook files appear only when complete (AtomicOutput).
std::string WriteTextFile(const std::string& path, const std::string& text) {
  AtomicOutput out;
  if (!out.open(path)) return out.error();
  out << text;
  return out.commit() ? std::string() : out.error();
}

std::string WorkbookOf(const std::vector<BillRow>& rows, const std::string& path) {
  AtomicOutput out;
  if (!out.open(path)) return out.error();
  const std::string problem =
      ExportGridToSpreadsheet(GridOf(rows), static_cast<int>(rows.size()), 3, kSummaryExportOption,
                              BillModel::kSheetTitle, out.temporaryPath());
  if (!problem.empty()) return path + " was not written: " + problem;
  return out.commit() ? std::string() : out.error();
}

// A PDF has no printer to take a paper from: the set's unit system decides.
std::string PdfOf(const PdfWriter& pdf, const PageDescription& page, const std::string& path,
                  UnitSystem units) {
  if (!pdf) return "PDF output is not available";
  const std::string problem = pdf(page, path, SessionPaper(units));
  return problem.empty() ? problem : path + " was not written: " + problem;
}

BillShowResult CircuitBill(const std::array<DesignRecord, DesignSet::kRecords>& records, bool internalMode,
                           const BillShowRequest& request, const PdfWriter& pdf, std::time_t now) {
  BillShowResult result;
  const int n = request.record;
  if (n < 1 || n > DesignSet::kRecords) {
    result.error = "--bill takes a record number from 1 to 10";
    return result;
  }
  const UnitSystem units = UnitsOfRecords(records);
  SilentDialogs dialogs;
  STmainModel main(units, units == UnitSystem::Metric ? PressureUnit::BarG : PressureUnit::Psig, dialogs,
                   '.');
  main.applyOpenedSet(records, internalMode);
  // The record spinner steps forward from a designed record only.
  while (main.set().CurrentRecord + 1 < n) {
    const int before = main.set().CurrentRecord;
    main.spinnerStep(main.controls()["Spin1"].index - 1);
    if (main.set().CurrentRecord == before) {
      result.error = "record " + std::to_string(n) + " cannot be reached: record " +
                     std::to_string(before + 1) + " holds no design";
      return result;
    }
  }
  if (!main.set().current().HoldsDesign()) {
    result.error = "record " + std::to_string(n) + " holds no design";
    return result;
  }
  const CktBillModel bill(main, now);
  const ControlSet& c = bill.controls();
  if (request.format == "csv") {
    result.text = BillRowsCsv(bill.billRows());
  } else {
    result.text = "{\"record\": " + std::to_string(n) + ", \"caption\": " + JsonString(bill.caption()) +
                  ",\n \"labels\": [" + JsonString(c["Label1"].text) + ", " + JsonString(c["Label2"].text) +
                  ", " + JsonString(c["Label3"].text) + "],\n \"summary\": " + JsonRows(bill.reportRows()) +
                  ",\n \"bill\": " + JsonRows(bill.billRows()) + "}\n";
  }
  if (!request.pdf.empty()) result.error = PdfOf(pdf, bill.printout(now), request.pdf, units);
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
                         const BillShowRequest& request, const PdfWriter& pdf, std::time_t now) {
  if (request.record != 0) return CircuitBill(records, internalMode, request, pdf, now);
  BillShowResult result;
  DesignSet set;
  set.records = records;
  set.Units = UnitsOfRecords(records);
  const BillModel bill(set);
  result.text = request.format == "csv" ? BillRowsCsv(bill.rows()) : BillRowsJson(bill.rows());
  if (!request.xlsx.empty()) result.error = WorkbookOf(bill.rows(), request.xlsx);
  if (result.error.empty() && !request.pdf.empty())
    result.error = PdfOf(pdf, bill.printout(now), request.pdf, set.Units);
  return result;
}

bool SummaryFileKnown(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".xlsx" || ext == ".csv" || ext == ".json";
}

std::string WriteSummaryFile(const SummaryBill& bill, const std::string& path) {
  const std::vector<BillRow> rows = bill.rows();
  const std::string ext = Extension(path);
  if (ext == ".xlsx") return WorkbookOf(rows, path);
  if (ext == ".csv") return WriteTextFile(path, BillRowsCsv(rows));
  if (ext == ".json") return WriteTextFile(path, BillRowsJson(rows));
  return path + ": the summary is written as .xlsx, .csv or .json";
}

}  // namespace vst
