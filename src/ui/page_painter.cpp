#include "ui/page_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <memory>
#include <vector>

#include "ui/printing.h"

namespace vst::ui {

namespace {

// The desktop's default font family in the line's size.
QFont LineFont(double pointSize) {
  QFont font = QGuiApplication::font();
  font.setPointSizeF(pointSize);
  return font;
}

QString Text(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Where a cell of a text line may draw, in device units from the left
// margin: its first visual line from `x`, further ones from `indent`, all of
// them up to `right`.
struct Cell {
  double x = 0;
  double indent = 0;
  double right = 0;
  QString text;
};

// The cells of a line: a piece at a print column starts a cell, a piece
// without one joins the cell before it; a wrapped text continues under the
// first character of its last piece. An empty piece at a column is no cell. A cell ends a blank before the
// next cell, the last one at the right margin; no cell starts so near the right margin that a few characters
// would not fit, on any paper.
std::vector<Cell> CellsOf(const PrintLine& line, const QFontMetricsF& metrics, double width) {
  const double column = metrics.averageCharWidth();
  const double blank = metrics.horizontalAdvance(QLatin1Char(' '));
  const double narrowest = 4 * column;
  const double lastStart = std::max(0.0, width - narrowest);
  std::vector<Cell> cells;
  for (const PrintPiece& piece : line.pieces) {
    // An empty piece at a column draws nothing and bounds no cell before it.
    if (piece.text.empty() && piece.column > 0) continue;
    const QString text = Text(piece.text);
    qsizetype lead = 0;
    while (lead < text.size() && text[lead] == QLatin1Char(' ')) ++lead;
    if (cells.empty() || piece.column > 0) {
      double x = piece.column > 0 ? (piece.column - 1) * column : 0;
      if (!cells.empty()) x = std::max(x, cells.back().x + narrowest);
      x = std::min(x, lastStart);
      cells.push_back({x, x + metrics.horizontalAdvance(text.left(lead)), width, text});
      continue;
    }
    Cell& cell = cells.back();
    cell.indent = cell.x + metrics.horizontalAdvance(cell.text + text.left(lead));
    cell.text += text;
  }
  for (std::size_t i = 0; i < cells.size(); ++i) {
    Cell& cell = cells[i];
    if (i + 1 < cells.size()) cell.right = std::max(cells[i + 1].x - blank, cell.x + column);
    if (cell.indent > cell.right - narrowest) cell.indent = cell.x;
  }
  return cells;
}

// A line of the description laid out for the page's width: a text line's
// cells broken into visual lines, or a rule.
struct LaidLine {
  bool rule = false;
  bool heading = false;
  double spacing = 0;  // text: the height of a visual line; rule: its whole height
  int visualLines = 1;
  std::vector<std::unique_ptr<QTextLayout>> cells;

  double height() const { return rule ? spacing : spacing * visualLines; }
};

std::unique_ptr<QTextLayout> LayOutCell(const Cell& cell, const QFont& font, QPaintDevice& device) {
  auto layout = std::make_unique<QTextLayout>(cell.text, font, &device);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  layout->beginLayout();
  for (int n = 0;; ++n) {
    QTextLine visual = layout->createLine();
    if (!visual.isValid()) break;
    const double x = n == 0 ? cell.x : cell.indent;
    visual.setLineWidth(cell.right - x);
    visual.setPosition(QPointF(x, 0));  // the page's line decides the height
  }
  layout->endLayout();
  return layout;
}

std::vector<LaidLine> LayOut(const PageDescription& page, QPaintDevice& device, double width) {
  std::vector<LaidLine> laid;
  double lastSpacing = 0;
  for (const PrintLine& line : page.lines) {
    LaidLine out;
    out.heading = line.heading;
    if (line.kind == PrintLine::Kind::Rule) {
      // Just under the previous line, with a little room before the next.
      out.rule = true;
      out.spacing = 0.3 * lastSpacing;
      laid.push_back(std::move(out));
      continue;
    }
    const QFont font = LineFont(line.pointSize);
    const QFontMetricsF metrics(font, &device);
    out.spacing = metrics.lineSpacing();
    for (const Cell& cell : CellsOf(line, metrics, width)) {
      out.cells.push_back(LayOutCell(cell, font, device));
      out.visualLines = std::max(out.visualLines, out.cells.back()->lineCount());
    }
    lastSpacing = out.spacing;
    laid.push_back(std::move(out));
  }
  return laid;
}

// The height a line needs on its page: a rule under it stays with it.
double KeptHeight(const std::vector<LaidLine>& lines, std::size_t i) {
  const bool ruleUnder = i + 1 < lines.size() && lines[i + 1].rule && !lines[i].rule;
  return lines[i].height() + (ruleUnder ? lines[i + 1].height() : 0);
}

// Draws laid-out lines down the pages of a device.
class PageFlow {
 public:
  PageFlow(QPagedPaintDevice& device, QPainter& painter, double width, double height)
      : device_(device), painter_(painter), width_(width), height_(height) {}

  // False when the device could not start a new page.
  bool draw(const std::vector<LaidLine>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const LaidLine& line = lines[i];
      if (line.heading) {
        if (i == 0 || !lines[i - 1].heading) {
          // A new heading: it starts a page rather than stand alone at the
          // bottom of one.
          heading_.clear();
          double need = 0;
          std::size_t next = i;
          for (; next < lines.size() && lines[next].heading; ++next) {
            heading_.push_back(&lines[next]);
            need += lines[next].height();
          }
          if (next < lines.size()) need += KeptHeight(lines, next);
          if (bodyOnPage_ && y_ + need > height_ && !newPage(false)) return false;
        }
        drawWhole(line);
        continue;
      }
      if (bodyOnPage_ && y_ + KeptHeight(lines, i) > height_ && !newPage(true)) return false;
      if (line.rule) {
        drawRule(line);
      } else {
        // A line taller than what a page leaves under its heading goes on
        // over the pages, visual line by visual line.
        for (int k = 0; k < line.visualLines; ++k) {
          if (k > 0 && y_ + line.spacing > height_ && !newPage(true)) return false;
          drawVisualLine(line, k);
        }
      }
      bodyOnPage_ = true;
    }
    return true;
  }

 private:
  bool newPage(bool repeatHeading) {
    if (!device_.newPage()) return false;
    y_ = 0;
    bodyOnPage_ = false;
    if (repeatHeading) {
      for (const LaidLine* line : heading_) drawWhole(*line);
    }
    return true;
  }

  void drawWhole(const LaidLine& line) {
    if (line.rule) return drawRule(line);
    for (int k = 0; k < line.visualLines; ++k) drawVisualLine(line, k);
  }

  void drawRule(const LaidLine& line) {
    const double ruleY = y_ + 0.5 * line.spacing;
    painter_.drawLine(QPointF(0, ruleY), QPointF(width_, ruleY));
    y_ += line.spacing;
  }

  void drawVisualLine(const LaidLine& line, int k) {
    for (const auto& cell : line.cells) {
      if (k < cell->lineCount()) cell->lineAt(k).draw(&painter_, QPointF(0, y_));
    }
    y_ += line.spacing;
  }

  QPagedPaintDevice& device_;
  QPainter& painter_;
  double width_;
  double height_;
  double y_ = 0;
  bool bodyOnPage_ = false;  // the page holds more than a repeated heading
  std::vector<const LaidLine*> heading_;
};

}  // namespace

QString PaintPages(const PageDescription& page, QPagedPaintDevice& device) {
  if (page.landscape) device.setPageOrientation(QPageLayout::Landscape);
  QPainter painter;
  if (!painter.begin(&device)) return QStringLiteral("the printer could not be started");
  // The device's own size is its printable area: the page within its margins.
  const double width = device.width();
  const double height = device.height();
  const std::vector<LaidLine> lines = LayOut(page, device, width);
  const double dotsPerPoint = device.logicalDpiY() / 72.0;
  painter.setPen(QPen(Qt::black, std::max(1.0, 0.6 * dotsPerPoint)));
  PageFlow flow(device, painter, width, height);
  if (!flow.draw(lines)) {
    painter.end();
    return QStringLiteral("a new page could not be started");
  }
  if (!painter.end()) return QStringLiteral("the pages could not be finished");
  return {};
}

QString WritePdf(const PageDescription& page, QIODevice& device, Paper paper) {
  QPdfWriter writer(&device);
  writer.setTitle(QString::fromStdString(page.title));
  writer.setCreator(QStringLiteral("Vantrel ST"));
  writer.setPageSize(PaperSize(paper));
  writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  return PaintPages(page, writer);
}

}  // namespace vst::ui
