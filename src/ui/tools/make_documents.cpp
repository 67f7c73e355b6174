// Writes the product documents of the "PDF Files" folder beside the program
// from their HTML sources under data/documents/:
//
//   make_documents <source folder> <output folder>
//
// The source folder holds documents.txt, one document a line:
//   <PDF file> | <HTML source> | <panel menu items, comma-separated> | <note>
// In a source, the line <!--panel--> is replaced by the Applications panel
// texts of the listed items (the program's own product descriptions) and the
// line <!--note--> by the note. Each page is rendered with QTextDocument onto
// a Letter page by QPdfWriter. Documents the program cannot state truthfully
// are not listed, so their commands report the missing file.
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <cstdio>

#include "docs/app_panels.h"
#include "docs/documents.h"

namespace {

QString PanelHtml(const QString& items) {
  QString html;
  for (const QString& item : items.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const vst::AppPanel* panel = vst::FindAppPanel(item.trimmed().toStdString());
    if (!panel) {
      std::fprintf(stderr, "documents.txt names no panel %s\n", qPrintable(item));
      return {};
    }
    html += QStringLiteral("<h2>%1</h2>\n<p>").arg(QString::fromStdString(panel->caption).toHtmlEscaped());
    for (const vst::PanelLine& line : panel->lines) {
      if (line.empty()) {
        html += QStringLiteral("</p>\n<p>");
        continue;
      }
      for (const vst::TextRun& run : line) {
        const QString text = QString::fromStdString(run.text).toHtmlEscaped();
        html += run.bold ? QStringLiteral("<b>%1</b>").arg(text) : text;
      }
      html += QLatin1Char(' ');
    }
    html += QStringLiteral("</p>\n");
  }
  return html;
}

bool WritePdf(const QString& html, const QString& file) {
  QPdfWriter writer(file);
  writer.setPageSize(QPageSize(QPageSize::Letter));
  writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
  writer.setResolution(300);
  writer.setCreator(QStringLiteral("Vantrel ST"));
  QTextDocument doc;
  doc.setHtml(html);
  writer.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));
  QFont font = doc.defaultFont();
  font.setPointSizeF(10);
  doc.setDefaultFont(font);
  // Without a page size of its own the document is laid out on the writer's
  // pages, with page numbers.
  doc.print(&writer);
  return QFile::exists(file);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_documents <source folder> <output folder>\n");
    return 2;
  }
  const QString source = QString::fromLocal8Bit(argv[1]);
  const QString out = QString::fromLocal8Bit(argv[2]);
  QFile manifest(source + QStringLiteral("/documents.txt"));
  if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text)) {
    std::fprintf(stderr, "cannot read %s\n", qPrintable(manifest.fileName()));
    return 1;
  }
  bool ok = true;
  for (const QString& raw : QString::fromUtf8(manifest.readAll()).split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QStringLiteral("//"))) continue;
    const QStringList fields = line.split(QLatin1Char('|'));
    if (fields.size() != 4) {
      std::fprintf(stderr, "documents.txt: not four fields: %s\n", qPrintable(line));
      ok = false;
      continue;
    }
    const QString pdf = fields[0].trimmed();
    const bool listed = [&] {
      for (const vst::ProductDocument& d : vst::ProductDocuments()) {
        if (pdf == QString::fromLatin1(d.file)) return true;
      }
      return false;
    }();
    if (!listed) {
      std::fprintf(stderr, "documents.txt: %s is no document of the Help menu\n", qPrintable(pdf));
      ok = false;
      continue;
    }
    QFile page(source + QLatin1Char('/') + fields[1].trimmed());
    if (!page.open(QIODevice::ReadOnly | QIODevice::Text)) {
      std::fprintf(stderr, "cannot read %s\n", qPrintable(page.fileName()));
      ok = false;
      continue;
    }
    QString html = QString::fromUtf8(page.readAll());
    const QString panels = fields[2].trimmed();
    if (!panels.isEmpty()) {
      const QString text = PanelHtml(panels);
      if (text.isEmpty()) {
        ok = false;
        continue;
      }
      html.replace(QStringLiteral("<!--panel-->"), text);
    }
    html.replace(QStringLiteral("<!--note-->"), fields[3].trimmed());
    if (!WritePdf(html, out + QLatin1Char('/') + pdf)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(pdf));
      ok = false;
    }
  }
  return ok ? 0 : 1;
}
