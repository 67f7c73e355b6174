#include "ui/window_print.h"

#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QWidget>

#include "ui/printing.h"

namespace vst::ui {

QString PaintWindowOnPage(QWidget& window, QPaintDevice& device) {
  const QSize size = window.size();
  if (size.isEmpty()) return QStringLiteral("there is nothing to print");
  // The window's drawing is recorded, then replayed on the page: drawn
  // straight onto a printer, widgets would arrive as one bitmap, whereas the
  // recording keeps texts as texts and lines as lines.
  QPicture drawing;
  {
    QPainter recorder(&drawing);
    window.render(&recorder, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  }
  QPainter painter;
  if (!painter.begin(&device)) return QStringLiteral("the printer could not be started");
  const QRect page = painter.viewport();
  QSize scaled = size;
  scaled.scale(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(page.x(), page.y(), scaled.width(), scaled.height());
  // A recording replays at the resolution of the device it is played on:
  // the window's size in the device's resolution fills the viewport.
  const double dpiX = static_cast<double>(device.logicalDpiX()) / drawing.logicalDpiX();
  const double dpiY = static_cast<double>(device.logicalDpiY()) / drawing.logicalDpiY();
  painter.setWindow(0, 0, qRound(size.width() * dpiX), qRound(size.height() * dpiY));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPicture(0, 0, drawing);
  if (!painter.end()) return QStringLiteral("the page could not be finished");
  return {};
}

bool PrintWindow(QWidget& window, Dialogs& dialogs) {
  return PrintWithDialog(&window, dialogs,
                         [&window](QPrinter& printer) { return PaintWindowOnPage(window, printer); });
}

}  // namespace vst::ui
