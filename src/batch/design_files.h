// Designed records into design files of ten: NAME.mdb when ten records or
// fewer are saved, otherwise NAME-1.mdb, NAME-2.mdb, ... in the order the
// records come. Each file is written whole into one temporary folder as its
// ten records arrive, so a long list needs the memory of ten records; none
// replaces a file until finish() hands the files to the caller, who puts
// them in place together with its other outputs (CommitTogether), so a
// failed or cancelled save replaces none. The line-list command (--save)
// and the Line List window save through this one writer.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/design_record.h"
#include "core/output_file.h"
#include "designfile/design_file.h"

namespace vst {

class DesignFilesOfTen {
 public:
  // A file written: its name and the rows (as the caller numbers them) its
  // records hold, in record order.
  struct File {
    std::string name;
    std::vector<int> rows;
  };

  DesignFilesOfTen(std::string target, std::filesystem::path templatePath, bool internalMode,
                   UnitSystem units);

  // The name of file `number` of a save to `target`: the target itself for
  // 0 (the one file of ten records or fewer), else NAME-number.ext beside it.
  static std::string FileName(const std::string& target, int number);

  // Creates the temporary folder beside the target. False when it cannot
  // be; failedName() and reason() say why.
  bool begin();
  // Takes the record of row `row`; writes a file when it is the eleventh
  // since the last. False when a file cannot be written.
  bool add(const DesignRecord& record, int row);
  // No record was taken.
  bool empty() const { return count_ == 0 && files_.empty(); }
  // Writes the last file and opens an output for every file, its finished
  // file as the new contents, for the caller to commit. False when a file
  // cannot be written; nothing has replaced anything then.
  bool finish(std::vector<std::unique_ptr<OutputFile>>& outputs);

  const std::vector<File>& files() const { return files_; }
  // The file a failure is about, and why it failed.
  const std::string& failedName() const { return failedName_; }
  const std::string& reason() const { return reason_; }

 private:
  bool refused(const std::string& name, const std::string& reason);
  bool writeFile(int number);

  std::string target_;
  std::filesystem::path template_;
  bool internalMode_;
  UnitSystem units_;
  TemporaryFolder folder_;
  DesignRecords records_{};
  std::vector<int> rows_;
  std::vector<File> files_;
  int count_ = 0;  // records taken since the last file was written
  int numbered_ = 0;
  std::string failedName_;
  std::string reason_;
};

}  // namespace vst
