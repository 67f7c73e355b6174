// PDF files read back as a person sees them, through poppler's tools:
// pdftotext for the text as laid out on the page and for every word with its
// box, pdftoppm for the rendered page.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <vector>

namespace vst::test {

// Standard output of a tool.
inline QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

struct PdfWord {
  int page = 0;  // from 1
  QString text;
  QRectF box;  // points from the page's top left
};

struct PdfRead {
  QSizeF pageSize;  // of the last page, in points
  int pages = 0;
  std::vector<PdfWord> words;
  QString text;  // laid out as on the pages, ligatures ("\uFB01") spelt out

  explicit PdfRead(const QString& path) {
    text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
               .normalized(QString::NormalizationForm_KC);
    static const QRegularExpression item(QStringLiteral(
        "<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
        "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    const QString boxes =
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    for (auto m = item.globalMatch(boxes); m.hasNext();) {
      const auto found = m.next();
      if (!found.captured(1).isEmpty()) {
        pageSize = QSizeF(found.captured(1).toDouble(), found.captured(2).toDouble());
        ++pages;
        continue;
      }
      words.push_back({pages, found.captured(7),
                       QRectF(QPointF(found.captured(3).toDouble(), found.captured(4).toDouble()),
                              QPointF(found.captured(5).toDouble(), found.captured(6).toDouble()))});
    }
  }

  // The words whose boxes leave `area` (points), with their places.
  QStringList wordsOutside(const QRectF& area) const {
    QStringList out;
    for (const PdfWord& w : words) {
      if (area.contains(w.box)) continue;
      out << QStringLiteral("%1 on page %2 at (%3, %4)-(%5, %6)")
                 .arg(w.text)
                 .arg(w.page)
                 .arg(w.box.left())
                 .arg(w.box.top())
                 .arg(w.box.right())
                 .arg(w.box.bottom());
    }
    return out;
  }
};

// The first page rendered at `dpi` dots per inch.
inline QImage RenderedFirstPage(const QString& pdf, int dpi) {
  const QString stem = pdf + QStringLiteral("-page");
  RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                       QStringLiteral("-singlefile"), pdf, stem});
  return QImage(stem + QStringLiteral(".png"));
}

}  // namespace vst::test
