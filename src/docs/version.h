// The version label of the about box, also shown in the main window caption.
#pragma once

namespace vst {

inline constexpr const char* kVersionLabel = "Version 3.0.1";

}  // namespace vst
