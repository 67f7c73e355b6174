#include "workspace/document_messages.h"

#include <string>
#include <system_error>
#include <utility>

#include "core/message_titles.h"

namespace vst {

Message DocumentMessage(DocumentOutcome outcome, const std::filesystem::path& file) {
  DocumentProblemText problem = DocumentProblem(outcome, file);
  Message m;
  m.icon = MsgIcon::Exclamation;
  m.title = std::move(problem.title);
  m.text = std::move(problem.text);
  return m;
}

DocumentOutcome OpenDocument(const std::filesystem::path& programFolder, std::string_view fileName,
                             DocumentLauncher& launcher, Dialogs& dialogs) {
  const std::filesystem::path folder = programFolder / kDocumentFolder;
  const std::filesystem::path file = folder / std::string(fileName);
  std::error_code ec;
  DocumentOutcome outcome = DocumentOutcome::Opened;
  if (!std::filesystem::is_directory(folder, ec) || !std::filesystem::is_regular_file(file, ec)) {
    outcome = DocumentOutcome::PathError;
  } else {
    switch (launcher.open(file)) {
      case LaunchResult::Opened:
        break;
      case LaunchResult::NoApplication:
        outcome = DocumentOutcome::ApplicationMissing;
        break;
      case LaunchResult::Failed:
        outcome = DocumentOutcome::Error;
        break;
    }
  }
  if (outcome != DocumentOutcome::Opened) dialogs.message(DocumentMessage(outcome, file));
  return outcome;
}

Message HelpFileMessage(HelpFileProblem problem, const std::filesystem::path& book) {
  Message m;
  m.title = kErrorTitle;
  m.icon = MsgIcon::Exclamation;
  m.text = HelpFileProblemText(problem, book);
  return m;
}

}  // namespace vst
