#include "workspace/program_files.h"

#include <algorithm>
#include <system_error>

#include "designfile/design_file_columns.h"
#include "docs/app_panels.h"

namespace vst {

std::vector<std::string> ProgramFiles() {
  std::vector<std::string> files{std::string(kTemplateFileName)};
  for (const AppPanel& panel : AppPanels()) {
    if (panel.picture.empty()) continue;
    const std::string picture(panel.picture);
    if (std::find(files.begin(), files.end(), picture) == files.end()) files.push_back(picture);
  }
  return files;
}

std::vector<std::string> MissingProgramFiles(const std::filesystem::path& programFolder) {
  std::vector<std::string> missing;
  for (const std::string& name : ProgramFiles()) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(programFolder / name, ec)) missing.push_back(name);
  }
  return missing;
}

}  // namespace vst
