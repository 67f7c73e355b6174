#include "ui/pdf_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "ui/page_painter.h"

namespace vst::ui {

namespace {

// The command's output is its results and its own messages: Qt's debug
// output and warnings are dropped; a fatal message still ends the program.
void KeepQtMessagesOffTheOutput(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) return;
  std::fprintf(stderr, "vantrel-design: %s\n", message.toLocal8Bit().constData());
  std::abort();
}

}  // namespace

std::string PdfBytes(const PageDescription& page, Paper paper, std::string& pdf) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return "the printout could not be started";
  const QString problem = WritePdf(page, buffer, paper);
  buffer.close();
  if (!problem.isEmpty()) return problem.toStdString();
  pdf.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return {};
}

std::string RenderPdfWithoutDisplay(const PageDescription& page, Paper paper, std::string& pdf) {
  if (QGuiApplication::instance() == nullptr) {
    qInstallMessageHandler(KeepQtMessagesOffTheOutput);
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
  return PdfBytes(page, paper, pdf);
}

}  // namespace vst::ui
