#include "ui/background_work.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <thread>

namespace vst::ui {

std::string RunWithProgress(QWidget* parent, const QString& label,
                            const std::function<std::string(const WorkProgress&)>& work) {
  QProgressDialog dialog(label, QStringLiteral("Cancel"), 0, 0, parent);
  dialog.setObjectName(QStringLiteral("workProgress"));
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(400);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);

  std::atomic<bool> cancelled{false};
  std::atomic<bool> finished{false};
  std::atomic<int> done{0};
  std::atomic<int> total{0};
  std::string result;
  std::thread worker([&] {
    result = work([&](int d, int t) {
      done = d;
      total = t;
      return !cancelled.load();
    });
    finished = true;
  });

  // The window's event loop runs while the worker works; a timer reads
  // its progress into the dialog.
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (dialog.wasCanceled()) cancelled = true;
    if (total > 0 && dialog.maximum() != total) dialog.setMaximum(total);
    if (total > 0) dialog.setValue(done);
    if (finished) loop.quit();
  });
  poll.start(30);
  if (!finished) loop.exec();
  poll.stop();
  worker.join();
  return result;
}

}  // namespace vst::ui
