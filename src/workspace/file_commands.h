// The "&Files" commands of the main window without a toolkit: "New File",
// "Open File", "Save File" and "Save File As..." with their dialogs,
// messages and the state they leave in the design set. The window skin calls
// them when the main window model asks for them (WindowRequest NewSet,
// OpenFile, SaveFile, SaveFileAs), for a recent file, for a file named when
// the program starts, and for the closing prompt. Every command that
// replaces the set first asks the closing prompt's question when the set
// has unsaved changes.
#pragma once

#include <filesystem>
#include <string>

#include "workspace/file_session.h"
#include "workspace/stmain_model.h"

namespace vst {

// The dialog of each command: titled "OPEN FILE" / "SAVE FILE", starting in
// the session's start folder, filtered to design files or all files, never
// offering the template. Saving proposes the name of the set's file, adds
// ".mdb" to a name without a suffix and refuses the template before anything
// else is asked.
FileDialogSpec OpenFileDialogSpec(const FileSession& session);
FileDialogSpec SaveFileDialogSpec(const FileSession& session);

// The refusal shown when the template itself is chosen for saving.
std::string TemplateRefusedMessage(const std::filesystem::path& templatePath);

// The closing prompt's question (STmainModel::queryUnsavedChanges) with
// Save File as its save. True when the set may be closed or replaced.
bool QueryUnsavedChanges(STmainModel& model, FileSession& session);

// New File: after the question, an empty set that comes from no file.
bool NewSetCommand(STmainModel& model, FileSession& session);

// Open File: after the question, asks for a file and replaces the whole set
// from it. Cancelling changes nothing; a file that cannot be read whole
// leaves the set, the mode and the window as they were and says why (title
// "Error"). True when the set was opened; the session then remembers the
// file.
bool OpenFileCommand(STmainModel& model, FileSession& session);

// A recent file: after the question, opened as OpenFilePath opens it.
bool OpenRecentFile(STmainModel& model, FileSession& session, const std::filesystem::path& file);

// Opens `file` as Open File does once a file was chosen (a file named on the
// command line), without the question. A file that is gone leaves the recent
// list.
bool OpenFilePath(STmainModel& model, FileSession& session, const std::filesystem::path& file);

// Save File: writes the set to the file it was opened from or last saved to,
// with the checks of Save File As; a set that comes from no file is saved as
// Save File As saves it.
bool SaveFileCommand(STmainModel& model, FileSession& session);

// Save File As: asks for a file and writes the whole set into a fresh copy
// of the template stdata.mdb of the program's folder, marked with the
// program's unit system. Cancelling, or a failure (which says why, title
// "Error"), leaves LastSaveFailed set and any earlier file untouched. True
// when the set was saved; the session then remembers the file.
bool SaveFileAsCommand(STmainModel& model, FileSession& session);

// The commands with dialogs that start in the program's folder and remember
// nothing.
void OpenFileCommand(STmainModel& model, const std::filesystem::path& programFolder);
bool SaveFileCommand(STmainModel& model, const std::filesystem::path& programFolder);

}  // namespace vst
