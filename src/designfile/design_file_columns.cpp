#include "designfile/design_file_columns.h"

#include <cmath>
#include <string>

#include "designfile/design_file.h"

namespace vst {

namespace {

// The condensate load is kept as the text the window shows ("0.000").
constexpr std::string_view kThreeDecimalColumn = "COND";

// The answers of the allowance dialogs, stored since the unit system was: a
// file without them opens as files always did, the records keeping the
// answers they hold.
bool AddedAfterUnits(std::string_view name) { return name == "AllowanceIncluded" || name == "ShoeAllowance"; }

// The heat-up data, which only a set holding a heat-up design writes.
bool HeatUpData(std::string_view name) { return name.rfind("HeatUp", 0) == 0; }

OldLayout OldLayoutOf(std::string_view name) {
  if (HeatUpData(name)) return OldLayout::HeatUp;
  if (name == "UNDER" || name == "PRESSURE" || name == "TBAND") return OldLayout::Skipped;
  if (name == "TUBEMAT" || name == "TUBEWALL" || name == "APPTYPE") return OldLayout::IfPresent;
  if (AddedAfterUnits(name)) return OldLayout::Optional;
  return OldLayout::Required;
}

ColumnStorage StorageOf(const FieldInfo& f) {
  switch (f.kind) {
    case FieldKind::Real:
      return f.name == kThreeDecimalColumn ? ColumnStorage::Decimals3 : ColumnStorage::Real;
    case FieldKind::Integer:
    case FieldKind::Flag:
      return ColumnStorage::Integer;
    case FieldKind::Text:
      return ColumnStorage::Text;
  }
  return ColumnStorage::Text;
}

std::vector<DesignFileColumn> BuildColumns() {
  std::vector<DesignFileColumn> columns;
  std::vector<DesignFileColumn> later;
  std::vector<DesignFileColumn> heatUp;
  for (const FieldInfo& f : RecordFields()) {
    if (!f.inFile) continue;
    if (HeatUpData(f.name)) {
      heatUp.push_back({f.name, StorageOf(f), &f, OldLayout::HeatUp});
      continue;
    }
    (AddedAfterUnits(f.name) ? later : columns).push_back({f.name, StorageOf(f), &f, OldLayoutOf(f.name)});
  }
  for (const FieldInfo& f : LaterFileFields())
    heatUp.push_back({f.name, StorageOf(f), &f, OldLayoutOf(f.name)});
  columns.push_back({kModeColumn, ColumnStorage::Mode, nullptr, OldLayout::Required});
  columns.push_back({kUnitsColumn, ColumnStorage::Units, nullptr, OldLayout::Optional});
  columns.insert(columns.end(), later.begin(), later.end());
  columns.insert(columns.end(), heatUp.begin(), heatUp.end());
  return columns;
}

}  // namespace

bool MayBeAbsent(const DesignFileColumn& column) {
  return column.oldLayout == OldLayout::Optional || column.oldLayout == OldLayout::HeatUp;
}

bool NeedsHeatUpColumns(const DesignRecords& records) {
  for (const DesignRecord& r : records) {
    if (r.HeatUpApplication()) return true;
  }
  return false;
}

const std::vector<DesignFileColumn>& DesignFileColumns() {
  static const std::vector<DesignFileColumn> columns = BuildColumns();
  return columns;
}

namespace {

struct CodedColumn {
  std::string_view name;
  int first;
  int lastStandard;
  int lastInternal;
};

// The list lengths of the main window's lists (a test holds them against
// the lists themselves).
constexpr CodedColumn kCodedColumns[] = {
    {"INSTHK", 0, 6, 6},      // seven insulation thicknesses in either unit system
    {"INSTYPE", 0, 7, 7},     // the position plus one of seven insulation types; 0 in a record never filled
    {"PIPESIZE", 0, 18, 18},  // nineteen pipe sizes
    {"NUMPASS", 0, 7, 7},     // one to eight passes
    {"TRACETUB", 0, 3, 3},    // four tube sizes, fewer for some installations
    {"TRACEINS", 0, 3, 4},    // four installations in the standard mode, five in InternalMode
    {"TUBEMAT", 0, 2, 2},     // three tubing materials
    {"TUBEWALL", 0, 2, 2},    // at most three wall thicknesses
    {"APPTYPE", 0, 1, 1},     // "Maintenance", "Heat Up"
    {"UNDER", 0, 1, 1},       // standard or minimal insulation sizing
    {"PRESSURE", 0, 2, 2},    // psig, kPa, bar g
    {"SSFLAG", 0, 2, 2},      // the circuit bill's material option, 2 the highest the design sets
    {"AllowanceIncluded", 0, 1, 1},  // "Yes", "No"
    {"HeatUpProduct", 0, 40, 40},    // forty-one heat-up products
    {"HeatUpPhaseChange", 0, 1, 1},  // the box unticked or ticked
};

}  // namespace

std::optional<CodedRange> CodedColumnRange(std::string_view column, bool internalMode) {
  for (const CodedColumn& c : kCodedColumns) {
    if (c.name == column) return CodedRange{c.first, internalMode ? c.lastInternal : c.lastStandard};
  }
  return std::nullopt;
}

std::string CodedValueProblem(const DesignRecords& records, bool internalMode) {
  for (std::size_t r = 0; r < records.size(); ++r) {
    for (const CodedColumn& c : kCodedColumns) {
      const FieldInfo* field = FindRecordField(c.name);
      if (field == nullptr) continue;
      const double value = FieldNumber(records[r], *field);
      const auto range = *CodedColumnRange(c.name, internalMode);
      if (value >= range.first && value <= range.last && value == std::floor(value)) continue;
      return "record " + std::to_string(r + 1) + ", column " + std::string(c.name) + ": " +
             FieldText(records[r], *field) + " is no entry of its list (" + std::to_string(range.first) +
             " to " + std::to_string(range.last) + ")";
    }
  }
  return {};
}

std::string_view SqlType(ColumnStorage storage) {
  switch (storage) {
    case ColumnStorage::Real:
      return "REAL";
    case ColumnStorage::Integer:
      return "INTEGER";
    case ColumnStorage::Decimals3:
    case ColumnStorage::Text:
    case ColumnStorage::Mode:
    case ColumnStorage::Units:
      return "TEXT";
  }
  return "TEXT";
}

}  // namespace vst
