#include "workspace/file_commands.h"

#include <system_error>

#include "designfile/design_file.h"

namespace vst {
namespace {

namespace fs = std::filesystem;

FileDialogSpec Spec(const char* title, const FileSession& session) {
  FileDialogSpec spec;
  spec.title = title;
  spec.startFolder = session.startFolder().string();
  spec.filters = {"Design files (*.mdb)", "All files (*)"};
  const fs::path templatePath = TemplatePath(session.programFolder());
  spec.refusedFile = templatePath.string();
  spec.refusedMessage = TemplateRefusedMessage(templatePath);
  return spec;
}

void ShowError(STmainModel& model, const std::string& text) {
  model.dialogs().message(
      Message{text, std::string(kDesignFileErrorTitle), MsgIcon::Exclamation, MsgButtons::Ok, false});
}

}  // namespace

FileDialogSpec OpenFileDialogSpec(const FileSession& session) { return Spec("OPEN FILE", session); }

FileDialogSpec SaveFileDialogSpec(const FileSession& session) {
  FileDialogSpec spec = Spec("SAVE FILE", session);
  spec.defaultSuffix = "mdb";
  spec.fileName = session.currentFile().filename().string();
  return spec;
}

std::string TemplateRefusedMessage(const fs::path& templatePath) {
  return templatePath.string() +
         " is the program's template and cannot be overwritten. Choose another file name.";
}

bool QueryUnsavedChanges(STmainModel& model, FileSession& session) {
  return model.queryUnsavedChanges([&model, &session] { SaveFileCommand(model, session); });
}

bool NewSetCommand(STmainModel& model, FileSession& session) {
  if (!QueryUnsavedChanges(model, session) || !model.startNewSet()) return false;
  session.clearCurrentFile();
  return true;
}

bool OpenFileCommand(STmainModel& model, FileSession& session) {
  if (!QueryUnsavedChanges(model, session)) return false;
  const auto path = model.dialogs().openFileName(OpenFileDialogSpec(session));
  if (!path || path->empty()) return false;
  return OpenFilePath(model, session, *path);
}

bool OpenRecentFile(STmainModel& model, FileSession& session, const fs::path& file) {
  if (!QueryUnsavedChanges(model, session)) return false;
  return OpenFilePath(model, session, file);
}

bool OpenFilePath(STmainModel& model, FileSession& session, const fs::path& file) {
  const DesignFileContents contents = OpenDesignFile(file, model.set().records, model.units());
  if (!contents.ok()) {
    ShowError(model, OpenFailedMessage(contents.status));
    std::error_code ec;
    if (!fs::exists(file, ec)) session.forget(file);
    return false;
  }
  model.applyOpenedSet(contents.records, contents.internalMode);
  session.noteUsed(file);
  return true;
}

namespace {

bool SaveTo(STmainModel& model, FileSession& session, const fs::path& path) {
  const DesignFileStatus status = WriteDesignFile(path, TemplatePath(session.programFolder()),
                                                  model.set().records, model.internalMode(), model.units());
  if (!status.ok()) {
    ShowError(model, SaveFailedMessage(status));
    model.fileSaved(false);
    return false;
  }
  model.fileSaved(true);
  session.noteUsed(path);
  return true;
}

}  // namespace

bool SaveFileCommand(STmainModel& model, FileSession& session) {
  if (session.currentFile().empty()) return SaveFileAsCommand(model, session);
  return SaveTo(model, session, session.currentFile());
}

bool SaveFileAsCommand(STmainModel& model, FileSession& session) {
  const auto chosen = model.dialogs().saveFileName(SaveFileDialogSpec(session));
  if (!chosen || chosen->empty()) {
    model.fileSaved(false);
    return false;
  }
  return SaveTo(model, session, WithDesignSuffix(*chosen));
}

void OpenFileCommand(STmainModel& model, const fs::path& programFolder) {
  FileSession session(programFolder, programFolder);
  OpenFileCommand(model, session);
}

bool SaveFileCommand(STmainModel& model, const fs::path& programFolder) {
  FileSession session(programFolder, programFolder);
  return SaveFileCommand(model, session);
}

}  // namespace vst
