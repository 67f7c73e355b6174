// A hook for tests that make the last steps of an output fail. Not for
// program code: production builds never set it.
#pragma once

#include <functional>

namespace vst {

enum class OutputStep {
  Sync,        // flush the new contents to disk
  Replace,     // rename them onto the target
  SyncFolder,  // flush the folder entry of the rename
};

// Called before each step; a non-zero return is taken as the errno value
// of that step's failure. Pass an empty function to remove the hook.
void SetOutputStepHookForTesting(std::function<int(OutputStep step)> hook);

}  // namespace vst
