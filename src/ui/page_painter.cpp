#include "ui/page_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>

namespace vst::ui {

namespace {

// The desktop's default font family in the line's size.
QFont LineFont(double pointSize) {
  QFont font = QGuiApplication::font();
  font.setPointSizeF(pointSize);
  return font;
}

}  // namespace

QString PaintPages(const PageDescription& page, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) return QStringLiteral("the printer could not be started");
  const QRectF area(0, 0, device.width(), device.height());
  const double dotsPerPoint = device.logicalDpiY() / 72.0;
  painter.setPen(QPen(Qt::black, std::max(1.0, 0.6 * dotsPerPoint)));
  double y = 0;
  double lastLineHeight = 0;
  for (const PrintLine& line : page.lines) {
    if (line.kind == PrintLine::Kind::Rule) {
      // Just under the previous line, across the page, with a little room
      // before the next line.
      const double ruleY = y + 0.15 * lastLineHeight;
      painter.drawLine(QPointF(area.left(), ruleY), QPointF(area.right(), ruleY));
      y += 0.3 * lastLineHeight;
      continue;
    }
    const QFont font = LineFont(line.pointSize);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    const double height = metrics.lineSpacing();
    if (y > 0 && y + height > area.height()) {
      if (!device.newPage()) {
        painter.end();
        return QStringLiteral("a new page could not be started");
      }
      y = 0;
    }
    const double columnWidth = metrics.averageCharWidth();
    double x = 0;
    for (const PrintPiece& piece : line.pieces) {
      const QString text = QString::fromUtf8(piece.text.data(), static_cast<qsizetype>(piece.text.size()));
      if (piece.column > 0) {
        const double at = (piece.column - 1) * columnWidth;
        // A piece that would overlap the one before it follows it after a space.
        x = x > at ? x + metrics.horizontalAdvance(QLatin1Char(' ')) : at;
      }
      painter.drawText(QPointF(area.left() + x, y + metrics.ascent()), text);
      x += metrics.horizontalAdvance(text);
    }
    y += height;
    lastLineHeight = height;
  }
  if (!painter.end()) return QStringLiteral("the pages could not be finished");
  return {};
}

QString WritePdf(const PageDescription& page, QIODevice& device) {
  QPdfWriter writer(&device);
  writer.setTitle(QString::fromStdString(page.title));
  writer.setCreator(QStringLiteral("Vantrel ST"));
  const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
  writer.setPageSize(QPageSize(letter ? QPageSize::Letter : QPageSize::A4));
  writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  return PaintPages(page, writer);
}

}  // namespace vst::ui
