#include "workspace/program_files.h"

#include <algorithm>
#include <system_error>

#include "designfile/design_file_columns.h"
#include "docs/app_panels.h"
#include "docs/documents.h"
#include "docs/help_book.h"

namespace vst {

std::vector<std::string> ProgramFiles() {
  std::vector<std::string> files{std::string(kTemplateFileName), kInternalHelpFile, kStandardHelpFile};
  const auto add = [&files](const std::string& name) {
    if (std::find(files.begin(), files.end(), name) == files.end()) files.push_back(name);
  };
  for (const AppPanel& panel : AppPanels()) {
    if (!panel.picture.empty()) add(std::string(panel.picture));
  }
  // The documents the build writes; a document it does not ship is reported
  // by its own menu command.
  add(kDocumentFolder);
  return files;
}

std::vector<std::string> MissingProgramFiles(const std::filesystem::path& programFolder) {
  std::vector<std::string> missing;
  for (const std::string& name : ProgramFiles()) {
    std::error_code ec;
    if (!std::filesystem::exists(programFolder / name, ec)) missing.push_back(name);
  }
  return missing;
}

}  // namespace vst
