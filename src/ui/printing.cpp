#include "ui/printing.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <utility>

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
  QString why = job(printer);
  if (why.isEmpty() && printer.printerState() == QPrinter::Error) {
    why = QStringLiteral("the printer reported an error");
  }
  if (why.isEmpty()) return true;
  Message m;
  m.title = "Error";
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
