#include "designfile/design_file_columns.h"

namespace vst {

namespace {

// The condensate load is kept as the text the window shows ("0.000").
constexpr std::string_view kThreeDecimalColumn = "COND";

OldLayout OldLayoutOf(std::string_view name) {
  if (name == "UNDER" || name == "PRESSURE" || name == "TBAND") return OldLayout::Skipped;
  if (name == "TUBEMAT" || name == "TUBEWALL" || name == "APPTYPE") return OldLayout::IfPresent;
  return OldLayout::Required;
}

std::vector<DesignFileColumn> BuildColumns() {
  std::vector<DesignFileColumn> columns;
  for (const FieldInfo& f : RecordFields()) {
    if (!f.inFile) continue;
    ColumnStorage storage = ColumnStorage::Text;
    switch (f.kind) {
      case FieldKind::Real:
        storage = f.name == kThreeDecimalColumn ? ColumnStorage::Decimals3 : ColumnStorage::Real;
        break;
      case FieldKind::Integer:
      case FieldKind::Flag:
        storage = ColumnStorage::Integer;
        break;
      case FieldKind::Text:
        storage = ColumnStorage::Text;
        break;
    }
    columns.push_back({f.name, storage, &f, OldLayoutOf(f.name)});
  }
  columns.push_back({kModeColumn, ColumnStorage::Mode, nullptr, OldLayout::Required});
  columns.push_back({kUnitsColumn, ColumnStorage::Units, nullptr, OldLayout::Optional});
  return columns;
}

}  // namespace

const std::vector<DesignFileColumn>& DesignFileColumns() {
  static const std::vector<DesignFileColumn> columns = BuildColumns();
  return columns;
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
