// The texts of the about box `AboutForm` and of the start-up window
// `About_Form`: the names of the program, its brand and its maker, and the
// legal warnings. The window models are workspace/about_windows.h.
#pragma once

namespace vst {

// The maker and the program as the small windows name them.
inline constexpr const char* kProgramName = "Vantrel";
inline constexpr const char* kBrandName = "Vaporix";
inline constexpr const char* kMakerName = "Quorvex";
// The title messages get when a rule says "the program's title".
inline constexpr const char* kProgramTitle = "Vantrel ST";

// The about box's legal warning.
inline constexpr const char* kLegalWarning =
    "Warning: This computer program is protected by copyright law and international treaties. "
    "Unauthorized reproduction or distribution of this program, or any portion of it, may result in "
    "severe civil and criminal penalties, and will be prosecuted to the maximum extent possible under "
    "the law.";

// The start-up window's short legal warning.
inline constexpr const char* kShortLegalWarning =
    "This program is protected by copyright law and international treaties.";

}  // namespace vst
