// The about box `AboutForm` (not modal): program, brand, version, legal
// warning, maker, and the certification picture `imgISO`, which takes the
// keyboard focus and carries the program-mode gesture to AboutBoxModel.
#pragma once

#include <QDialog>
#include <functional>

#include "workspace/about_windows.h"

namespace vst::ui {

class Binder;

class AboutForm : public QDialog {
  Q_OBJECT
 public:
  // toggle switches the program mode (the main window's model supplies it).
  explicit AboutForm(std::function<void()> toggle, QWidget* parent = nullptr);
  ~AboutForm() override;

  const AboutBoxModel& model() const { return model_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  AboutBoxModel model_;
  Binder* binder_ = nullptr;
  QWidget* picture_ = nullptr;
};

}  // namespace vst::ui
