#include "batch/design_files.h"

#include <utility>

#include "core/quoted_value.h"

namespace vst {

DesignFilesOfTen::DesignFilesOfTen(std::string target, std::filesystem::path templatePath, bool internalMode,
                                   UnitSystem units)
    : target_(std::move(target)),
      template_(std::move(templatePath)),
      internalMode_(internalMode),
      units_(units) {}

std::string DesignFilesOfTen::FileName(const std::string& target, int number) {
  if (number == 0) return target;
  const std::filesystem::path p(target);
  return (p.parent_path() / (p.stem().string() + "-" + std::to_string(number) + p.extension().string()))
      .string();
}

bool DesignFilesOfTen::begin() {
  const std::filesystem::path name(target_);
  if (name.filename().empty()) return refused(target_, "no file name was given");
  std::error_code ec;
  const auto st = std::filesystem::status(name, ec);
  const bool special = !ec && std::filesystem::exists(st) && !std::filesystem::is_regular_file(st) &&
                       !std::filesystem::is_directory(st);
  // A device or FIFO gets its file copied in: its temporary goes where the
  // system keeps temporary files, not beside it.
  std::filesystem::path folder = name.parent_path().empty() ? std::filesystem::path(".") : name.parent_path();
  if (special) folder = SystemTemporaryFolder();
  if (const int e = folder_.create(folder, name.filename().string()); e != 0) {
    return refused(target_, "the folder " + ShownName(folder.string()) + " cannot be written (" +
                                FileErrorText(e) + ")");
  }
  return true;
}

bool DesignFilesOfTen::add(const DesignRecord& record, int row) {
  if (count_ == DesignSet::kRecords && !writeFile(++numbered_)) return false;
  records_[static_cast<std::size_t>(count_++)] = record;
  rows_.push_back(row);
  return true;
}

bool DesignFilesOfTen::finish(std::vector<std::unique_ptr<OutputFile>>& outputs) {
  if (count_ > 0 && !writeFile(numbered_ == 0 ? 0 : ++numbered_)) return false;
  for (const File& f : files_) {
    outputs.push_back(std::make_unique<OutputFile>());
    OutputFile& out = *outputs.back();
    if (const auto status = OpenDesignOutput(out, f.name, template_); !status.ok())
      return refused(f.name, status.reason);
    if (!out.adopt(folder_.path() / std::filesystem::path(f.name).filename()))
      return refused(f.name, out.reason());
  }
  return true;
}

bool DesignFilesOfTen::refused(const std::string& name, const std::string& reason) {
  failedName_ = name;
  reason_ = reason;
  return false;
}

bool DesignFilesOfTen::writeFile(int number) {
  const std::string name = FileName(target_, number);
  const std::filesystem::path contents = folder_.path() / std::filesystem::path(name).filename();
  const auto status = WriteDesignContents(contents, template_, records_, internalMode_, units_);
  if (!status.ok()) return refused(name, status.reason);
  files_.push_back({name, std::move(rows_)});
  records_ = DesignRecords{};
  rows_.clear();
  count_ = 0;
  return true;
}

}  // namespace vst
