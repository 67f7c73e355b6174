// The desktop implementation of the dialogs interface: Qt message boxes, file
// dialogs and the fittings and pipe-shoe dialogs of a design. Every dialog
// runs modally; the caller waits while the window system keeps processing
// events (timers, repaints).
#pragma once

#include <QPointer>
#include <QWidget>

#include "workspace/dialogs.h"

namespace vst::ui {

class QtDialogs : public Dialogs {
 public:
  // Dialogs are centred over parent (the main window), or over the active
  // window when parent is null.
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  MsgAnswer message(const Message& message) override;
  std::optional<PipeFormAnswer> pipeForm(const PipeFormSetup& setup) override;
  std::optional<ShoeFormAnswer> shoeForm(const ShoeFormSetup& setup) override;
  std::optional<std::string> openFileName(const FileDialogSpec& spec) override;
  std::optional<std::size_t> chooseItem(const std::string& title, const std::string& label,
                                        const std::vector<std::string>& items) override;
  std::optional<std::string> saveFileName(const FileDialogSpec& spec) override;
  bool mapColumns(ColumnMappingModel& model) override;

 private:
  QWidget* dialogParent() const;
  QPointer<QWidget> parent_;
};

}  // namespace vst::ui
