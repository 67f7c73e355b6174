// The preferences window `Setting`, a modal dialog over PreferencesModel:
// the insulation sizing list, the pressure unit list (Metric units only),
// " &Done" and the Notes menu.
#pragma once

#include <QDialog>
#include <optional>

#include "workspace/preferences_window.h"

namespace vst::ui {

class Binder;

class Setting : public QDialog {
  Q_OBJECT
 public:
  // The model must outlive the window.
  explicit Setting(PreferencesModel& model, QWidget* parent = nullptr);
  ~Setting() override;

  // What " &Done" decided; nothing while the window was closed otherwise.
  const std::optional<PreferencesOutcome>& outcome() const { return outcome_; }

 private:
  PreferencesModel& model_;
  Binder* binder_ = nullptr;
  std::optional<PreferencesOutcome> outcome_;
};

}  // namespace vst::ui
