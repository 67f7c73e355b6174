// Draws the pictures of the Applications panels: cross-sections of a traced
// pipe for each installation method, with their parts labelled. Run at build
// time; writes CHANNEL.BMP, FILLET.BMP, COVER.BMP, YJ12.BMP and WRAP.BMP into
// the program's folder, and the same pictures as PNG files (CHANNEL.PNG, ...)
// into the help books' picture folder:
//
//   make_panel_pictures <program folder> <help picture folder>
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 300;

// Drawing colours: light fills, dark outlines, as on a printed data sheet.
const QColor kOutline(40, 40, 40);
const QColor kSteel(150, 155, 165);
const QColor kInsulation(250, 238, 190);
const QColor kJacketing(205, 210, 215);
const QColor kCompound(95, 95, 100);
const QColor kChannel(175, 180, 190);
const QColor kTube(200, 120, 60);  // copper
const QColor kYellowJacket(245, 205, 30);
const QColor kFiberglass(235, 225, 200);
const QColor kFoil(220, 220, 225);
const QColor kPvc(60, 60, 65);
const QColor kLabel(20, 20, 20);

struct Callout {
  QPointF at;  // the point of the part the leader touches
  QString text;
};

QPainterPath Circle(QPointF c, double r) {
  QPainterPath p;
  p.addEllipse(c, r, r);
  return p;
}

void Fill(QPainter& g, const QPainterPath& path, const QColor& fill, Qt::BrushStyle pattern = Qt::NoBrush) {
  g.setPen(QPen(kOutline, 1.2));
  g.setBrush(fill);
  g.drawPath(path);
  if (pattern != Qt::NoBrush) {
    g.setPen(Qt::NoPen);
    g.setBrush(QBrush(fill.darker(135), pattern));
    g.drawPath(path);
  }
}

// Labels in a column on the right, each joined to its part by a leader line
// ending in a dot. Labels sit level with their parts where there is room, in
// the order of the parts from top to bottom, so no two leaders cross.
void DrawCallouts(QPainter& g, std::vector<Callout> callouts) {
  QFont font = g.font();
  font.setPointSizeF(9);
  g.setFont(font);
  const double x = 372;
  const double gap = 24;
  std::sort(callouts.begin(), callouts.end(),
            [](const Callout& a, const Callout& b) { return a.at.y() < b.at.y(); });
  std::vector<double> ys;
  for (const Callout& c : callouts) ys.push_back(std::max(c.at.y(), ys.empty() ? 16.0 : ys.back() + gap));
  const double overflow = ys.empty() ? 0 : ys.back() - (kHeight - 16);
  if (overflow > 0) {
    for (double& y : ys) y -= overflow;
  }
  for (std::size_t i = 0; i < callouts.size(); ++i) {
    const QPointF elbow(x - 22, ys[i]);
    g.setPen(QPen(kLabel, 0.9));
    g.setBrush(kLabel);
    g.drawLine(callouts[i].at, elbow);
    g.drawLine(elbow, QPointF(x - 5, ys[i]));
    g.drawEllipse(callouts[i].at, 2.2, 2.2);
    g.setPen(kLabel);
    g.drawText(QRectF(x, ys[i] - 10, kWidth - x - 6, 20), Qt::AlignLeft | Qt::AlignVCenter, callouts[i].text);
  }
}

// The point at radius r from c, angle degrees clockwise from the right.
QPointF Polar(QPointF c, double r, double degrees) {
  const double a = degrees * 3.14159265358979 / 180.0;
  return {c.x() + r * std::cos(a), c.y() + r * std::sin(a)};
}

// The common parts of a traced pipe's section: jacketing, insulation, air
// space and the pipe wall, centred at c. The tracer lies below the pipe.
struct Section {
  QPointF c{170, 150};
  double pipeR = 56;
  double wall = 7;
  double insulInner = 92;  // the insulation is oversized to enclose the tracer
  double insulOuter = 128;
  double jacketing = 3;

  QPointF below(double distance) const { return {c.x(), c.y() + distance}; }

  void drawOuter(QPainter& g) const {
    Fill(g, Circle(c, insulOuter + jacketing).subtracted(Circle(c, insulOuter)), kJacketing);
    Fill(g, Circle(c, insulOuter).subtracted(Circle(c, insulInner)), kInsulation, Qt::Dense6Pattern);
    g.setPen(QPen(kOutline, 1.0, Qt::DashLine));
    g.setBrush(Qt::NoBrush);
  }

  void drawPipe(QPainter& g) const {
    Fill(g, Circle(c, pipeR).subtracted(Circle(c, pipeR - wall)), kSteel, Qt::BDiagPattern);
  }
};

struct Folders {
  QDir program;
  QDir help;
};

// Writes NAME.BMP into the program's folder and NAME.PNG into the help's.
void Save(const QImage& image, const Folders& to, const char* name, bool& ok) {
  const QString base = QString::fromLatin1(name);
  for (const auto& [dir, format] : {std::pair{&to.program, "BMP"}, std::pair{&to.help, "PNG"}}) {
    const QString path = dir->filePath(base + u'.' + QLatin1String(format));
    if (!image.save(path, format)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      ok = false;
    }
  }
}

QImage Canvas(const std::function<void(QPainter&)>& draw) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter g(&image);
  g.setRenderHint(QPainter::Antialiasing);
  g.setRenderHint(QPainter::TextAntialiasing);
  draw(g);
  return image;
}

// Troughline: tracer bedded in heat transfer compound under a channel.
QImage ChannelPicture() {
  return Canvas([](QPainter& g) {
    Section s;
    const double r = 10;  // tracer tube
    const QPointF tracer = s.below(s.pipeR + r);
    s.drawOuter(g);
    // Channel: a shallow box open towards the pipe, its flanges on the pipe.
    const double half = 22;
    const double depth = 2 * r + 5;
    QPainterPath outer;
    outer.addRect(QRectF(tracer.x() - half, s.c.y() + s.pipeR - 10, 2 * half, depth + 10 + 2.5));
    QPainterPath inner;
    inner.addRect(QRectF(tracer.x() - half + 2.5, s.c.y() + s.pipeR - 10, 2 * half - 5, depth + 10));
    const QPainterPath pipeDisc = Circle(s.c, s.pipeR);
    const QPainterPath compound = inner.subtracted(pipeDisc).subtracted(Circle(tracer, r));
    Fill(g, compound, kCompound);
    Fill(g, outer.subtracted(inner).subtracted(pipeDisc), kChannel);
    Fill(g, Circle(tracer, r).subtracted(Circle(tracer, r - 1.8)), kTube);
    s.drawPipe(g);
    // Bands around the channel, seen as a thin ring.
    g.setPen(QPen(kOutline, 0.8, Qt::DotLine));
    g.setBrush(Qt::NoBrush);
    g.drawEllipse(s.c, s.pipeR + 0.5, s.pipeR + 0.5);
    DrawCallouts(g, {{Polar(s.c, s.pipeR - s.wall / 2, 15), "Pipe"},
                     {Polar(tracer, r - 1, -30), "Tracer tube"},
                     {tracer + QPointF(r + 4, 5), "Heat transfer compound"},
                     {tracer + QPointF(half - 1.2, 10), "Channel, banded to the pipe"},
                     {Polar(s.c, (s.insulInner + s.insulOuter) / 2, -25), "Insulation"},
                     {Polar(s.c, s.insulOuter + 1.5, -62), "Weatherproof jacketing"}});
  });
}

// Fillet Trace: heat transfer cement in a fillet on each side of the tracer.
QImage FilletPicture() {
  return Canvas([](QPainter& g) {
    Section s;
    const double r = 10;
    const QPointF tracer = s.below(s.pipeR + r);
    s.drawOuter(g);
    QPolygonF wedge;
    wedge << QPointF(tracer.x() - 3.2 * r, s.c.y() + s.pipeR - 6)
          << QPointF(tracer.x() + 3.2 * r, s.c.y() + s.pipeR - 6)
          << QPointF(tracer.x() + 0.9 * r, tracer.y() + 0.55 * r)
          << QPointF(tracer.x() - 0.9 * r, tracer.y() + 0.55 * r);
    QPainterPath fillet;
    fillet.addPolygon(wedge);
    fillet.closeSubpath();
    fillet = fillet.subtracted(Circle(s.c, s.pipeR)).subtracted(Circle(tracer, r));
    Fill(g, fillet, kCompound);
    Fill(g, Circle(tracer, r).subtracted(Circle(tracer, r - 1.8)), kTube);
    s.drawPipe(g);
    DrawCallouts(g, {{Polar(s.c, s.pipeR - s.wall / 2, 15), "Pipe"},
                     {Polar(tracer, r - 1, 10), "Tracer tube"},
                     {tracer + QPointF(1.6 * r, -0.75 * r), "Heat transfer cement fillet"},
                     {Polar(s.c, (s.insulInner + s.insulOuter) / 2, -25), "Insulation"},
                     {Polar(s.c, s.insulOuter + 1.5, -62), "Weatherproof jacketing"}});
  });
}

// Coverlyn YJ-0: tracer tube in a yellow elastomeric jacket, taped on.
QImage CoverPicture() {
  return Canvas([](QPainter& g) {
    Section s;
    const double r = 9;
    const double jacket = 5;
    const QPointF tracer = s.below(s.pipeR + r + jacket);
    s.drawOuter(g);
    Fill(g, Circle(tracer, r + jacket).subtracted(Circle(tracer, r)), kYellowJacket);
    Fill(g, Circle(tracer, r).subtracted(Circle(tracer, r - 1.8)), kTube);
    s.drawPipe(g);
    // Tape holding the tracer to the pipe.
    g.setPen(QPen(kOutline, 1.4));
    g.setBrush(Qt::NoBrush);
    g.drawArc(QRectF(tracer.x() - r - jacket - 1.5, tracer.y() - r - jacket - 1.5, 2 * (r + jacket + 1.5),
                     2 * (r + jacket + 1.5)),
              200 * 16, 140 * 16);
    DrawCallouts(g, {{Polar(s.c, s.pipeR - s.wall / 2, 15), "Pipe"},
                     {Polar(tracer, r - 1, -10), "Tracer tube"},
                     {Polar(tracer, r + jacket / 2, 40), "Yellow elastomeric jacket"},
                     {Polar(s.c, (s.pipeR + s.insulInner) / 2, 30), "Air space"},
                     {Polar(s.c, (s.insulInner + s.insulOuter) / 2, -25), "Insulation"},
                     {Polar(s.c, s.insulOuter + 1.5, -62), "Weatherproof jacketing"}});
  });
}

// Coverlyn YJ-1 and YJ-2: a detail of the tracer's layers beside the section.
QImage Yj12Picture() {
  return Canvas([](QPainter& g) {
    Section s;
    s.c = QPointF(110, 150);
    s.pipeR = 48;
    s.wall = 6;
    s.insulInner = 76;
    s.insulOuter = 100;
    const double r = 5, iso = 3, jacket = 3;
    const QPointF tracer = s.below(s.pipeR + r + iso + jacket);
    s.drawOuter(g);
    Fill(g, Circle(tracer, r + iso + jacket).subtracted(Circle(tracer, r + iso)), kYellowJacket);
    Fill(g, Circle(tracer, r + iso).subtracted(Circle(tracer, r)), kFiberglass);
    Fill(g, Circle(tracer, r).subtracted(Circle(tracer, r - 1.4)), kTube);
    s.drawPipe(g);
    // Enlarged tracer, joined to the small one by a thin frame.
    const QPointF big(275, 212);
    const double R = 14, ISO = 10, JACKET = 9;
    g.setPen(QPen(kOutline, 0.8, Qt::DashLine));
    g.setBrush(Qt::NoBrush);
    g.drawEllipse(tracer, r + iso + jacket + 4, r + iso + jacket + 4);
    g.drawEllipse(big, R + ISO + JACKET + 8, R + ISO + JACKET + 8);
    g.drawLine(tracer + QPointF(r + iso + jacket + 4, 0), big - QPointF(R + ISO + JACKET + 8, 0));
    Fill(g, Circle(big, R + ISO + JACKET).subtracted(Circle(big, R + ISO)), kYellowJacket);
    Fill(g, Circle(big, R + ISO).subtracted(Circle(big, R)), kFiberglass, Qt::Dense5Pattern);
    Fill(g, Circle(big, R).subtracted(Circle(big, R - 3)), kTube);
    DrawCallouts(g, {{Polar(s.c, s.pipeR - s.wall / 2, -15), "Pipe"},
                     {Polar(big, R - 1.5, -70), "Tracer tube, copper or stainless"},
                     {Polar(big, R + ISO / 2, -10), "Fiberglass isolation layer"},
                     {Polar(big, R + ISO + JACKET / 2, 35), "Yellow elastomeric jacket"},
                     {Polar(s.c, (s.insulInner + s.insulOuter) / 2, -40), "Insulation"},
                     {Polar(s.c, s.insulOuter + 1.5, -62), "Weatherproof jacketing"}});
  });
}

// Wrapcore: supply and return tubes in factory-applied insulation.
QImage WrapPicture() {
  return Canvas([](QPainter& g) {
    const QPointF c(170, 150);
    const double outer = 96, pvc = 6, foil = 3;
    const double r = 16;
    const QPointF tube1 = c + QPointF(0, -32), tube2 = c + QPointF(0, 32);
    Fill(g, Circle(c, outer).subtracted(Circle(c, outer - pvc)), kPvc);
    Fill(g, Circle(c, outer - pvc).subtracted(Circle(c, outer - pvc - foil)), kFoil);
    Fill(g, Circle(c, outer - pvc - foil).subtracted(Circle(tube1, r)).subtracted(Circle(tube2, r)),
         kFiberglass, Qt::Dense5Pattern);
    Fill(g, Circle(tube1, r).subtracted(Circle(tube1, r - 3)), kTube);
    Fill(g, Circle(tube2, r).subtracted(Circle(tube2, r - 3)), kTube);
    DrawCallouts(g, {{Polar(tube1, r - 1.5, 0), "Tube (steam supply)"},
                     {Polar(tube2, r - 1.5, 0), "Tube (condensate return)"},
                     {Polar(c, 55, 5), "Fiberglass insulation"},
                     {Polar(c, outer - pvc - foil / 2, 22), "Foil tape"},
                     {Polar(c, outer - pvc / 2, -50), "PVC jacket"}});
  });
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_panel_pictures <program folder> <help picture folder>\n");
    return 2;
  }
  const Folders to{QDir(QString::fromLocal8Bit(argv[1])), QDir(QString::fromLocal8Bit(argv[2]))};
  for (const QDir* dir : {&to.program, &to.help}) {
    if (!dir->exists() && !QDir().mkpath(dir->path())) {
      std::fprintf(stderr, "cannot create %s\n", qPrintable(dir->path()));
      return 1;
    }
  }
  bool ok = true;
  Save(ChannelPicture(), to, "CHANNEL", ok);
  Save(FilletPicture(), to, "FILLET", ok);
  Save(CoverPicture(), to, "COVER", ok);
  Save(Yj12Picture(), to, "YJ12", ok);
  Save(WrapPicture(), to, "WRAP", ok);
  return ok ? 0 : 1;
}
