// Reading and writing a design file: a SQLite database whose table DATA holds
// the ten records of a design set, one per row in row order, and the program
// mode the set was saved in. Every call opens the database for one
// transaction and closes it again; every failure comes back as a value with
// the reason, for the caller to show. Nothing here talks to the user.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/design_record.h"
#include "core/message_titles.h"

namespace vst {

class OutputFile;

using DesignRecords = std::array<DesignRecord, DesignSet::kRecords>;

// The SQLite header fields of every design file the program writes: the
// application id spells "VST1" (what a desktop type rule matches) and the
// user version is the layout of table DATA. Files of earlier versions carry
// zeros in both and still open; a file with another application id belongs
// to another program and is refused.
inline constexpr std::int32_t kDesignFileApplicationId = 0x56535431;  // "VST1"
inline constexpr int kDesignFileUserVersion = 2;
// The layout of a file that holds heat-up designs: table DATA with the
// heat-up columns added (design_file_columns.h). Earlier versions read such
// a file as one of layout 2, without the heat-up data.
inline constexpr int kDesignFileHeatUpVersion = 3;

// Limits of what opening reads: a larger file, or a longer text in any
// column, is not one the program wrote and is refused as damaged.
inline constexpr std::uintmax_t kMaxDesignFileBytes = 64u * 1024u * 1024u;
inline constexpr int kMaxDesignFileTextBytes = 4096;

enum class DesignFileError {
  None,
  FileMissing,       // no file at the path (or a folder)
  ReadFailed,        // the file is there but could not be read
  NotADesignFile,    // empty, not a database, another program's file, or a value that is not a number
  Damaged,           // SQLite's check finds damage, or a text or the file exceeds its limit
  OtherUnits,        // saved in the other unit system (OpenDesignFile)
  TableMissing,      // no ordinary table DATA
  TooFewRows,        // table DATA holds fewer than ten rows
  ColumnMissing,     // a column of the design file is missing (the reason names it)
  TemplateMissing,   // the template file is not there
  TemplateInvalid,   // the template is not a design file
  TemplateTarget,    // the chosen file is the template itself
  ValueNotWritable,  // a record holds a value that is not a finite number, or a text beyond the limit
  WriteFailed,       // the folder or the file could not be written
};

struct DesignFileStatus {
  DesignFileError code = DesignFileError::None;
  std::string reason;  // one sentence, without a final stop; empty when ok

  bool ok() const { return code == DesignFileError::None; }
};

struct DesignFileContents {
  DesignFileStatus status;
  // The ten records: the file's fields from the file, everything else (the
  // values kept in memory only, the fields whose columns a file of the
  // older layout lacks, see kOldTableColumnLimit, and the heat-up data of a
  // file without their columns) as passed in. Equal to the
  // records passed in when the file could not be read.
  DesignRecords records{};
  bool internalMode = false;  // the file was saved in InternalMode
  // The unit system the file was saved in; none for a file from before the
  // program recorded it (column UnitSystem absent or empty).
  std::optional<UnitSystem> units;

  bool ok() const { return status.ok(); }
};

// Reads the ten records of the design file at `path`. All or nothing: the
// records come back only when all ten rows were read and checked.
// `current` supplies the values that the file does not hold.
// Before reading, the file must be a regular file of at most
// kMaxDesignFileBytes that starts as a database does, with no unfinished
// change of another program beside it (a hot journal, a WAL file holding
// changes), carry no other program's application id, and pass SQLite's
// quick_check (else Damaged, with SQLite's first finding). A file that
// carries the checksum of its records (every file this version saves) must
// match it, else it is refused as "changed outside Vantrel ST or damaged";
// a file without one (earlier versions, other programs) opens as before.
// The file is opened read-only and immutable: nothing is written beside it.
DesignFileContents ReadDesignFile(const std::filesystem::path& path, const DesignRecords& current);

// Opening for a program that runs in `units`: ReadDesignFile, then a file
// saved in the other unit system is refused (OtherUnits; the reason names
// the units to start the program in; a file without the mark opens), and so
// is a file whose list positions or codes lie outside their lists (Damaged;
// the reason names the record and the column).
DesignFileContents OpenDesignFile(const std::filesystem::path& path, const DesignRecords& current,
                                  UnitSystem units);

// The first list position or code of `records` outside its list ("record 3,
// column INSTYPE: 1000000 is no entry of its list (0 to 7)"), or empty. The
// installation list is the one of the program mode of the file.
std::string CodedValueProblem(const DesignRecords& records, bool internalMode);

// Saves the ten records to `target` as a fresh copy of the template with the
// records written in and their checksum beside them, through the program's
// one writer (core/output_file.h): the copy is made in a temporary folder
// beside the target, synchronised to disk and then put in the target's place
// in one rename, so the previous file is replaced only by a complete new one
// (keeping its permissions); after a failure the target is as it was and
// the temporary folder is gone. A link is followed to the file it names; a
// device or FIFO receives the file's bytes. Saving under the template's own
// name is refused. The file records the program mode and the unit system of
// the records, and, when one of them is a heat-up design, the heat-up data
// of all (layout kDesignFileHeatUpVersion). The leftovers of interrupted saves of the same target are
// removed first.
DesignFileStatus WriteDesignFile(const std::filesystem::path& target,
                                 const std::filesystem::path& templatePath, const DesignRecords& records,
                                 bool internalMode, UnitSystem units);

// The two halves of WriteDesignFile, for saves that put several files in
// place together. OpenDesignOutput opens `out` for `target` (refused: no
// name, a folder, the template itself). WriteDesignContents writes a
// complete design file at `contents`, a new name in a private temporary
// folder (OutputFile::contentsPath or a TemporaryFolder of the caller's).
DesignFileStatus OpenDesignOutput(OutputFile& out, const std::filesystem::path& target,
                                  const std::filesystem::path& templatePath);
DesignFileStatus WriteDesignContents(const std::filesystem::path& contents,
                                     const std::filesystem::path& templatePath, const DesignRecords& records,
                                     bool internalMode, UnitSystem units);

// Creates the template at `path` (replacing a file there): table DATA with its
// columns and ten rows of zeros and empty texts.
DesignFileStatus CreateDesignTemplate(const std::filesystem::path& path);

// The template file in the program's folder: <programFolder>/stdata.mdb.
std::filesystem::path TemplatePath(const std::filesystem::path& programFolder);

// The message boxes a caller shows for a failed command, titled "Error":
// "The file was not saved: <reason>." and "The file was not opened: <reason>."
inline constexpr std::string_view kDesignFileErrorTitle = kErrorTitle;
std::string SaveFailedMessage(const DesignFileStatus& status);
std::string OpenFailedMessage(const DesignFileStatus& status);

}  // namespace vst
