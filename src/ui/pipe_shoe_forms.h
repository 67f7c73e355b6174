// The fittings dialog PipeForm and the pipe-shoe dialog ShoeForm of a
// design: modal Qt dialogs over their toolkit-free models. The Enter key
// moves through the fields in the model's order; a refused entry keeps the
// dialog open; the dialog closes only when its model is closed.
#pragma once

#include <QDialog>

#include "workspace/allowance_forms.h"

namespace vst::ui {

class Binder;

class PipeForm : public QDialog {
  Q_OBJECT
 public:
  PipeForm(PipeFormModel& model, QWidget* parent = nullptr);
  PipeFormModel& model() { return model_; }
  Binder& binder() { return *binder_; }

  // Closing without "&Next" is not possible: the design waits for the answer.
  void reject() override {}

 protected:
  bool event(QEvent* event) override;

 private:
  void afterEvent(bool outermost);
  PipeFormModel& model_;
  Binder* binder_ = nullptr;
};

class ShoeForm : public QDialog {
  Q_OBJECT
 public:
  ShoeForm(ShoeFormModel& model, QWidget* parent = nullptr);
  ShoeFormModel& model() { return model_; }
  Binder& binder() { return *binder_; }

  // Closing without "&Done" is not possible: the design waits for the total.
  void reject() override {}

 private:
  void afterEvent(bool outermost);
  ShoeFormModel& model_;
  Binder* binder_ = nullptr;
};

}  // namespace vst::ui
