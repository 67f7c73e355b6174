// The Line List window without a toolkit: a plant's line list (the columns
// vantrel-design reads) as a table of circuits, each row designed through the
// same designer the command uses, with its status, its corrections and
// messages, a text and status filter, cells edited in place (the row entered
// again and redesigned at once), the whole list designed on worker threads
// with its results handed to the window's thread in chunks, and the saves:
// the edited list, the results, the designed rows as design files of ten.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "batch/batch_design.h"
#include "batch/csv.h"
#include "bom/circuit_bill.h"
#include "circuit/report.h"
#include "workspace/dialogs.h"

namespace vst {

// What a row's design came to. A row holds one status; "corrected" and
// "below target" can both be true of a row, and the filter finds it under each.
enum class RowStatus {
  Waiting,      // not designed yet (the list was opened or the run was cancelled)
  Designed,     // designed, holds the temperature to be maintained
  BelowTarget,  // designed, the minimum maintained temperature falls short
  Corrected,    // designed after the window's checks changed an input
  NotDesigned,  // the row could not be designed; its messages say why
};

enum class StatusFilter { All, NotDesigned, BelowTarget, Corrected };

// What a column of the table shows.
enum class LineColumnKind {
  Status,
  Input,   // a line list column (editable when the file holds it)
  Result,  // a design output
};

struct LineColumn {
  LineColumnKind kind;
  int index;            // Input: position in LineListColumns(); Result: display field
  std::string caption;  // the main window's, with its unit: "Max. Ambient (°F)", "Min. Maint. Temp. (°F)"
  std::string code{};   // Input: its field code ("MAXAMB"), which the header's tooltip shows
};

// The help topic of the Line List window (page 33.htm of both books).
inline constexpr int kLineListHelpContext = 33;

// Runs a task on the window's thread, from any thread (the Qt window posts it
// to its event loop; tests queue it).
using PostToWindow = std::function<void(std::function<void()> task)>;

class LineListModel {
 public:
  // Results of a run reach the window in chunks of at most this many rows,
  // or sooner when a chunk has waited kChunkMilliseconds.
  static constexpr int kChunkRows = 1024;
  static constexpr int kChunkMilliseconds = 50;

  // `designer` is the one that read the table's header (and took it).
  LineListModel(CsvTable table, const BatchOptions& options, std::string path,
                std::unique_ptr<LineListDesigner> designer);
  ~LineListModel();
  LineListModel(const LineListModel&) = delete;
  LineListModel& operator=(const LineListModel&) = delete;

  // Reads a line list (CSV, or a workbook's sheet: the first when `sheet`
  // is empty); nothing with `error` set ("list.csv: line 3: ...", the
  // command's own message) when the command would refuse it.
  static std::unique_ptr<LineListModel> Open(const std::string& path, const BatchOptions& options,
                                             std::string& error, const std::string& sheet = {});
  // The headings of a list and its first `rows` data rows (for the column
  // mapping dialog); false with `error` set when the list cannot be read.
  static bool Peek(const std::string& path, const std::string& sheet, int rows,
                   std::vector<std::string>& header, std::vector<std::vector<std::string>>& preview,
                   std::string& error);
  // The sheets of a workbook, in its order; empty for a CSV list (or, with
  // `error` set, a workbook that cannot be read).
  static std::vector<std::string> WorkbookSheets(const std::string& path, std::string& error);
  static std::unique_ptr<LineListModel> FromText(std::string_view text, const BatchOptions& options,
                                                 const std::string& path, std::string& error);

  const BatchOptions& options() const { return options_; }
  const std::string& path() const { return path_; }
  // Whether the list came from a workbook, which a save never replaces.
  bool fromWorkbook() const { return fromWorkbook_; }
  int rowCount() const { return static_cast<int>(rows_.size()); }
  const std::vector<LineColumn>& columns() const { return columns_; }
  int columnCount() const { return static_cast<int>(columns_.size()); }

  // The text of a cell; the status column gives the status text.
  std::string cellText(int row, int column) const;
  // A number for sorting a cell, nothing when its text is not a number.
  std::optional<double> sortNumber(int row, int column) const;
  // An input cell a person may change: the file holds its column and no run
  // is in progress.
  bool editable(int row, int column) const;
  // The entries a list cell offers for its row's installation and unit
  // system; empty for a free text or number cell.
  std::vector<std::string> choices(int row, int column) const;
  // Enters a new value into an input cell: the row is entered again through
  // the window's rules and designed at once. A number typed with a decimal
  // comma is kept as the list writes numbers (TypedCellValue). False when the
  // cell cannot be edited.
  bool setCell(int row, int column, const std::string& value);

  // Adds a row at the end, a copy of the inputs of row `from` (empty fields
  // when -1), designed at once; its number. Nothing while a run is going.
  std::optional<int> addRow(int from);

  // Deletes a row; false when there is none or a run is going.
  bool deleteRow(int row);

  // Undo and redo of the edits (cells, added and deleted rows), latest
  // first; a new edit drops what was undone. A cell undone or redone is
  // designed again; a deleted row comes back with its result.
  enum class EditKind { Cell, AddRow, DeleteRow };
  struct EditStep {
    EditKind kind;
    int row;
    bool inserts;  // the step puts a row back at `row` (else removes or changes it)
  };
  // What undo() / redo() would do, nothing when there is nothing to do or a
  // run is going (so a view can announce the rows before they change).
  std::optional<EditStep> undoStep() const;
  std::optional<EditStep> redoStep() const;
  // "Edit of PIPELN", "Add Row", "Delete Row"; empty when there is nothing.
  std::string undoName() const;
  std::string redoName() const;
  bool undo();
  bool redo();

  // Whether a row is shown under the filter: it matches, or it was edited,
  // added or restored since the filter was last chosen, so a row fixed under
  // "Not designed" stays in sight with its result.
  bool shown(int row, const std::string& text, StatusFilter filter) const;
  // The filter is chosen again: only matching rows are shown.
  void releaseKeptRows();

  // The header columns the list does not read, with the known column each
  // probably means (as the command names them on its error output).
  const std::vector<IgnoredColumn>& ignoredColumns() const;
  // "2 columns of the list are not read: VALVES: did you mean VALN?; Shoe:
  // did you mean SHOES?"; empty when every column is read.
  std::string ignoredColumnsNote() const;
  // One line per ignored column: its position, its name, what the suggested
  // column holds ("the number of valves").
  std::string ignoredColumnsDetails() const;
  // Reads the ignored column `index` (of ignoredColumns()) as its suggested
  // column: the heading takes the suggested name (the saved list keeps it)
  // and every row waits to be designed again. False when the column has no
  // suggestion, the heading would not be taken, or a run is going.
  bool readIgnoredAs(std::size_t index);
  // Reads every ignored column that has a suggestion as its suggested
  // column in one step, in the list's order (a column whose suggestion an
  // earlier one took is read as the nearest column still absent, if any).
  // False when nothing is read, the headings would not be taken, or a run is
  // going.
  bool readAllAsSuggested();

  // The window's own unit system, mode and pressure unit, whatever the main
  // window's session does. New options give new column captions, and every
  // row waits to be designed again. False while a run is going.
  bool setOptions(const BatchOptions& options);
  // The other unit system when the list seems written in it: some designed
  // rows stop on an entry that is not in one of the lists (tube size, pipe
  // size, insulation thickness, ...), fewer rows stop on one in the other
  // system, and no row that finds its entries here misses one there (the
  // first kUnitCheckRows rows checked). A row with a plain typo, which stops
  // in either system, does not hide the offer.
  static constexpr int kUnitCheckRows = 500;
  std::optional<UnitSystem> otherUnitsFit() const;
  // The offer itself: the window's options in the other unit system (psig
  // for inch-pound units, barg for SI metric) and the note the window shows
  // with it; nothing when there is none.
  struct UnitsOffer {
    BatchOptions options;
    std::string note;
  };
  std::optional<UnitsOffer> otherUnitsOffer() const;
  // The offer's note, empty when there is none.
  std::string otherUnitsNote() const;
  // "Inch pound units, psig, standard mode", "SI metric units, kPa, internal
  // mode": the units, pressure unit and mode in force.
  std::string unitsText() const;

  RowStatus status(int row) const;
  // "Designed", "Below target: min. 271.3 °F < 300 °F", "Corrected: STEAMPRS
  // 400 → 50", "Not designed: Column PIPESIZE: ..."; a short form for the cell.
  std::string statusText(int row) const;
  // Everything of a row: status, corrections and messages, one per line.
  std::string details(int row) const;
  const CircuitResult* result(int row) const;
  bool matches(int row, const std::string& text, StatusFilter filter) const;
  int count(StatusFilter filter) const;
  int designedCount() const;  // rows that hold a design

  // Designs every row on `threads` worker threads; the results reach the
  // model through `post` in row order, `progress` (on the window's thread)
  // after each chunk with the rows done, `finished` once at the end
  // (cancelled or not). False when a run is already going.
  bool startDesignAll(PostToWindow post, std::function<void(int done, int total)> progress,
                      std::function<void(bool cancelled)> finished, int threads = 0);
  // Stops the run: the rows not yet handed over stay as they were.
  void cancel();
  bool running() const { return running_; }
  // Waits for the worker to end (its last posts may still be queued).
  void join();

  // Unsaved edits of the list.
  bool modified() const { return savedAt_ != done_; }

  // The circuit report of a designed row, numbered by its row.
  std::optional<CircuitReport> circuitReport(int row) const;
  // The summary bill over every designed row.
  std::vector<BillRow> summaryBill() const;

  // The saves; each returns the problem, empty when written. Every file
  // goes through the program's one writer and replaces nothing unless it
  // was written whole.
  // The list itself, as read plus the edits, with the headings it was read
  // with: a workbook (one sheet) when the name ends in .xlsx, else delimited
  // text. A list read from a workbook is never written over that workbook.
  std::string saveList(const std::string& path);
  // These two may run on a worker thread while the window waits (nothing
  // edits the list meanwhile); `progress` hears the rows (files) done of the
  // total now and then, and stops the save by returning false: nothing is
  // written then, and the problem is kSaveCancelled.
  using SaveProgress = std::function<bool(int done, int total)>;
  static constexpr const char* kSaveCancelled = "the save was cancelled";
  enum class ResultFormat { Csv, Json, Xlsx };
  std::string saveResults(const std::string& path, ResultFormat format,
                          const SaveProgress& progress = {}) const;
  // The designed rows into design files of ten (NAME.mdb for ten or fewer,
  // else NAME-1.mdb, ...); `written` names each file.
  std::string saveDesignFiles(const std::string& path, const std::string& templatePath,
                              std::vector<std::string>& written, const SaveProgress& progress = {}) const;

  // The question before the window closes with unsaved edits: true when it
  // may close (saved through `save`, or the edits let go).
  bool queryClose(Dialogs& dialogs, const std::function<bool()>& save);

  // What the window asks and says about its saves and bills, so a view
  // only shows them.
  enum class SaveKind { List, Results, DesignFiles, Pdf };
  // The save dialog of each save: its title, the name it proposes beside
  // the list, its file types and the file it refuses (the list itself; for
  // the design files the template at `templatePath`).
  FileDialogSpec saveDialog(SaveKind kind, const std::string& templatePath = {}) const;
  // Saving the list asks for a name on Save As, and always for a list read
  // from a workbook, which is never written over.
  bool saveListAsksName(bool saveAs) const { return saveAs || fromWorkbook_; }
  // The results a chosen name asks for: JSON for .json, a workbook for
  // .xlsx (any case), else CSV.
  static ResultFormat ResultFormatOf(const std::string& path);
  // The progress dialog's text while the results or design files are
  // saved to `path`.
  static std::string SavingText(SaveKind kind, const std::string& path);
  // The message of a save to `path` that failed with `problem`; nothing
  // when it did not fail or was cancelled.
  static std::optional<Message> SaveFailed(SaveKind kind, const std::string& path,
                                           const std::string& problem);
  // The names of the design files saved.
  static Message DesignFilesSaved(const std::vector<std::string>& written);
  // Why the circuit bill of `row` (-1: none selected) or the summary bill
  // cannot be shown; nothing when it can.
  std::optional<Message> circuitBillRefusal(int row) const;
  std::optional<Message> summaryBillRefusal() const;
  // The details pane: the columns the list does not read, then the row's
  // details (-1: how to see them).
  std::string detailsPane(int row) const;
  // "Line List - plant.csv", with "*" while edits are unsaved.
  std::string windowTitle() const;

 private:
  struct Row {
    CsvRow input;
    std::optional<CircuitResult> result;
    bool kept = false;  // shown whatever the filter until it is chosen again
  };
  struct Edit {
    EditKind kind;
    int row;
    int field = -1;             // Cell: position in the file's header
    std::string before, after;  // Cell: the field's texts
    Row held;                   // AddRow, DeleteRow: the row added or deleted
  };
  void record(Edit edit);
  void apply(const Edit& edit, bool undoing);
  void setField(int row, int field, const std::string& text);
  void renumberFrom(int row);
  // The headings become `header` when a designer takes them: every row
  // waits to be designed again. False when they would not be taken.
  bool takeHeader(std::vector<std::string> header);
  void buildColumns();  // the table's columns, anew, for the designer and options in force
  void useDesigner(std::unique_ptr<LineListDesigner> designer);
  // The lists a row's choices leave on offer: `fits` when its installation
  // and tube are on offer, `ownWalls` when its tube and material have wall
  // thicknesses of their own.
  struct RowLists {
    CircuitEntry entry;
    bool fits;
    bool ownWalls;
  };
  RowLists rowLists(int row) const;
  std::vector<std::string> sizeChoices(int row, LineListCol column) const;
  // The row's choice of a list column as its design took it (trimmed as
  // typed before one).
  std::string usedChoice(int row, int listColumn) const;
  CircuitContext circuitContext() const;
  int fieldPosition(int listColumn) const;  // position in the file's header, -1 when absent
  std::string inputText(const Row& row, int listColumn) const;
  void takeChunk(std::uint64_t run, int first, std::vector<CircuitResult>& chunk);

  BatchOptions options_;
  std::string path_;
  std::vector<std::string> header_;
  char delimiter_ = ',';
  bool fromWorkbook_ = false;
  bool byteOrderMark_ = false;
  std::string lineEnd_ = "\n";
  std::vector<int> positions_;  // per LineListColumns() entry
  std::vector<Row> rows_;
  std::vector<LineColumn> columns_;
  std::unique_ptr<LineListDesigner> designer_;
  std::vector<Edit> history_;
  std::size_t done_ = 0;                    // edits of history_ in effect
  std::optional<std::size_t> savedAt_ = 0;  // done_ when last saved; nothing when that state is gone

  std::thread worker_;
  bool running_ = false;
  std::atomic<bool> cancelled_{false};
  std::uint64_t run_ = 0;  // the run whose chunks are taken; a newer run or cancel drops older ones
};

// The status filter's entries, in order: "All", "Not designed", "Below
// target", "Corrected".
const std::vector<std::string>& StatusFilterNames();

}  // namespace vst
