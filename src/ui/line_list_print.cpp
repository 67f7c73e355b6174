// The Line List window's printout: File > Print (Ctrl+P) through the printer
// dialog, and File > Save as PDF, both drawn by the page painter of the bills
// from the list's page layout (landscape, headings on every page).
#include <QBuffer>
#include <QByteArray>
#include <QPrinter>
#include <ctime>
#include <filesystem>

#include "core/output_file.h"
#include "core/quoted_value.h"
#include "ui/line_list_window.h"
#include "ui/page_painter.h"
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
  FileDialogSpec spec;
  spec.title = "Save as PDF";
  const std::filesystem::path list(model_->path());
  spec.startFolder = (list.parent_path() / (list.stem().string() + ".pdf")).string();
  spec.filters = {"PDF documents (*.pdf)", "All files (*)"};
  spec.defaultSuffix = "pdf";
  spec.refusedFile = model_->path();
  spec.refusedMessage = "The printout cannot replace the line list itself. Choose another name.";
  auto chosen = dialogs_.saveFileName(spec);
  if (!chosen || chosen->empty()) return;
  const std::string problem = [&]() -> std::string {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return "the printout could not be started";
    const QString painted = WritePdf(LineListPrintout(*model_, std::time(nullptr)), buffer,
                                     SessionPaper(model_->options().units));
    if (!painted.isEmpty()) return painted.toStdString();
    // Through the program's one writer: an earlier file is replaced only whole.
    OutputFile out;
    if (!out.open(*chosen)) return out.reason();
    out.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!out.commit()) return out.reason();
    return {};
  }();
  if (!problem.empty()) showProblem("The list was not saved as " + ShownName(*chosen), problem);
}

}  // namespace vst::ui
