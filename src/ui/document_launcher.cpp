#include "ui/document_launcher.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

namespace vst::ui {

namespace {

// Whether a default program is registered for the type: false only when the
// lookup ran and named none; when it cannot run, the desktop decides.
bool HandlerRegistered(const QString& mimeType) {
  QProcess query;
  query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
  if (!query.waitForStarted(2000)) return true;
  if (!query.waitForFinished(5000)) {
    query.kill();
    query.waitForFinished(1000);
    return true;
  }
  if (query.exitStatus() != QProcess::NormalExit) return true;
  return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

LaunchResult QtDocumentLauncher::open(const std::filesystem::path& file) {
  const QString path = QString::fromStdString(file.string());
  const QString mime = QMimeDatabase().mimeTypeForFile(path).name();
  if (!HandlerRegistered(mime)) return LaunchResult::NoApplication;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) ? LaunchResult::Opened : LaunchResult::Failed;
}

}  // namespace vst::ui
