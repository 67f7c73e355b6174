// Opening the maker's product documents (docs/documents.h) with the
// desktop's viewer, and the messages when a document or a help book
// (docs/help_book.h) cannot be shown.
#pragma once

#include <filesystem>
#include <string_view>

#include "docs/documents.h"
#include "docs/help_book.h"
#include "workspace/dialogs.h"

namespace vst {

// What the desktop did with a request to open a file.
enum class LaunchResult {
  Opened,         // a viewer was started for it
  NoApplication,  // no program is registered for the file's type
  Failed,         // the viewer could not be started
};

// Opens a file with the desktop's default program for its type. The desktop
// program implements it; tests record the paths asked for.
class DocumentLauncher {
 public:
  virtual ~DocumentLauncher() = default;
  virtual LaunchResult open(const std::filesystem::path& file) = 0;
};

// The message shown for a failure: the title and the text of
// DocumentProblem, an exclamation icon and an OK button. Not used for Opened.
Message DocumentMessage(DocumentOutcome outcome, const std::filesystem::path& file);

// Opens document `fileName` from the "PDF Files" folder of `programFolder`.
// A missing folder or file gives the "Path Error" message without asking the
// desktop; a launch that fails gives "Application Missing" or "Error". Every
// message has an OK button; the program carries on.
DocumentOutcome OpenDocument(const std::filesystem::path& programFolder, std::string_view fileName,
                             DocumentLauncher& launcher, Dialogs& dialogs);

// The message naming the book that is missing or cannot be read.
Message HelpFileMessage(HelpFileProblem problem, const std::filesystem::path& book);

}  // namespace vst
