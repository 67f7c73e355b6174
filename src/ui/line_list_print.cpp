// The Line List window's printout: File > Print (Ctrl+P) through the printer
// dialog, and File > Save as PDF, both drawn by the page painter of the bills
// from the list's page layout (landscape, headings on every page).
#include <QPrinter>
#include <ctime>

#include "core/output_file.h"
#include "ui/line_list_window.h"
#include "ui/page_painter.h"
#include "ui/pdf_output.h"
#include "ui/printing.h"
#include "workspace/dialogs.h"
#include "workspace/line_list_printout.h"

namespace vst::ui {

void LineList::print() {
  PrintWithDialog(this, dialogs_, model_->options().units, [this](QPrinter& printer) {
    const PageDescription page = LineListPrintout(*model_, std::time(nullptr));
    printer.setDocName(QString::fromStdString(page.title));
    return PaintPages(page, printer);
  });
}

void LineList::savePdf() {
  auto chosen = dialogs_.saveFileName(model_->saveDialog(LineListModel::SaveKind::Pdf));
  if (!chosen || chosen->empty()) return;
  const std::string problem = [&]() -> std::string {
    std::string pdf;
    const std::string painted =
        PdfBytes(LineListPrintout(*model_, std::time(nullptr)), SessionPaper(model_->options().units), pdf);
    if (!painted.empty()) return painted;
    // Through the program's one writer: an earlier file is replaced only whole.
    OutputFile out;
    if (!out.open(*chosen)) return out.reason();
    out.write(pdf);
    if (!out.commit()) return out.reason();
    return {};
  }();
  if (auto failed = LineListModel::SaveFailed(LineListModel::SaveKind::Pdf, *chosen, problem))
    dialogs_.message(*failed);
}

}  // namespace vst::ui
