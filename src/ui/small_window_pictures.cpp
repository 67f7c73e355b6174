#include "ui/small_window_pictures.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

namespace vst::ui {

namespace {

QPixmap Blank(int size) {
  const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
  QPixmap pixmap(QSize(size, size) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

QPixmap SteamEmblem(int size) {
  QPixmap pixmap = Blank(size);
  QPainter g(&pixmap);
  g.setRenderHint(QPainter::Antialiasing);
  const double s = size / 100.0;
  const QPointF c(50 * s, 62 * s);
  // Insulation, pipe and the tracer below it.
  g.setPen(QPen(QColor(40, 40, 40), 1.5 * s));
  g.setBrush(QColor(250, 238, 190));
  g.drawEllipse(c, 34 * s, 34 * s);
  g.setBrush(QColor(150, 155, 165));
  g.drawEllipse(c, 22 * s, 22 * s);
  g.setBrush(Qt::white);
  g.drawEllipse(c, 17 * s, 17 * s);
  g.setBrush(QColor(245, 205, 30));
  g.drawEllipse(QPointF(c.x(), c.y() + 27 * s), 5 * s, 5 * s);
  // Three wisps of steam above.
  g.setBrush(Qt::NoBrush);
  g.setPen(QPen(QColor(90, 120, 170), 3 * s, Qt::SolidLine, Qt::RoundCap));
  for (int i = -1; i <= 1; ++i) {
    QPainterPath wisp;
    const double x = 50 * s + i * 14 * s;
    wisp.moveTo(x, 24 * s);
    wisp.cubicTo(x - 7 * s, 18 * s, x + 7 * s, 11 * s, x, 3 * s);
    g.drawPath(wisp);
  }
  return pixmap;
}

QPixmap CertificationBadge(int size) {
  QPixmap pixmap = Blank(size);
  QPainter g(&pixmap);
  g.setRenderHint(QPainter::Antialiasing);
  g.setRenderHint(QPainter::TextAntialiasing);
  const double s = size / 100.0;
  const QPointF c(50 * s, 50 * s);
  const QColor blue(20, 60, 130);
  g.setPen(QPen(blue, 3 * s));
  g.setBrush(Qt::white);
  g.drawEllipse(c, 47 * s, 47 * s);
  g.setPen(QPen(blue, 1.2 * s));
  g.drawEllipse(c, 40 * s, 40 * s);
  // A tick in the centre.
  g.setPen(QPen(QColor(30, 130, 60), 5 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPainterPath tick;
  tick.moveTo(35 * s, 50 * s);
  tick.lineTo(46 * s, 61 * s);
  tick.lineTo(66 * s, 37 * s);
  g.drawPath(tick);
  QFont font = g.font();
  font.setBold(true);
  font.setPixelSize(qMax(6, static_cast<int>(11 * s)));
  g.setFont(font);
  g.setPen(blue);
  g.drawText(QRectF(0, 14 * s, 100 * s, 16 * s), Qt::AlignCenter, QStringLiteral("ISO 9001"));
  font.setPixelSize(qMax(5, static_cast<int>(9 * s)));
  g.setFont(font);
  g.drawText(QRectF(0, 68 * s, 100 * s, 16 * s), Qt::AlignCenter, QStringLiteral("CERTIFIED"));
  return pixmap;
}

}  // namespace vst::ui
