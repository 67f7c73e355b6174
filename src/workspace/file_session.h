// What the "&Files" commands of the main window remember between commands
// and between runs: the folder the dialogs start in, the recent files, and
// the file the set was last opened from or saved to. Toolkit-free; the
// window keeps the history in the desktop's settings store.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace vst {

inline constexpr std::size_t kRecentFileLimit = 8;
// The submenu of the Files menu that lists the recent files.
inline constexpr const char* kRecentFilesCaption = "&Recent Files";

struct FileHistory {
  std::string lastFolder;           // folder of the file last opened or saved; "" none
  std::vector<std::string> recent;  // most recent first, at most kRecentFileLimit, no repeats
};

class FileSession {
 public:
  // programFolder: the program's own folder, which holds the template.
  // documentsFolder: where the dialogs start when no folder was used yet,
  // while it exists; homeFolder where they start otherwise (empty: the
  // documents folder all the same).
  FileSession(std::filesystem::path programFolder, std::filesystem::path documentsFolder,
              FileHistory history = {}, std::filesystem::path homeFolder = {});

  const std::filesystem::path& programFolder() const { return programFolder_; }
  // The folder last used while it still exists, else the documents folder
  // while it exists, else the home folder.
  std::filesystem::path startFolder() const;
  const FileHistory& history() const { return history_; }
  // The file the set was last opened from or saved to; empty before that.
  const std::filesystem::path& currentFile() const { return currentFile_; }

  // A file was opened or saved: it becomes the current file, its folder the
  // start folder, and it moves to the top of the recent files.
  void noteUsed(const std::filesystem::path& file);
  // Drops a file from the recent files (it could not be opened any more).
  void forget(const std::filesystem::path& file);
  // The set no longer comes from a file (a new set).
  void clearCurrentFile() { currentFile_.clear(); }

 private:
  std::filesystem::path programFolder_;
  std::filesystem::path documentsFolder_;
  std::filesystem::path homeFolder_;
  FileHistory history_;
  std::filesystem::path currentFile_;
};

// The file a save writes: the chosen name with ".mdb" added when it has no
// suffix ("set1" -> "set1.mdb"; "set1.db" and "set.v2.mdb" stay).
std::filesystem::path WithDesignSuffix(const std::filesystem::path& chosen);

// A design file named on the command line: a relative name is taken from
// `startFolder`, the folder the program was started in (the start-up window
// later makes the program's own folder the current one).
std::filesystem::path CommandLineFile(const std::string& argument, const std::filesystem::path& startFolder);

}  // namespace vst
