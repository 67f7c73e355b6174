// Opens a product document with the desktop's default program for its type
// (QDesktopServices; the path goes to the desktop as one file URL, never
// through a shell). Before asking, it looks up whether any program is
// registered for the type (xdg-mime), so "no program" and "the program
// failed" get their own messages.
#pragma once

#include "workspace/document_messages.h"

namespace vst::ui {

class QtDocumentLauncher : public DocumentLauncher {
 public:
  LaunchResult open(const std::filesystem::path& file) override;
};

}  // namespace vst::ui
