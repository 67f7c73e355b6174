#include "workspace/file_session.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace vst {
namespace {

namespace fs = std::filesystem;

// One spelling per file, so the recent list holds no repeats.
std::string Normal(const fs::path& file) {
  std::error_code ec;
  fs::path absolute = fs::absolute(file, ec);
  if (ec) absolute = file;
  return absolute.lexically_normal().string();
}

}  // namespace

FileSession::FileSession(fs::path programFolder, fs::path documentsFolder, FileHistory history,
                         fs::path homeFolder)
    : programFolder_(std::move(programFolder)),
      documentsFolder_(std::move(documentsFolder)),
      homeFolder_(std::move(homeFolder)),
      history_(std::move(history)) {
  // A settings store edited by hand may hold repeats, empty entries or more
  // than the list keeps.
  std::vector<std::string> recent;
  for (const std::string& file : history_.recent) {
    if (file.empty()) continue;
    const std::string normal = Normal(file);
    if (std::find(recent.begin(), recent.end(), normal) == recent.end()) recent.push_back(normal);
    if (recent.size() == kRecentFileLimit) break;
  }
  history_.recent = std::move(recent);
}

fs::path FileSession::startFolder() const {
  std::error_code ec;
  if (!history_.lastFolder.empty() && fs::is_directory(history_.lastFolder, ec)) return history_.lastFolder;
  // A dialog given a folder that is not there would take its last part for
  // the file name.
  if (homeFolder_.empty() || fs::is_directory(documentsFolder_, ec)) return documentsFolder_;
  return homeFolder_;
}

void FileSession::noteUsed(const fs::path& file) {
  const std::string normal = Normal(file);
  currentFile_ = normal;
  history_.lastFolder = fs::path(normal).parent_path().string();
  forget(normal);
  history_.recent.insert(history_.recent.begin(), normal);
  if (history_.recent.size() > kRecentFileLimit) history_.recent.resize(kRecentFileLimit);
}

void FileSession::forget(const fs::path& file) {
  const std::string normal = Normal(file);
  history_.recent.erase(std::remove(history_.recent.begin(), history_.recent.end(), normal),
                        history_.recent.end());
}

fs::path CommandLineFile(const std::string& argument, const fs::path& startFolder) {
  if (argument.empty()) return {};
  const fs::path named(argument);
  return (named.is_absolute() ? named : startFolder / named).lexically_normal();
}

fs::path WithDesignSuffix(const fs::path& chosen) {
  if (chosen.empty() || chosen.has_extension()) return chosen;
  fs::path named = chosen;
  named += ".mdb";
  return named;
}

}  // namespace vst
