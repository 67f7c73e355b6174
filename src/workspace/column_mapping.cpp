#include "workspace/column_mapping.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "batch/headings.h"
#include "core/legacy_math.h"
#include "core/quoted_value.h"
#include "workspace/dialogs.h"

namespace vst {

namespace {

std::string ColumnLabel(std::size_t c, const BatchOptions& options) {
  const LineListColumn& column = LineListColumns()[c];
  std::string label = column.name;
  const char* caption = ColumnCaption(c);
  const std::string unit = ColumnUnitText(column.unit, options);
  label += ": ";
  label += caption ? caption : column.what;
  if (!unit.empty()) label += " (" + unit + ")";
  return label;
}

}  // namespace

ColumnMappingModel::ColumnMappingModel(std::vector<std::string> headings,
                                       std::vector<std::vector<std::string>> preview,
                                       const BatchOptions& options)
    : headings_(std::move(headings)), preview_(std::move(preview)), options_(options) {
  choices_.push_back("Ignore");
  for (std::size_t c = 0; c < kColumnCount; ++c) choices_.push_back(ColumnLabel(c, options_));
  const HeadingsRead read = ReadHeadings(headings_, options_);
  for (std::size_t i = 0; i < headings_.size(); ++i) {
    const HeadingReading& h = read.headings[i];
    int guess = h.column + 1;
    // A heading nothing reads: the column its name is probably meant for.
    if (h.how == HeadingHow::Unknown && !h.heading.empty()) {
      std::vector<std::string> all;
      for (const auto& column : LineListColumns()) all.emplace_back(column.name);
      if (const auto suggested = CodeColumn(SuggestedColumn(h.heading, all)))
        guess = static_cast<int>(*suggested) + 1;
    }
    chosen_.push_back(guess);
    how_.push_back(h.how);
  }
}

std::string ColumnMappingModel::howRead(int i) const {
  const auto at = static_cast<std::size_t>(i);
  switch (how_.at(at)) {
    case HeadingHow::Code:
      return "field code";
    case HeadingHow::Caption:
      return "caption";
    case HeadingHow::Word:
      return "usual word";
    case HeadingHow::Map:
    case HeadingHow::Ignored:
      return "map";
    case HeadingHow::Unknown:
      break;
  }
  return chosen_[at] > 0 ? "guess" : "not read";
}

bool ColumnMappingModel::needed() const {
  // Without a heading to map, a missing column is the list's own fault: it
  // is refused with the command's message.
  for (std::size_t i = 0; i < headings_.size(); ++i)
    if (unknown(i)) return true;
  return false;
}

std::string ColumnMappingModel::preview(int row, int i) const {
  const auto& fields = preview_.at(static_cast<std::size_t>(row));
  return static_cast<std::size_t>(i) < fields.size() ? fields[static_cast<std::size_t>(i)] : std::string();
}

bool ColumnMappingModel::fixed(int i) const { return byCode(static_cast<std::size_t>(i)); }

bool ColumnMappingModel::byCode(std::size_t i) const { return how_.at(i) == HeadingHow::Code; }

bool ColumnMappingModel::unknown(std::size_t i) const {
  return how_.at(i) == HeadingHow::Unknown && !Trim(headings_.at(i)).empty();
}

void ColumnMappingModel::choose(int i, int choice) {
  if (fixed(i) || choice < 0 || choice >= static_cast<int>(choices_.size())) return;
  chosen_.at(static_cast<std::size_t>(i)) = choice;
}

std::vector<std::string> ColumnMappingModel::missingRequired() const {
  std::vector<std::string> out;
  for (std::size_t c = 0; c < kColumnCount; ++c) {
    if (!LineListColumns()[c].required) continue;
    if (std::find(chosen_.begin(), chosen_.end(), static_cast<int>(c) + 1) != chosen_.end()) continue;
    const char* caption = ColumnCaption(c);
    out.push_back(std::string(LineListColumns()[c].name) +
                  (caption ? std::string(" (") + caption + ")" : ""));
  }
  return out;
}

std::string ColumnMappingModel::problem() const {
  for (std::size_t i = 0; i < chosen_.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (chosen_[i] > 0 && chosen_[i] == chosen_[j])
        return "the headings " + QuotedValue(headings_[j]) + " and " + QuotedValue(headings_[i]) +
               " both give " + LineListColumns()[static_cast<std::size_t>(chosen_[i] - 1)].name;
    }
  }
  const auto missing = missingRequired();
  if (missing.empty()) return {};
  std::string text = "no heading gives ";
  for (std::size_t i = 0; i < missing.size(); ++i) text += (i ? ", " : "") + missing[i];
  return text;
}

ColumnMap ColumnMappingModel::map() const {
  ColumnMap out;
  for (std::size_t i = 0; i < headings_.size(); ++i) {
    if (byCode(i) || headings_[i].empty()) continue;
    out.emplace_back(headings_[i], chosen_[i] > 0
                                       ? LineListColumns()[static_cast<std::size_t>(chosen_[i] - 1)].name
                                       : std::string("ignore"));
  }
  return out;
}

std::string ColumnMappingModel::mapText() const {
  // The headings map() names, with the columns chosen for them (none for
  // "ignore").
  std::vector<HeadingReading> read;
  for (std::size_t i = 0; i < headings_.size(); ++i) {
    if (byCode(i) || headings_[i].empty()) continue;
    HeadingReading h;
    h.heading = headings_[i];
    h.column = chosen_[i] - 1;
    read.push_back(h);
  }
  return ColumnMapText(read);
}

std::string ColumnMappingModel::settingsKey() const {
  // The headings themselves, hashed (FNV-1a, the same in every build): the
  // same list read again finds its map.
  std::uint64_t hash = 14695981039346656037ull;
  for (const auto& h : headings_) {
    for (unsigned char c : h + '\x1f') hash = (hash ^ c) * 1099511628211ull;
  }
  return std::to_string(hash);
}

void ColumnMappingModel::restore(const std::string& mapText) {
  std::string error;
  const auto remembered = ParseColumnMap(mapText, error);
  if (!remembered) return;
  for (const auto& [heading, column] : *remembered) {
    for (std::size_t i = 0; i < headings_.size(); ++i) {
      if (headings_[i] != heading || byCode(i)) continue;
      std::string code = column;
      for (char& ch : code) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      const auto c = CodeColumn(code);
      chosen_[i] = c ? static_cast<int>(*c) + 1 : 0;
    }
  }
}

bool Dialogs::mapColumns(ColumnMappingModel& model) { return model.problem().empty(); }

bool MapColumnsBeforeOpening(ColumnMappingModel& model, const std::string& remembered, Dialogs& dialogs,
                             std::string& remember) {
  remember.clear();
  if (!model.needed()) return true;
  if (!remembered.empty()) {
    model.restore(remembered);
    if (model.problem().empty()) return true;
  }
  if (!dialogs.mapColumns(model)) return false;
  remember = model.mapText();
  return true;
}

}  // namespace vst
