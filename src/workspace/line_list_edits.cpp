// The Line List window's edit history: undo and redo of cell edits, added
// rows and deleted rows, and the rows kept in sight under the filter.
#include <algorithm>
#include <utility>

#include "workspace/line_list_model.h"

namespace vst {

void LineListModel::setField(int row, int field, const std::string& text) {
  Row& r = rows_[static_cast<std::size_t>(row)];
  r.input.fields[static_cast<std::size_t>(field)] = text;
  CircuitResult result;
  designer_->design(r.input, row + 1, result);
  r.result = std::move(result);
  r.kept = true;
}

// The rows from `row` on moved up or down: their results carry their new
// numbers, as a design of the list as it now stands would.
void LineListModel::renumberFrom(int row) {
  for (std::size_t i = static_cast<std::size_t>(row); i < rows_.size(); ++i) {
    if (rows_[i].result) rows_[i].result->row = static_cast<int>(i) + 1;
  }
}

void LineListModel::record(Edit edit) {
  history_.resize(done_);
  if (savedAt_ && *savedAt_ > done_) savedAt_.reset();  // the saved state can no longer be reached
  history_.push_back(std::move(edit));
  done_ = history_.size();
}

bool LineListModel::deleteRow(int row) {
  if (running_ || row < 0 || row >= rowCount()) return false;
  Edit edit{EditKind::DeleteRow, row, -1, {}, {}, rows_[static_cast<std::size_t>(row)]};
  apply(edit, false);
  record(std::move(edit));
  return true;
}

// Carries an edit out again (undoing false) or takes it back (true).
void LineListModel::apply(const Edit& edit, bool undoing) {
  const auto at = rows_.begin() + edit.row;
  switch (edit.kind) {
    case EditKind::Cell:
      setField(edit.row, edit.field, undoing ? edit.before : edit.after);
      return;
    case EditKind::AddRow:
    case EditKind::DeleteRow:
      if ((edit.kind == EditKind::AddRow) == undoing) {
        rows_.erase(at);
      } else {
        rows_.insert(at, edit.held)->kept = true;
      }
      renumberFrom(edit.row);
      return;
  }
}

namespace {

LineListModel::EditStep StepOf(LineListModel::EditKind kind, int row, bool undoing) {
  using K = LineListModel::EditKind;
  const bool inserts = kind != K::Cell && ((kind == K::DeleteRow) == undoing);
  return {kind, row, inserts};
}

std::string NameOf(LineListModel::EditKind kind, const std::string& caption) {
  switch (kind) {
    case LineListModel::EditKind::Cell:
      return "Edit of " + caption;
    case LineListModel::EditKind::AddRow:
      return "Add Row";
    case LineListModel::EditKind::DeleteRow:
      return "Delete Row";
  }
  return {};
}

}  // namespace

std::optional<LineListModel::EditStep> LineListModel::undoStep() const {
  if (running_ || done_ == 0) return std::nullopt;
  const Edit& e = history_[done_ - 1];
  return StepOf(e.kind, e.row, true);
}

std::optional<LineListModel::EditStep> LineListModel::redoStep() const {
  if (running_ || done_ == history_.size()) return std::nullopt;
  const Edit& e = history_[done_];
  return StepOf(e.kind, e.row, false);
}

std::string LineListModel::undoName() const {
  if (done_ == 0) return {};
  const Edit& e = history_[done_ - 1];
  return NameOf(e.kind, e.field >= 0 ? header_[static_cast<std::size_t>(e.field)] : std::string());
}

std::string LineListModel::redoName() const {
  if (done_ == history_.size()) return {};
  const Edit& e = history_[done_];
  return NameOf(e.kind, e.field >= 0 ? header_[static_cast<std::size_t>(e.field)] : std::string());
}

bool LineListModel::undo() {
  if (!undoStep()) return false;
  --done_;
  apply(history_[done_], true);
  return true;
}

bool LineListModel::redo() {
  if (!redoStep()) return false;
  apply(history_[done_], false);
  ++done_;
  return true;
}

bool LineListModel::shown(int row, const std::string& text, StatusFilter filter) const {
  return rows_.at(static_cast<std::size_t>(row)).kept || matches(row, text, filter);
}

void LineListModel::releaseKeptRows() {
  for (Row& r : rows_) r.kept = false;
}

}  // namespace vst

// ---------------------------------------------------------------- ignored columns

namespace vst {

const std::vector<IgnoredColumn>& LineListModel::ignoredColumns() const {
  return designer_->ignoredColumns();
}

std::string LineListModel::ignoredColumnsNote() const {
  const auto& ignored = ignoredColumns();
  if (ignored.empty()) return {};
  std::string out = ignored.size() == 1
                        ? std::string("1 column of the list is not read: ")
                        : std::to_string(ignored.size()) + " columns of the list are not read: ";
  for (std::size_t i = 0; i < ignored.size() && i < kNamedColumns; ++i)
    out += (i ? "; " : "") + IgnoredColumnText(ignored[i]);
  if (ignored.size() > kNamedColumns)
    out += "; and " + std::to_string(ignored.size() - kNamedColumns) + " more";
  return out;
}

std::string LineListModel::ignoredColumnsDetails() const {
  std::string out;
  for (const IgnoredColumn& c : ignoredColumns()) {
    const IgnoredColumn named{c.name, c.position, {}};
    out += "Column " + std::to_string(c.position) + ", " + IgnoredColumnText(named) + ": not read";
    if (const auto known = CodeColumn(c.suggestion))
      out += "; did you mean " + c.suggestion + " (" + LineListColumns()[*known].what + ")?";
    out += c.suggestion.empty() ? ".\n" : "\n";
  }
  return out;
}

bool LineListModel::readIgnoredAs(std::size_t index) {
  const auto& ignored = ignoredColumns();
  if (running_ || index >= ignored.size() || ignored[index].suggestion.empty()) return false;
  const auto at = static_cast<std::size_t>(ignored[index].position - 1);
  if (at >= header_.size()) return false;
  std::vector<std::string> header = header_;
  header[at] = ignored[index].suggestion;
  return takeHeader(std::move(header));
}

bool LineListModel::readAllAsSuggested() {
  if (running_) return false;
  // The columns not found yet, which a heading may be read as.
  std::vector<std::string> absent;
  const auto& known = LineListColumns();
  const std::vector<int> positions = designer_->positions();
  for (std::size_t c = 0; c < known.size(); ++c)
    if (positions[c] < 0) absent.emplace_back(known[c].name);
  std::vector<std::string> header = header_;
  bool any = false;
  for (const IgnoredColumn& c : ignoredColumns()) {
    const auto at = static_cast<std::size_t>(c.position - 1);
    if (c.suggestion.empty() || at >= header.size()) continue;
    // Taken in the list's order: a column whose suggestion an earlier one
    // took is read as the nearest column still absent, if any.
    const std::string suggestion = SuggestedColumn(c.name, absent);
    if (suggestion.empty()) continue;
    header[at] = suggestion;
    absent.erase(std::find(absent.begin(), absent.end(), suggestion));
    any = true;
  }
  return any && takeHeader(std::move(header));
}

bool LineListModel::takeHeader(std::vector<std::string> header) {
  auto designer = std::make_unique<LineListDesigner>(header, options_, delimiter_);
  if (!designer->ok()) return false;
  header_ = std::move(header);
  const bool heatUpBefore = designer_->heatUp();
  useDesigner(std::move(designer));
  // A first heat-up column brings the heat-up columns and time.
  if (designer_->heatUp() != heatUpBefore) buildColumns();
  // What the rows hold now reads differently: every row is designed again.
  for (Row& r : rows_) r.result.reset();
  savedAt_.reset();  // unsaved until the list is saved again
  return true;
}

}  // namespace vst
