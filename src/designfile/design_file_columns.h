// The columns of the design file's table DATA: one per record field that the
// file holds, plus WtraceVersion, the program mode the file was saved in, and
// UnitSystem, the unit system of its values; the allowance answers
// (AllowanceIncluded, ShoeAllowance) follow, and the heat-up data come last.
// Readers of earlier versions select their columns by name and pass over the
// columns they do not know.
// This list is the only place the file's layout is written down; the
// template, reading and writing all follow it.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "designfile/design_file.h"

namespace vst {

inline constexpr std::string_view kDataTable = "DATA";
inline constexpr std::string_view kModeColumn = "WtraceVersion";
inline constexpr std::string_view kUnitsColumn = "UnitSystem";
inline constexpr std::string_view kTemplateFileName = "stdata.mdb";
inline constexpr int kFileRecords = DesignSet::kRecords;

// The table beside DATA that holds the checksum of its records (columns
// METHOD and SUM, one row), and the method this version writes and checks.
inline constexpr std::string_view kChecksumTable = "DATACHECK";
inline constexpr std::string_view kChecksumMethod = "fnv1a64";

// Files whose table has this many columns or fewer have the older layout:
// they come from before the columns UNDER, PRESSURE and TBAND existed and are
// read and written without those three, and they may also lack the later
// TUBEMAT, TUBEWALL and APPTYPE. A field whose column is left out keeps the
// value it has in memory when such a file is opened.
inline constexpr int kOldTableColumnLimit = 45;

// How a column holds its value.
enum class ColumnStorage {
  Real,       // REAL: the single-precision value of the record field
  Integer,    // INTEGER: a list position or code
  Decimals3,  // TEXT with three decimals ("0.123"), read back as the number
  Text,       // TEXT
  Mode,       // TEXT "T" (internal mode) or "F"
  Units,      // TEXT "F" (English units) or "C" (Metric units)
};

// How a table of the older layout treats a column.
enum class OldLayout {
  Required,   // always there
  Skipped,    // never read or written (UNDER, PRESSURE, TBAND)
  IfPresent,  // read and written when the table has it
  Optional,   // in every layout read and written when the table has it (the
              // unit system and the allowance answers, which files of earlier
              // versions lack)
  HeatUp,     // not in the template: a save adds it when a record holds a
              // heat-up design (kDesignFileHeatUpVersion), and it is read
              // when the table has it
};

struct DesignFileColumn {
  std::string_view name;
  ColumnStorage storage;
  const FieldInfo* field;  // the record field; nullptr for WtraceVersion
  OldLayout oldLayout;
};

// A column that a table may lack (Optional and HeatUp): its field then
// keeps the value it has in memory.
bool MayBeAbsent(const DesignFileColumn& column);

// Whether a save of `records` adds the HeatUp columns: one of them holds a
// heat-up design. A set of maintenance designs is saved in the layout the
// template has.
bool NeedsHeatUpColumns(const DesignRecords& records);

// Every column: the 54 the template defines, in its order, then the nine
// HeatUp columns.
const std::vector<DesignFileColumn>& DesignFileColumns();

// The SQL type the template gives a column.
std::string_view SqlType(ColumnStorage storage);

// The values a column holding a list position or a code may take, first to
// last: the positions of its list in the main window (the installation list
// of the program mode the file was saved in, the longest of the lists that
// depend on other choices), or the codes it stands for. Nothing for the
// other columns.
struct CodedRange {
  int first;
  int last;
};
std::optional<CodedRange> CodedColumnRange(std::string_view column, bool internalMode);

}  // namespace vst
