// A long save off the window's thread: the work runs on a worker thread
// while a window-modal progress dialog shows how far it is and offers
// Cancel; the window keeps drawing and takes no input meanwhile.
#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace vst::ui {

// What the work hears: done of total; false asks it to stop.
using WorkProgress = std::function<bool(int done, int total)>;

// Runs `work` (on another thread) and returns what it returned. The dialog
// shows only when the work takes longer than a moment.
std::string RunWithProgress(QWidget* parent, const QString& label,
                            const std::function<std::string(const WorkProgress&)>& work);

}  // namespace vst::ui
