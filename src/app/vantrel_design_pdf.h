// The PDF printouts of vantrel-design live in a module of their own,
// vantrel-design-pdf.so beside the program, which the program loads on its
// first printout: the module links Qt, the program does not, so commands that
// print no PDF start without loading Qt.
#pragma once

#include <string>

#include "reports/page_description.h"

namespace vst {

// What the module hands out. The program passes its pages to the module as
// objects of its own build, so it takes only a module of its own version.
struct PdfModuleRenderer {
  const char* version;  // the project version the module was built as
  // Draws `page` on `paper` as the bytes of a PDF file; an empty text or the reason.
  std::string (*render)(const PageDescription& page, Paper paper, std::string& pdf);
};

}  // namespace vst

// The one function the module exports, found by this name.
inline constexpr char kPdfModuleEntry[] = "vantrel_design_pdf_renderer";
extern "C" const vst::PdfModuleRenderer* vantrel_design_pdf_renderer();
