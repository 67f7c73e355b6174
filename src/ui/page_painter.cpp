#include "ui/page_painter.h"

#include <QFile>
#include <QFileInfo>
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

QString WritePdf(const PageDescription& page, const QString& path) {
  {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) return QStringLiteral("%1 cannot be written").arg(path);
  }
  QPdfWriter writer(path);
  writer.setTitle(QString::fromStdString(page.title));
  writer.setCreator(QStringLiteral("Vantrel ST"));
  const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
  writer.setPageSize(QPageSize(letter ? QPageSize::Letter : QPageSize::A4));
  writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  return PaintPages(page, writer);
}

}  // namespace vst::ui

namespace vst::ui {

std::string WritePdfWithoutDisplay(const PageDescription& page, const std::string& path) {
  if (QGuiApplication::instance() == nullptr) {
    // Fonts and painting need an application; the offscreen platform needs
    // no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vantrel-design";
    static char* argv[] = {name, nullptr};
    // Kept until the process ends and never destroyed: nothing of Qt then
    // runs after main returns.
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
  }
  return WritePdf(page, QString::fromStdString(path)).toStdString();
}

}  // namespace vst::ui
