#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QMessageBox>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <utility>

#include "ui/column_mapping_dialog.h"
#include "ui/pipe_shoe_forms.h"
#include "ui/qt_text.h"

namespace vst::ui {
namespace {

QMessageBox::Icon IconOf(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::Question:
      return QMessageBox::Question;
    case MsgIcon::Exclamation:
      return QMessageBox::Warning;
    case MsgIcon::Critical:
      return QMessageBox::Critical;
    case MsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QString FilterText(const FileDialogSpec& spec) {
  QStringList filters;
  for (const std::string& f : spec.filters) filters << Q(f);
  return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> PathOf(const QString& chosen) {
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

// The same file, whatever the spelling of its path.
bool SameFile(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty()) return false;
  const QFileInfo fa(a);
  const QFileInfo fb(b);
  const QString ca = fa.canonicalFilePath();
  const QString cb = fb.canonicalFilePath();
  if (!ca.isEmpty() && !cb.isEmpty()) return ca == cb;
  return fa.absoluteFilePath() == fb.absoluteFilePath();
}

// Leaves one file (the template) out of the dialog's list.
class HideFileProxy : public QSortFilterProxyModel {
 public:
  HideFileProxy(QString hidden, QObject* parent)
      : QSortFilterProxyModel(parent), hidden_(std::move(hidden)) {}

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files || hidden_.isEmpty()) return true;
    return !SameFile(files->filePath(files->index(row, 0, parent)), hidden_);
  }

 private:
  QString hidden_;
};

// The program's own file dialog (the same on every desktop): it starts in
// the folder it is given, hides the refused file, adds the default suffix to
// a name without one, and refuses the refused file as soon as it is chosen,
// before any question about replacing it.
class DesignFileDialog : public QFileDialog {
 public:
  DesignFileDialog(QWidget* parent, const FileDialogSpec& spec, AcceptMode mode)
      : QFileDialog(parent, Q(spec.title), QString(), FilterText(spec)),
        refused_(Q(spec.refusedFile)),
        refusedMessage_(Q(spec.refusedMessage)) {
    setObjectName(mode == AcceptSave ? QStringLiteral("SaveFileDialog") : QStringLiteral("OpenFileDialog"));
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(mode);
    setFileMode(mode == AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!spec.defaultSuffix.empty()) setDefaultSuffix(Q(spec.defaultSuffix));
    if (!refused_.isEmpty()) setProxyModel(new HideFileProxy(refused_, this));
    // The folder and the proposed name apart: a folder that is missing must
    // not become the file name.
    setDirectory(Q(spec.startFolder));
    if (!spec.fileName.empty()) selectFile(Q(spec.fileName));
  }

  void accept() override {
    const QStringList files = selectedFiles();
    for (const QString& file : files) {
      if (SameFile(file, refused_)) {
        QMessageBox::warning(this, windowTitle(), refusedMessage_);
        return;
      }
    }
    QFileDialog::accept();
  }

 private:
  QString refused_;
  QString refusedMessage_;
};

std::optional<std::string> RunFileDialog(QWidget* parent, const FileDialogSpec& spec,
                                         QFileDialog::AcceptMode mode) {
  DesignFileDialog dialog(parent, spec, mode);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? std::nullopt : PathOf(files.first());
}

}  // namespace

QWidget* QtDialogs::dialogParent() const {
  if (QWidget* active = QApplication::activeModalWidget()) return active;
  // A window of the program opened from the main window (the Line List
  // window) keeps its dialogs: closed, they give the focus back to it, not to
  // the main window.
  QWidget* window = QApplication::activeWindow();
  for (QWidget* w = window; w && parent_; w = w->parentWidget()) {
    if (w == parent_) return window;
  }
  if (parent_) return parent_;
  return window;
}

MsgAnswer QtDialogs::message(const Message& message) {
  QMessageBox box(dialogParent());
  box.setIcon(IconOf(message.icon));
  // A box without a title of its own shows the program's title, as the
  // window system would.
  box.setWindowTitle(message.title.empty() ? QString::fromUtf8(kProgramTitle) : Q(message.title));
  box.setText(Q(message.text));
  box.setTextFormat(Qt::PlainText);
  // System-modal boxes become application-modal: nothing else of the
  // program takes input while one is open, which is what the box is for.
  box.setWindowModality(Qt::ApplicationModal);
  switch (message.buttons) {
    case MsgButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MsgButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case MsgButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  box.exec();
  QAbstractButton* pressed = box.clickedButton();
  switch (box.standardButton(pressed)) {
    case QMessageBox::Yes:
      return MsgAnswer::Yes;
    case QMessageBox::No:
      return MsgAnswer::No;
    case QMessageBox::Cancel:
      return MsgAnswer::Cancel;
    default:
      break;
  }
  // Closed without a button: an OK box was acknowledged, a question cancelled.
  return message.buttons == MsgButtons::Ok      ? MsgAnswer::Ok
         : message.buttons == MsgButtons::YesNo ? MsgAnswer::No
                                                : MsgAnswer::Cancel;
}

std::optional<PipeFormAnswer> QtDialogs::pipeForm(const PipeFormSetup& setup) {
  PipeFormModel model(setup, *this);
  PipeForm form(model, dialogParent());
  form.exec();
  return model.result();
}

std::optional<ShoeFormAnswer> QtDialogs::shoeForm(const ShoeFormSetup& setup) {
  ShoeFormModel model(setup, *this);
  ShoeForm form(model, dialogParent());
  form.exec();
  return model.result();
}

std::optional<std::string> QtDialogs::openFileName(const FileDialogSpec& spec) {
  return RunFileDialog(dialogParent(), spec, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtDialogs::saveFileName(const FileDialogSpec& spec) {
  return RunFileDialog(dialogParent(), spec, QFileDialog::AcceptSave);
}

bool QtDialogs::mapColumns(ColumnMappingModel& model) {
  ColumnMappingDialog dialog(model, *this, dialogParent());
  return dialog.exec() == QDialog::Accepted;
}

std::optional<std::size_t> QtDialogs::chooseItem(const std::string& title, const std::string& label,
                                                 const std::vector<std::string>& items) {
  QStringList names;
  for (const auto& item : items) names << QString::fromStdString(item);
  bool ok = false;
  const QString chosen = QInputDialog::getItem(dialogParent(), QString::fromStdString(title),
                                               QString::fromStdString(label), names, 0, false, &ok);
  if (!ok) return std::nullopt;
  const auto at = names.indexOf(chosen);
  return at < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(at));
}

}  // namespace vst::ui
