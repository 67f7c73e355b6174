// The start-up window `About_Form`: the program's title, version and maker,
// and the two commands that choose the unit system of the run.
#pragma once

#include <QDialog>
#include <memory>

#include "workspace/about_windows.h"

namespace vst::ui {

class Binder;

class About_Form : public QDialog {
  Q_OBJECT
 public:
  explicit About_Form(QWidget* parent = nullptr);
  ~About_Form() override;

  const StartupModel& model() const { return model_; }

 signals:
  // units: 0 English, 1 Metric (UnitSystem); pressureUnit: 0 psig, 2 bar g.
  // Emitted before the window closes.
  void unitSystemChosen(int units, int pressureUnit);

 private:
  StartupModel model_;
  Binder* binder_ = nullptr;
};

}  // namespace vst::ui
