#include "ui/window_print.h"

#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QWidget>

#include "ui/printing.h"

namespace vst::ui {

namespace {

// Replays the drawing of `widget` and of its visible children, in the order
// the screen paints them, with `painter` in the window's coordinates. Each
// widget is recorded on its own, clipped to the part of it that its parents
// show, as the screen clips it: one recording of the whole window kept what
// a widget draws beyond its rectangle (the tab bar's selected tab reaches
// down over the first input row) and printed it over its neighbours.
void ReplayWidget(QWidget& widget, const QWidget& window, QPainter& painter, const QRect& parentArea,
                  const QSizeF& replayScale) {
  const QPoint at = widget.mapTo(&window, QPoint());
  const QRect area = parentArea & QRect(at, widget.size());
  if (area.isEmpty()) return;
  QPicture drawing;
  {
    // The screen clips a widget to its own rectangle; a recording does not
    // unless told so.
    QPainter recorder(&drawing);
    recorder.setClipRect(area.translated(-at));
    // Only the window and widgets that fill their own background paint one:
    // the others show their parents through them, as on the screen.
    const bool background = &widget == &window || widget.autoFillBackground();
    widget.render(&recorder, QPoint(), QRegion(),
                  background ? QWidget::DrawWindowBackground : QWidget::RenderFlags());
  }
  painter.save();
  painter.translate(at);
  painter.scale(replayScale.width(), replayScale.height());
  painter.drawPicture(0, 0, drawing);
  painter.restore();
  for (QObject* child : widget.children()) {
    auto* childWidget = qobject_cast<QWidget*>(child);
    if (childWidget != nullptr && !childWidget->isWindow() && childWidget->isVisible()) {
      ReplayWidget(*childWidget, window, painter, area, replayScale);
    }
  }
}

}  // namespace

QString PaintWindowOnPage(QWidget& window, QPaintDevice& device) {
  const QSize size = window.size();
  if (size.isEmpty()) return QStringLiteral("there is nothing to print");
  QPainter painter;
  if (!painter.begin(&device)) return QStringLiteral("the printer could not be started");
  // The window's drawing is recorded, then replayed on the page: drawn
  // straight onto a printer, widgets would arrive as one bitmap, whereas the
  // recording keeps texts as texts and lines as lines.
  const QRect page = painter.viewport();
  QSize scaled = size;
  scaled.scale(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(page.x(), page.y(), scaled.width(), scaled.height());
  painter.setWindow(0, 0, size.width(), size.height());
  // A recording replays enlarged to the resolution of the device it is
  // played on: scaled back, it keeps the window's pixels.
  const QPicture probe;
  const QSizeF replayScale(static_cast<double>(probe.logicalDpiX()) / device.logicalDpiX(),
                           static_cast<double>(probe.logicalDpiY()) / device.logicalDpiY());
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  ReplayWidget(window, window, painter, QRect(QPoint(), size), replayScale);
  if (!painter.end()) return QStringLiteral("the page could not be finished");
  return {};
}

bool PrintWindow(QWidget& window, Dialogs& dialogs, UnitSystem units) {
  return PrintWithDialog(&window, dialogs, units,
                         [&window](QPrinter& printer) { return PaintWindowOnPage(window, printer); });
}

}  // namespace vst::ui
