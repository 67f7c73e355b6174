// The module of vantrel-design's PDF printouts: the page renderer of the
// windows, drawn without a display.
#include "app/vantrel_design_pdf.h"

#include "ui/pdf_output.h"

#ifndef VST_VERSION
#error "VST_VERSION (the project version) must be defined by the build"
#endif

extern "C" __attribute__((visibility("default"))) const vst::PdfModuleRenderer*
vantrel_design_pdf_renderer() {
  static const vst::PdfModuleRenderer renderer{VST_VERSION, vst::ui::RenderPdfWithoutDisplay};
  return &renderer;
}
