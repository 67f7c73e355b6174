#include "ui/printing.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "core/message_titles.h"
#include "core/output_file.h"
#include "core/quoted_value.h"
#include "workspace/dialogs.h"

namespace vst::ui {

namespace {

PrinterChooser& Chooser() {
  static PrinterChooser chooser;
  return chooser;
}

bool RunPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Print"));
  return dialog.exec() == QDialog::Accepted;
}

// The default printer's paper where it has one (the printer already holds
// it), else the session's.
void StartPaper(QPrinter& printer, UnitSystem units) {
  const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
  const QPageSize own = defaultPrinter.isNull() ? QPageSize() : defaultPrinter.defaultPageSize();
  printer.setPageSize(own.isValid() ? own : PaperSize(SessionPaper(units)));
}

// Whether a PDF file ends as a complete one does: its last bytes hold the
// end-of-file marker. The printer writes the file without reporting a
// failed write (a full disk), so the file itself is asked.
bool PdfComplete(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  const std::streamoff size = in.tellg();
  if (!in || size <= 0) return false;
  const std::streamoff tail = std::min<std::streamoff>(size, 1024);
  std::string end(static_cast<std::size_t>(tail), '\0');
  in.seekg(size - tail);
  if (!in.read(end.data(), tail)) return false;
  return end.find("%%EOF") != std::string::npos;
}

// "Print to File (PDF)": the printer draws into a temporary file, which the
// program's one writer then puts in the chosen file's place, so the previous
// file is replaced only by a complete printout.
QString PrintToPdfFile(QPrinter& printer, const PrintJob& job) {
  OutputFile out;
  if (!out.open(printer.outputFileName().toStdString())) return QString::fromStdString(out.error());
  const std::filesystem::path contents = out.contentsPath();
  if (contents.empty()) return QString::fromStdString(out.error());
  printer.setOutputFileName(QString::fromStdString(contents.string()));
  QString why = job(printer);
  if (why.isEmpty() && printer.printerState() == QPrinter::Error) {
    why = QStringLiteral("the printer reported an error");
  }
  if (why.isEmpty() && !PdfComplete(contents)) {
    why = QString::fromStdString("cannot write " + ShownName(out.name()) +
                                 ": the printout could not be written whole; the disk may be full");
  }
  if (why.isEmpty() && !out.commit()) why = QString::fromStdString(out.error());
  return why;
}

}  // namespace

QPageSize PaperSize(Paper paper) {
  return QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
}

void SetPrinterChooser(PrinterChooser chooser) { Chooser() = std::move(chooser); }

bool PrintWithDialog(QWidget* parent, Dialogs& dialogs, UnitSystem units, const PrintJob& job) {
  QPrinter printer(QPrinter::HighResolution);
  StartPaper(printer, units);
  const bool accepted = Chooser() ? Chooser()(printer, parent) : RunPrintDialog(printer, parent);
  if (!accepted) return false;
  QString why;
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    why = PrintToPdfFile(printer, job);
  } else {
    why = job(printer);
    if (why.isEmpty() && printer.printerState() == QPrinter::Error) {
      why = QStringLiteral("the printer reported an error");
    }
  }
  if (why.isEmpty()) return true;
  Message m;
  m.title = kErrorTitle;
  m.text = "The document was not printed: " + why.toStdString() + ".";
  m.icon = MsgIcon::Exclamation;
  dialogs.message(m);
  return false;
}

QString PaintImageOnPage(const QImage& image, QPaintDevice& device) {
  if (image.isNull()) return QStringLiteral("there is nothing to print");
  QPainter painter;
  if (!painter.begin(&device)) return QStringLiteral("the printer could not be started");
  const QRect page = painter.viewport();
  QSize size = image.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(page.x(), page.y(), size.width(), size.height());
  painter.setWindow(image.rect());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(0, 0, image);
  if (!painter.end()) return QStringLiteral("the page could not be finished");
  return {};
}

QImage WindowImage(QWidget& window) { return window.grab().toImage(); }

}  // namespace vst::ui
