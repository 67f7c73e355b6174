// Reading and writing a design file: a SQLite database whose table DATA holds
// the ten records of a design set, one per row in row order, and the program
// mode the set was saved in. Every call opens the database for one
// transaction and closes it again; every failure comes back as a value with
// the reason, for the caller to show. Nothing here talks to the user.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/design_record.h"

namespace vst {

using DesignRecords = std::array<DesignRecord, DesignSet::kRecords>;

enum class DesignFileError {
  None,
  FileMissing,       // no file at the path (or a folder)
  ReadFailed,        // the file is there but could not be read
  NotADesignFile,    // empty, not a database, or a value that is not a number
  TableMissing,      // no ordinary table DATA
  TooFewRows,        // table DATA holds fewer than ten rows
  ColumnMissing,     // a column of the design file is missing (the reason names it)
  TemplateMissing,   // the template file is not there
  TemplateInvalid,   // the template is not a design file
  TemplateTarget,    // the chosen file is the template itself
  ValueNotWritable,  // a record holds a value that is not a finite number
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
  // values kept in memory only, and the fields whose columns a file of the
  // older layout lacks, see kOldTableColumnLimit) as passed in. Equal to the
  // records passed in when the file could not be read.
  DesignRecords records{};
  bool internalMode = false;  // the file was saved in InternalMode

  bool ok() const { return status.ok(); }
};

// Reads the ten records of the design file at `path`. All or nothing: the
// records come back only when all ten rows were read and checked.
// `current` supplies the values that the file does not hold.
DesignFileContents ReadDesignFile(const std::filesystem::path& path, const DesignRecords& current);

// Saves the ten records to `target` as a fresh copy of the template with the
// records written in. The copy is made beside the target under a temporary
// name, synchronised to disk and then put in the target's place in one
// rename, so the previous file is replaced only by a complete new one; after
// a failure the target is as it was and the temporary copy is gone.
// Saving under the template's own name is refused.
DesignFileStatus WriteDesignFile(const std::filesystem::path& target,
                                 const std::filesystem::path& templatePath, const DesignRecords& records,
                                 bool internalMode);

// Creates the template at `path` (replacing a file there): table DATA with its
// columns and ten rows of zeros and empty texts.
DesignFileStatus CreateDesignTemplate(const std::filesystem::path& path);

// The template file in the program's folder: <programFolder>/stdata.mdb.
std::filesystem::path TemplatePath(const std::filesystem::path& programFolder);

// The message boxes a caller shows for a failed command, titled "Error":
// "The file was not saved: <reason>." and "The file was not opened: <reason>."
inline constexpr std::string_view kDesignFileErrorTitle = "Error";
std::string SaveFailedMessage(const DesignFileStatus& status);
std::string OpenFailedMessage(const DesignFileStatus& status);

}  // namespace vst
