#include "batch/bill_output.h"

#include <filesystem>

#include "batch/csv.h"
#include "batch/json.h"
#include "bom/xlsx_export.h"
#include "core/legacy_math.h"
#include "core/quoted_value.h"
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

// The workbook of bill rows as the new contents of `out`.
std::string WorkbookInto(const std::vector<BillRow>& rows, OutputFile& out) {
  const std::string problem = ExportGridToSpreadsheet(GridOf(rows), static_cast<int>(rows.size()), 3,
                                                      kSummaryExportOption, BillModel::kSheetTitle, out);
  return problem.empty() ? problem : ShownName(out.name()) + " was not written: " + problem;
}

// Opens an output for a file asked for; the reason when it cannot be.
std::string OpenFile(const std::string& path, BillShowResult& result) {
  result.files.push_back(std::make_unique<OutputFile>());
  OutputFile& out = *result.files.back();
  return out.open(path) ? std::string() : out.error();
}

std::string PdfInto(const PdfRenderer& pdf, const PageDescription& page, const std::string& path,
                    BillShowResult& result) {
  if (!pdf) return "PDF output is not available";
  std::string bytes;
  if (std::string problem = pdf(page, bytes); !problem.empty()) {
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
  if (!request.pdf.empty()) result.error = PdfInto(pdf, bill.printout(now), request.pdf, result);
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
  const BillModel bill(set);
  result.text = request.format == "csv" ? BillRowsCsv(bill.rows()) : BillRowsJson(bill.rows());
  if (!request.xlsx.empty()) {
    result.error = OpenFile(request.xlsx, result);
    if (result.error.empty()) result.error = WorkbookInto(bill.rows(), *result.files.back());
  }
  if (result.error.empty() && !request.pdf.empty())
    result.error = PdfInto(pdf, bill.printout(now), request.pdf, result);
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
  if (ext == ".xlsx") return WorkbookInto(rows, out);
  out << (ext == ".csv" ? BillRowsCsv(rows) : BillRowsJson(rows));
  return {};
}

}  // namespace vst
