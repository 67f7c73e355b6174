#include "ui/printing.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
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

}  // namespace

void SetPrinterChooser(PrinterChooser chooser) { Chooser() = std::move(chooser); }

bool PrintWithDialog(QWidget* parent, Dialogs& dialogs, const PrintJob& job) {
  QPrinter printer(QPrinter::HighResolution);
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
