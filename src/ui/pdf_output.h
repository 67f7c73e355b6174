// The printouts of vantrel-design as PDF bytes, rendered without a display;
// the command writes them like every other output.
#pragma once

#include <string>

#include "reports/page_description.h"

namespace vst::ui {

// The printout on `paper` painted into the bytes of a PDF file (an
// application must exist). Returns an empty text or the reason.
std::string PdfBytes(const PageDescription& page, Paper paper, std::string& pdf);

// The printout on `paper` as the bytes of a PDF file, for a program without a window:
// creates an application on the offscreen platform when none exists yet (it
// lives until the program ends). Qt's own diagnostics (such as the missing
// runtime folder) are kept off the program's output. Returns an empty text
// or the reason.
std::string RenderPdfWithoutDisplay(const PageDescription& page, Paper paper, std::string& pdf);

}  // namespace vst::ui
