// The "&Files" commands of the main window without a toolkit: "Open File"
// and "Save File" with their dialogs, messages and the state they leave in
// the design set. The window skin calls them when the main window model asks
// for them (WindowRequest OpenFile / SaveFile), for a recent file, for a file
// named when the program starts, and for the closing prompt.
#pragma once

#include <filesystem>
#include <string>

#include "workspace/file_session.h"
#include "workspace/stmain_model.h"

namespace vst {

// The dialog of each command: titled "OPEN FILE" / "SAVE FILE", starting in
// the session's start folder, filtered to design files or all files, never
// offering the template. Saving adds ".mdb" to a name without a suffix and
// refuses the template before anything else is asked.
FileDialogSpec OpenFileDialogSpec(const FileSession& session);
FileDialogSpec SaveFileDialogSpec(const FileSession& session);

// The refusal shown when the template itself is chosen for saving.
std::string TemplateRefusedMessage(const std::filesystem::path& templatePath);

// Open File: asks for a file and replaces the whole set from it. Cancelling
// changes nothing; a file that cannot be read whole leaves the set, the mode
// and the window as they were and says why (title "Error"). True when the
// set was opened; the session then remembers the file.
bool OpenFileCommand(STmainModel& model, FileSession& session);

// Opens `file` as Open File does once a file was chosen (a recent file, a
// file named on the command line). A file that is gone leaves the recent list.
bool OpenFilePath(STmainModel& model, FileSession& session, const std::filesystem::path& file);

// Save File: asks for a file and writes the whole set into a fresh copy of
// the template stdata.mdb of the program's folder, marked with the program's
// unit system. Cancelling, or a failure
// (which says why, title "Error"), leaves LastSaveFailed set and any earlier
// file untouched. True when the set was saved; the session then remembers
// the file.
bool SaveFileCommand(STmainModel& model, FileSession& session);

// The commands with dialogs that start in the program's folder and remember
// nothing.
void OpenFileCommand(STmainModel& model, const std::filesystem::path& programFolder);
bool SaveFileCommand(STmainModel& model, const std::filesystem::path& programFolder);

}  // namespace vst
