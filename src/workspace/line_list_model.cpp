#include "workspace/line_list_model.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/design_files.h"
#include "batch/headings.h"
#include "batch/row_pipeline.h"
#include "batch/xlsx_list.h"
#include "bom/summary_bill.h"
#include "bom/xlsx_export.h"
#include "circuit/entry.h"
#include "circuit/lists.h"
#include "core/legacy_math.h"
#include "core/output_file.h"
#include "core/quoted_value.h"
#include "core/units.h"
#include "designfile/design_file.h"

namespace vst {

namespace {

// A result column of its own: the installation the design finally used.
constexpr int kInstallationUsed = -1;

std::string Lower(std::string_view text) { return Lowercase(text); }

bool Contains(std::string_view haystack, const std::string& lowerNeedle) {
  return Lower(haystack).find(lowerNeedle) != std::string::npos;
}

// A field as the list's own delimiter keeps it: quoted when it holds the
// delimiter, a quote, a line break or blanks at its ends, so reading the
// saved list gives the same text back.
void AppendListField(std::string& out, const std::string& field, char delimiter) {
  const bool quote = field.find_first_of(std::string{delimiter, '"', '\n', '\r'}) != std::string::npos ||
                     (!field.empty() && (field.front() == ' ' || field.back() == ' ' ||
                                         field.front() == '\t' || field.back() == '\t'));
  if (!quote) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// Why `name` may not take an output of the list: it is the list's own file,
// through whatever name, link or hard link; empty when it is another file.
std::string ListItself(const std::string& name, const std::string& list) {
  const FileIdentity listFile = IdentityOfName(list);
  if (!listFile.exists || !SameWrittenFile(IdentityOfName(name), listFile)) return {};
  return ShownName(std::filesystem::path(name).filename().string()) + " is the line list " +
         ShownName(std::filesystem::path(list).filename().string()) + " itself";
}

// Designing threads yield to the window's thread: a run on every core must
// not take the time the window needs to draw and answer (Linux: a thread's
// own nice value).
void YieldToTheWindow() {
  thread_local bool lowered = false;
  if (lowered) return;
  lowered = true;
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
}

std::string Describe(const Correction& c) {
  return c.column + " " + QuotedValue(c.entered) + " \u2192 " + QuotedValue(c.used);
}

}  // namespace

const std::vector<std::string>& StatusFilterNames() {
  static const std::vector<std::string> names = {"All", "Not designed", "Below target", "Corrected"};
  return names;
}

LineListModel::LineListModel(CsvTable table, const BatchOptions& options, std::string path,
                             std::unique_ptr<LineListDesigner> designer)
    : options_(options),
      path_(std::move(path)),
      header_(std::move(table.header)),
      delimiter_(table.delimiter),
      byteOrderMark_(table.byteOrderMark),
      lineEnd_(table.lineEnd) {
  useDesigner(std::move(designer));
  rows_.reserve(table.rows.size());
  for (CsvRow& r : table.rows) rows_.push_back({std::move(r), std::nullopt});
  buildColumns();
}

// The designer of the header as it stands, and where it found each list
// column (codes, captions, usual words): the one reading of the headings.
void LineListModel::useDesigner(std::unique_ptr<LineListDesigner> designer) {
  designer_ = std::move(designer);
  positions_ = designer_->positions();
}

LineListModel::~LineListModel() {
  cancel();
  join();
}

std::unique_ptr<LineListModel> LineListModel::FromText(std::string_view text, const BatchOptions& options,
                                                       const std::string& path, std::string& error) {
  CsvError csvError;
  auto table = ParseCsv(text, csvError);
  const std::string name = ShownName(path);
  if (!table) {
    error = name + ": " + csvError.message;
    return nullptr;
  }
  auto designer = std::make_unique<LineListDesigner>(table->header, options, table->delimiter);
  if (!designer->ok()) {
    error = name + ": " + designer->error();
    return nullptr;
  }
  return std::make_unique<LineListModel>(std::move(*table), options, path, std::move(designer));
}

bool LineListModel::Peek(const std::string& path, const std::string& sheet, int rows,
                         std::vector<std::string>& header, std::vector<std::vector<std::string>>& preview,
                         std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = ShownName(path) + " is a folder";
    return false;
  }
  CsvRow row;
  if (LooksLikeWorkbook(path)) {
    XlsxListReader reader;
    if (!reader.open(path, {sheet, 0}) || !reader.readHeader(header)) {
      error = ShownName(path) + ": " + reader.error();
      return false;
    }
    while (static_cast<int>(preview.size()) < rows && reader.next(row)) preview.push_back(row.fields);
    return true;
  }
  std::ifstream in(path, std::ios::binary);
  CsvReader reader(in);
  CsvError csvError;
  if (!in || !reader.readHeader(header, csvError)) {
    error = ShownName(path) + ": " + (in ? csvError.message : std::string("cannot be opened"));
    return false;
  }
  while (static_cast<int>(preview.size()) < rows && reader.next(row, csvError)) preview.push_back(row.fields);
  return true;
}

std::vector<std::string> LineListModel::WorkbookSheets(const std::string& path, std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec) || !LooksLikeWorkbook(path)) return {};
  XlsxListReader reader;
  if (!reader.open(path, {})) {
    error = ShownName(path) + ": " + reader.error();
    return {};
  }
  return reader.sheetNames();
}

std::unique_ptr<LineListModel> LineListModel::Open(const std::string& path, const BatchOptions& options,
                                                   std::string& error, const std::string& sheet) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = ShownName(path) + " is a folder";
    return nullptr;
  }
  if (std::filesystem::exists(path, ec) && LooksLikeWorkbook(path)) {
    XlsxListReader reader;
    CsvTable table;
    if (!reader.open(path, {sheet, 0}) || !reader.readHeader(table.header)) {
      error = ShownName(path) + ": " + reader.error();
      return nullptr;
    }
    CsvRow row;
    while (reader.next(row)) table.rows.push_back(std::move(row));
    if (reader.failed()) {
      error = ShownName(path) + ": " + reader.error();
      return nullptr;
    }
    auto designer = std::make_unique<LineListDesigner>(table.header, options, table.delimiter);
    if (!designer->ok()) {
      error = ShownName(path) + ": sheet " + QuotedValue(reader.sheetName()) + ": " + designer->error();
      return nullptr;
    }
    auto model = std::make_unique<LineListModel>(std::move(table), options, path, std::move(designer));
    model->fromWorkbook_ = true;
    return model;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + ShownName(path) +
            (std::filesystem::exists(path, ec) ? std::string() : std::string(": the file does not exist"));
    return nullptr;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    error = "cannot read " + ShownName(path);
    return nullptr;
  }
  return FromText(text.str(), options, path, error);
}

// The status, the circuit and line numbers, the results (seen at a glance
// without scrolling), then the other inputs in the order of the list's columns.
void LineListModel::buildColumns() {
  columns_.clear();
  columns_.push_back({LineColumnKind::Status, 0, "Status"});
  const auto& names = LineListColumns();
  // The heat-up columns and time only for a list with a heat-up column.
  const bool heatUp = designer_->heatUp();
  // An input is headed with the main window's caption (the field code for
  // the fittings and shoe dialogs' values), the code in its tooltip.
  const auto input = [&](std::size_t c) {
    const char* caption = ColumnCaption(c);
    columns_.push_back({LineColumnKind::Input, static_cast<int>(c),
                        WithUnit(caption ? caption : names[c].name, ColumnUnitText(names[c].unit, options_)),
                        names[c].name});
  };
  input(kCIRTXT);
  input(kPIPETXT);
  columns_.push_back({LineColumnKind::Result, kInstallationUsed, "Installation Used"});
  // The design's outputs in the window's own order of them.
  for (int column = 0; column < static_cast<int>(kDesignOutputs.size()); ++column) {
    for (std::size_t d = 0; d < kDesignOutputs.size(); ++d) {
      const DesignOutput& r = kDesignOutputs[d];
      if (r.listColumn != column || (r.heatUpOnly && !heatUp) || (r.internalOnly && !options_.internalMode))
        continue;
      columns_.push_back({LineColumnKind::Result, static_cast<int>(d),
                          WithUnit(r.listCaption, DesignOutputUnitText(r, options_.units))});
    }
  }
  for (std::size_t c = kPIPETXT + 1; c < (heatUp ? names.size() : kFirstHeatUpColumn); ++c) input(c);
}

int LineListModel::fieldPosition(int listColumn) const {
  return positions_.at(static_cast<std::size_t>(listColumn));
}

std::string LineListModel::inputText(const Row& row, int listColumn) const {
  const int p = fieldPosition(listColumn);
  if (p >= 0 && static_cast<std::size_t>(p) < row.input.fields.size())
    return row.input.fields[static_cast<std::size_t>(p)];
  // A column the file does not hold: what the design took for it.
  if (row.result) return row.result->used.at(static_cast<std::size_t>(listColumn));
  return {};
}

std::string LineListModel::cellText(int row, int column) const {
  const Row& r = rows_.at(static_cast<std::size_t>(row));
  const LineColumn& c = columns_.at(static_cast<std::size_t>(column));
  switch (c.kind) {
    case LineColumnKind::Status:
      return statusText(row);
    case LineColumnKind::Input:
      return inputText(r, c.index);
    case LineColumnKind::Result:
      if (!r.result || !r.result->ok) return {};
      if (c.index == kInstallationUsed) return r.result->installation;
      return r.result->display.at(static_cast<std::size_t>(c.index));
  }
  return {};
}

std::optional<double> LineListModel::sortNumber(int row, int column) const {
  if (columns_.at(static_cast<std::size_t>(column)).kind == LineColumnKind::Status)
    return static_cast<double>(status(row));
  const auto v = ParseNumber(Trim(cellText(row, column)), TakesDecimalCommas(delimiter_) ? ',' : '.');
  if (!v) return std::nullopt;
  return *v;
}

bool LineListModel::editable(int row, int column) const {
  if (running_ || row < 0 || row >= rowCount()) return false;
  const LineColumn& c = columns_.at(static_cast<std::size_t>(column));
  return c.kind == LineColumnKind::Input && fieldPosition(c.index) >= 0 &&
         static_cast<std::size_t>(fieldPosition(c.index)) <
             rows_[static_cast<std::size_t>(row)].input.fields.size();
}

namespace {

// The entries of a list a cell offers: its blank entries are no choice.
std::vector<std::string> NonEmpty(const TextList* list) {
  std::vector<std::string> out;
  if (list == nullptr) return out;
  for (const auto& s : *list)
    if (!Trim(s).empty()) out.emplace_back(Trim(s));
  return out;
}

// The position of `text` in a list, case and blanks at the ends aside; -1
// when the list does not hold it.
int PositionIn(const TextList* list, const std::string& text) {
  const std::string wanted = Lowercase(text);
  for (std::size_t i = 0; list && i < list->size(); ++i) {
    if (Lowercase(Trim((*list)[i])) == wanted) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

// The row's list choices made through the circuit's own list rules from a
// fresh window: installation, tube, material. A row whose installation is
// not on offer is offered Troughline's tube sizes (the four of them), and
// every pipe size and pass; a material not on offer counts as Copper.
LineListModel::RowLists LineListModel::rowLists(int row) const {
  const auto used = [&](int listColumn) { return usedChoice(row, listColumn); };
  const CircuitContext context = circuitContext();
  RowLists lists{FreshEntry(context), false, false};
  const int installation = PositionIn(&InstallationList(options_.internalMode), used(kTRACEINS));
  ChooseInstallation(lists.entry, std::max(installation, 0), context);
  ChooseTubeSize(lists.entry, PositionIn(lists.entry.tubes, used(kTRACETUB)), context);
  lists.fits = installation >= 0 && lists.entry.tubeSize >= 0;
  // A tube and material without walls of their own leave the rule's list
  // as it was; the cell then offers none and takes any text.
  lists.ownWalls =
      ChooseMaterial(lists.entry, std::max(PositionIn(&TracerMaterialList(), used(kTUBEMAT)), 0), context);
  return lists;
}

std::vector<std::string> LineListModel::choices(int row, int column) const {
  const LineColumn& c = columns_.at(static_cast<std::size_t>(column));
  if (c.kind != LineColumnKind::Input) return {};
  switch (c.index) {
    case kTRACEINS:
      return NonEmpty(&InstallationList(options_.internalMode));
    case kTUBEMAT:
      return NonEmpty(&TracerMaterialList());
    case kINSTYPE:
      return NonEmpty(&InsulationTypeList());
    case kINSTHK:
      return NonEmpty(&InsulationThicknessList(options_.units));
    case kALLOWANCE:
      return {"No", "Yes"};
    case kTRACETUB:
      return NonEmpty(rowLists(row).entry.tubes);
    case kTUBEWALL: {
      const RowLists lists = rowLists(row);
      return lists.ownWalls ? NonEmpty(lists.entry.walls) : std::vector<std::string>{};
    }
    case kPIPESIZE:
    case kPASSES:
      return sizeChoices(row, static_cast<LineListCol>(c.index));
    case kAPPTYPE:
      return NonEmpty(&ApplicationList());
    case kPRODUCT:
      return NonEmpty(&ProductList());
    default:
      return {};
  }
}

// The pipe sizes a design takes the row's installation and tube on, and up
// to the most passes (tracers) its pipe size takes with them.
std::vector<std::string> LineListModel::sizeChoices(int row, LineListCol column) const {
  const RowLists lists = rowLists(row);
  const CircuitEntry& e = lists.entry;
  // Without an installation and tube on offer, the whole list.
  const TextList& pipes = lists.fits ? *e.pipeSizes : PipeSizeList(options_.units, false);
  if (column == kPASSES) {
    std::vector<std::string> out = NonEmpty(&PassList());
    // The pipe's position in the whole list: the blanks of Troughline's stay sizes.
    const int pipe = PositionIn(&PipeSizeList(options_.units, false), usedChoice(row, kPIPESIZE));
    if (lists.fits && pipe >= 0)
      out.resize(
          std::min(out.size(), static_cast<std::size_t>(MostPasses(e.installation, e.tubeSize, pipe))));
    return out;
  }
  std::vector<std::string> out;
  for (std::size_t p = 0; p < pipes.size(); ++p) {
    if (lists.fits && PipeSizeRefusal(e.installation, e.tubeSize, static_cast<int>(p), circuitContext()))
      continue;
    if (!Trim(pipes[p]).empty()) out.emplace_back(Trim(pipes[p]));
  }
  return out;
}

std::string LineListModel::usedChoice(int row, int listColumn) const {
  if (const CircuitResult* res = result(row)) return res->used.at(static_cast<std::size_t>(listColumn));
  return std::string(Trim(inputText(rows_[static_cast<std::size_t>(row)], listColumn)));
}

CircuitContext LineListModel::circuitContext() const { return ContextOf(options_); }

bool LineListModel::setCell(int row, int column, const std::string& value) {
  if (!editable(row, column)) return false;
  Row& r = rows_[static_cast<std::size_t>(row)];
  const int listColumn = columns_[static_cast<std::size_t>(column)].index;
  std::string& field = r.input.fields[static_cast<std::size_t>(fieldPosition(listColumn))];
  const std::string held = TypedCellValue(static_cast<LineListCol>(listColumn), value, delimiter_);
  if (field == held && r.result) return true;
  const int position = fieldPosition(listColumn);
  Edit edit{EditKind::Cell, row, position, field, held, {}};
  setField(row, position, held);
  record(std::move(edit));
  return true;
}

std::optional<int> LineListModel::addRow(int from) {
  if (running_) return std::nullopt;
  Row added;
  if (from >= 0 && from < rowCount()) {
    added.input.fields = rows_[static_cast<std::size_t>(from)].input.fields;
  } else {
    added.input.fields.assign(header_.size(), std::string());
  }
  // The line it will have in the saved list.
  added.input.line = rows_.empty() ? 2 : rows_.back().input.line + 1;
  CircuitResult result;
  designer_->design(added.input, rowCount() + 1, result);
  added.result = std::move(result);
  added.kept = true;
  rows_.push_back(added);
  record(Edit{EditKind::AddRow, rowCount() - 1, -1, {}, {}, std::move(added)});
  return rowCount() - 1;
}

RowStatus LineListModel::status(int row) const {
  const auto& res = rows_.at(static_cast<std::size_t>(row)).result;
  if (!res) return RowStatus::Waiting;
  if (!res->ok) return RowStatus::NotDesigned;
  if (!res->meetsMaintainTemperature) return RowStatus::BelowTarget;
  if (!res->corrections.empty()) return RowStatus::Corrected;
  return RowStatus::Designed;
}

std::string LineListModel::statusText(int row) const {
  const CircuitResult* res = result(row);
  switch (status(row)) {
    case RowStatus::Waiting:
      return "Not designed yet";
    case RowStatus::NotDesigned: {
      // The last message says why the design stopped.
      std::string why = res->messages.empty() ? std::string() : res->messages.back().text;
      return why.empty() ? std::string("Not designed") : "Not designed: " + why;
    }
    case RowStatus::BelowTarget: {
      const std::string unit(Trim(UnitCaption(UnitQuantity::Temperature, options_.units)));
      std::string text = "Below target: min. " + res->display.at(1) + " " + unit + " < " +
                         res->used.at(kMAINTEMP) + " " + unit;
      if (!res->corrections.empty()) text += "; corrected";
      return text;
    }
    case RowStatus::Corrected: {
      std::string text = "Corrected: ";
      for (std::size_t i = 0; i < res->corrections.size(); ++i) {
        if (i) text += ", ";
        text += Describe(res->corrections[i]);
      }
      return text;
    }
    case RowStatus::Designed:
      return "Designed";
  }
  return {};
}

std::string LineListModel::details(int row) const {
  const CircuitResult* res = result(row);
  std::string text = "Row " + std::to_string(row + 1) + " (line " +
                     std::to_string(rows_.at(static_cast<std::size_t>(row)).input.line) +
                     "): " + statusText(row);
  if (!res) return text;
  for (const Correction& c : res->corrections) {
    text += "\nCorrected " + Describe(c);
    if (!c.message.empty()) text += ": " + c.message;
  }
  for (const ShownMessage& m : res->messages)
    text += "\n" + (m.title.empty() ? m.text : m.title + ": " + m.text);
  return text;
}

const CircuitResult* LineListModel::result(int row) const {
  const auto& res = rows_.at(static_cast<std::size_t>(row)).result;
  return res ? &*res : nullptr;
}

bool LineListModel::matches(int row, const std::string& text, StatusFilter filter) const {
  const CircuitResult* res = result(row);
  switch (filter) {
    case StatusFilter::All:
      break;
    case StatusFilter::NotDesigned:
      if (!res || res->ok) return false;
      break;
    case StatusFilter::BelowTarget:
      if (!res || !res->ok || res->meetsMaintainTemperature) return false;
      break;
    case StatusFilter::Corrected:
      if (!res || res->corrections.empty()) return false;
      break;
  }
  const std::string needle = Lower(Trim(text));
  if (needle.empty()) return true;
  for (int c = 0; c < columnCount(); ++c) {
    if (Contains(cellText(row, c), needle)) return true;
  }
  return false;
}

int LineListModel::count(StatusFilter filter) const {
  int n = 0;
  for (int r = 0; r < rowCount(); ++r) n += matches(r, {}, filter) ? 1 : 0;
  return n;
}

int LineListModel::designedCount() const {
  int n = 0;
  for (const Row& r : rows_) n += r.result && r.result->ok ? 1 : 0;
  return n;
}

bool LineListModel::startDesignAll(PostToWindow post, std::function<void(int, int)> progress,
                                   std::function<void(bool)> finished, int threads) {
  if (running_) return false;
  join();
  running_ = true;
  cancelled_ = false;
  const std::uint64_t run = ++run_;
  const int total = rowCount();
  // The worker reads its own copy of the inputs: the window's rows may be
  // read (never edited) while it runs.
  auto inputs = std::make_shared<std::vector<CsvRow>>();
  inputs->reserve(rows_.size());
  for (const Row& r : rows_) inputs->push_back(r.input);
  const int jobs = threads > 0 ? threads : ProcessorCount();
  worker_ = std::thread([this, run, total, jobs, inputs, post, progress, finished] {
    YieldToTheWindow();
    std::size_t next = 0;
    int first = 0;
    int done = 0;
    auto chunk = std::make_shared<std::vector<CircuitResult>>();
    auto started = std::chrono::steady_clock::now();
    const auto hand = [&] {
      if (chunk->empty()) return;
      const int at = first;
      done += static_cast<int>(chunk->size());
      const int count = done;
      post([this, run, at, chunk, progress, count, total] {
        takeChunk(run, at, *chunk);
        if (progress && run == run_) progress(count, total);
      });
      first = done;
      chunk = std::make_shared<std::vector<CircuitResult>>();
      chunk->reserve(kChunkRows);
      started = std::chrono::steady_clock::now();
    };
    chunk->reserve(kChunkRows);
    RowPipeline pipeline;
    pipeline.next = [&](CsvRow& row) {
      if (next >= inputs->size() || cancelled_) return false;
      row = (*inputs)[next++];
      return true;
    };
    pipeline.format = [](const CircuitResult&, std::string&) { YieldToTheWindow(); };
    pipeline.take = [&](const CircuitResult& result) {
      if (cancelled_) return false;
      chunk->push_back(result);
      if (static_cast<int>(chunk->size()) >= kChunkRows ||
          std::chrono::steady_clock::now() - started >= std::chrono::milliseconds(kChunkMilliseconds))
        hand();
      return true;
    };
    pipeline.write = [](const std::string&) {};
    DesignRowsInOrder(*designer_, jobs, pipeline);
    if (!cancelled_) hand();
    const bool wasCancelled = cancelled_;
    post([this, run, wasCancelled, finished] {
      if (run != run_) return;
      running_ = false;
      if (finished) finished(wasCancelled);
    });
  });
  return true;
}

void LineListModel::takeChunk(std::uint64_t run, int first, std::vector<CircuitResult>& chunk) {
  if (run != run_) return;
  for (std::size_t i = 0; i < chunk.size(); ++i) {
    const std::size_t at = static_cast<std::size_t>(first) + i;
    if (at < rows_.size()) rows_[at].result = std::move(chunk[i]);
  }
}

void LineListModel::cancel() { cancelled_ = true; }

void LineListModel::join() {
  if (worker_.joinable()) worker_.join();
}

std::optional<CircuitReport> LineListModel::circuitReport(int row) const {
  const CircuitResult* res = result(row);
  if (!res || !res->ok) return std::nullopt;
  const CircuitReportFields fields = ReportFieldsOf(res->record, options_.units, options_.internalMode);
  return CircuitReportOf(fields, res->record, row + 1, res->used.at(kCIRTXT), res->used.at(kPIPETXT));
}

std::vector<BillRow> LineListModel::summaryBill() const {
  SummaryBill bill(options_.units);
  for (const Row& r : rows_) {
    if (r.result && r.result->ok) bill.add(r.result->record);
  }
  return bill.rows();
}

std::string LineListModel::saveList(const std::string& path) {
  if (fromWorkbook_ && !ListItself(path, path_).empty())
    return "the list came from the workbook " + ShownName(path_) +
           ", which is kept as it is; save the list under a new name (CSV or .xlsx)";
  const std::string lower = Lower(path);
  std::string problem;
  if (lower.size() >= 5 && lower.compare(lower.size() - 5, 5, ".xlsx") == 0) {
    std::vector<CsvRow> rows;
    rows.reserve(rows_.size());
    for (const Row& r : rows_) rows.push_back(r.input);
    problem = WriteListWorkbook(header_, rows, path);
  } else {
    // Written as it was read: byte order mark, delimiter and line ends kept.
    std::string text = byteOrderMark_ ? "\xEF\xBB\xBF" : "";
    for (std::size_t i = 0; i < header_.size(); ++i) {
      if (i) text += delimiter_;
      AppendListField(text, header_[i], delimiter_);
    }
    text += lineEnd_;
    for (const Row& r : rows_) {
      for (std::size_t i = 0; i < r.input.fields.size(); ++i) {
        if (i) text += delimiter_;
        AppendListField(text, r.input.fields[i], delimiter_);
      }
      text += lineEnd_;
    }
    problem = WriteText(path, text);
  }
  if (problem.empty()) savedAt_ = done_;
  return problem;
}

std::string LineListModel::saveResults(const std::string& path, ResultFormat format,
                                       const SaveProgress& progress) const {
  if (running_) return "the list is being designed; save once Design all has finished";
  // A workbook is written in two passes: the cells of its rows, then the sheet.
  const int total = format == ResultFormat::Xlsx ? 2 * rowCount() : rowCount();
  const auto going = [&](std::size_t done) {
    return !progress || (done % 1024 != 0) || progress(static_cast<int>(done), total);
  };
  for (const Row& r : rows_) {
    if (!r.result) return "the list has rows not designed yet (Design all first)";
  }
  if (std::string problem = ListItself(path, path_); !problem.empty()) return problem;
  if (format == ResultFormat::Json) {
    std::string text = BatchJsonStart(options_, designer_->ignoredColumns(), designer_->headings());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (!going(i)) return kSaveCancelled;
      AppendBatchJsonCircuit(text, *rows_[i].result, i == 0);
    }
    return WriteText(path, text + BatchJsonEnd());
  }
  if (format == ResultFormat::Csv) {
    std::string text = BatchCsvHeader(options_, designer_->heatUp());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (!going(i)) return kSaveCancelled;
      AppendBatchCsvRow(text, *rows_[i].result);
    }
    return WriteText(path, text);
  }
  // The workbook holds the cells of the CSV results, one sheet.
  std::vector<std::vector<std::string>> grid;
  grid.reserve(rows_.size() + 1);
  grid.push_back(BatchCsvHeadings(options_, designer_->heatUp()));
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (!going(i)) return kSaveCancelled;
    grid.push_back(BatchResultCells(*rows_[i].result));
  }
  // Numbers are number cells, so a spreadsheet sums and sorts them; the
  // circuit and line names and the messages stay texts even where they
  // read as numbers ("007").
  std::vector<bool> numberColumns;
  for (const std::string& heading : grid.front()) {
    numberColumns.push_back(heading != LineListColumns()[kCIRTXT].name &&
                            heading != LineListColumns()[kPIPETXT].name && heading != "Corrections" &&
                            heading != "Messages");
  }
  const auto sheetRows = [&](int done, int) { return !progress || progress(rowCount() + done, total); };
  const std::string problem = ExportTableToWorkbook(grid, numberColumns, "Line List", path, sheetRows);
  return problem == kWorkbookStopped ? std::string(kSaveCancelled) : problem;
}

std::string LineListModel::saveDesignFiles(const std::string& path, const std::string& templatePath,
                                           std::vector<std::string>& written,
                                           const SaveProgress& progress) const {
  written.clear();
  if (running_) return "the list is being designed; save once Design all has finished";
  std::vector<int> designed;
  for (int r = 0; r < rowCount(); ++r) {
    if (const CircuitResult* res = result(r); res && res->ok) designed.push_back(r);
  }
  if (designed.empty()) return "no row is designed";
  if (std::filesystem::path(path).filename().empty()) return "no file name was given";
  const std::size_t perFile = DesignSet::kRecords;
  const int files = static_cast<int>((designed.size() + perFile - 1) / perFile);
  for (int f = 0; f < files; ++f) {
    const std::string name = DesignFilesOfTen::FileName(path, files == 1 ? 0 : f + 1);
    if (std::string problem = ListItself(name, path_); !problem.empty()) return problem;
  }
  DesignFilesOfTen saver(path, templatePath, options_.internalMode, options_.units);
  const auto refused = [&] { return ShownName(saver.failedName()) + ": " + saver.reason(); };
  if (!saver.begin()) return refused();
  for (std::size_t i = 0; i < designed.size(); ++i) {
    const int file = static_cast<int>(i / perFile);
    if (i % perFile == 0 && progress && !progress(file, files)) return kSaveCancelled;
    if (!saver.add(result(designed[i])->record, designed[i] + 1)) return refused();
  }
  std::vector<std::unique_ptr<OutputFile>> outputs;
  if (!saver.finish(outputs)) return refused();
  std::vector<OutputFile*> all;
  for (const auto& out : outputs) all.push_back(out.get());
  // Every file is complete before the first one replaces anything.
  if (std::string problem = CommitTogether(all); !problem.empty()) return problem;
  for (const DesignFilesOfTen::File& f : saver.files()) written.push_back(f.name);
  return {};
}

bool LineListModel::queryClose(Dialogs& dialogs, const std::function<bool()>& save) {
  if (!modified()) return true;
  const MsgAnswer answer = dialogs.message(
      Message{"The line list " + ShownName(path_) + " has edits that are not saved. Save them?", "Line List",
              MsgIcon::Question, MsgButtons::YesNoCancel, false});
  if (answer == MsgAnswer::Cancel) return false;
  if (answer == MsgAnswer::No) return true;
  return save();
}

}  // namespace vst
