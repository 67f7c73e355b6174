// The titles of the program's message boxes, each written once.
#pragma once

namespace vst {

inline constexpr const char* kInputErrorTitle = "Input Error";  // an input refused
inline constexpr const char* kWarningTitle = "Warning";         // a result or input to look at
inline constexpr const char* kErrorTitle = "Error";             // a command that failed

}  // namespace vst
