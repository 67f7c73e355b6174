// The "&Files" commands of the main window without a toolkit: "Open File"
// and "Save File" with their dialogs, messages and the state they leave in
// the design set. The window skin calls them when the main window model asks
// for them (WindowRequest OpenFile / SaveFile) and for the closing prompt.
#pragma once

#include <filesystem>

#include "workspace/stmain_model.h"

namespace vst {

// The dialog of each command: titled "OPEN FILE" / "SAVE FILE", starting in
// the program's folder, filtered to design files or all files.
FileDialogSpec OpenFileDialogSpec(const std::filesystem::path& programFolder);
FileDialogSpec SaveFileDialogSpec(const std::filesystem::path& programFolder);

// Open File: asks for a file and replaces the whole set from it. Cancelling
// changes nothing; a file that cannot be read whole, or one saved in the
// other unit system, leaves the set, the mode and the window as they were
// and says why (title "Error").
void OpenFileCommand(STmainModel& model, const std::filesystem::path& programFolder);

// Save File: asks for a file and writes the whole set into a fresh copy of
// the template stdata.mdb of the program's folder, marked with the program's
// unit system. Cancelling, or a failure
// (which says why, title "Error"), leaves LastSaveFailed set and any earlier
// file untouched. True when the set was saved.
bool SaveFileCommand(STmainModel& model, const std::filesystem::path& programFolder);

}  // namespace vst
