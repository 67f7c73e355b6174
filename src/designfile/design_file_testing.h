// A hook for tests that interrupt a save at each of its steps. Not for
// program code: production builds never set it.
#pragma once

#include <functional>
#include <string_view>

namespace vst {

enum class SaveStep {
  CreateCopy,        // create the temporary file beside the target
  CopyTemplate,      // copy the template's bytes into it
  OpenCopy,          // open the copy as a database
  BeginTransaction,  // start the one transaction of the save
  WriteRow,          // write one record into its row (row 0..9)
  WriteChecksum,     // store the checksum of the rows
  Commit,            // end the transaction
  CloseCopy,         // close the database
  SyncCopy,          // flush the copy to disk
  Replace,           // rename the copy onto the target
  SyncFolder,        // flush the folder entry of the rename
};

std::string_view SaveStepName(SaveStep step);

// Called before each step with the step and the row (0 unless WriteRow);
// returning false makes that step fail as an input/output error would.
// Pass an empty function to remove the hook.
void SetSaveStepHookForTesting(std::function<bool(SaveStep step, int row)> hook);

}  // namespace vst
