#include "workspace/file_commands.h"

#include "designfile/design_file.h"

namespace vst {
namespace {

FileDialogSpec Spec(const char* title, const std::filesystem::path& programFolder) {
  return FileDialogSpec{title, programFolder.string(), {"Design files (*.mdb)", "All files (*)"}};
}

void ShowError(STmainModel& model, const std::string& text) {
  model.dialogs().message(
      Message{text, std::string(kDesignFileErrorTitle), MsgIcon::Exclamation, MsgButtons::Ok, false});
}

}  // namespace

FileDialogSpec OpenFileDialogSpec(const std::filesystem::path& programFolder) {
  return Spec("OPEN FILE", programFolder);
}

FileDialogSpec SaveFileDialogSpec(const std::filesystem::path& programFolder) {
  return Spec("SAVE FILE", programFolder);
}

void OpenFileCommand(STmainModel& model, const std::filesystem::path& programFolder) {
  const auto path = model.dialogs().openFileName(OpenFileDialogSpec(programFolder));
  if (!path || path->empty()) return;
  const DesignFileContents contents = OpenDesignFile(*path, model.set().records, model.units());
  if (!contents.ok()) {
    ShowError(model, OpenFailedMessage(contents.status));
    return;
  }
  model.applyOpenedSet(contents.records, contents.internalMode);
}

bool SaveFileCommand(STmainModel& model, const std::filesystem::path& programFolder) {
  const auto path = model.dialogs().saveFileName(SaveFileDialogSpec(programFolder));
  if (!path || path->empty()) {
    model.fileSaved(false);
    return false;
  }
  const DesignFileStatus status = WriteDesignFile(*path, TemplatePath(programFolder), model.set().records,
                                                  model.internalMode(), model.units());
  if (!status.ok()) {
    ShowError(model, SaveFailedMessage(status));
    model.fileSaved(false);
    return false;
  }
  model.fileSaved(true);
  return true;
}

}  // namespace vst
