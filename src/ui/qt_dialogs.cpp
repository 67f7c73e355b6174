#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "ui/pipe_shoe_forms.h"

namespace vst::ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

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

}  // namespace

QWidget* QtDialogs::dialogParent() const {
  if (QWidget* active = QApplication::activeModalWidget()) return active;
  if (parent_) return parent_;
  return QApplication::activeWindow();
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
  return PathOf(
      QFileDialog::getOpenFileName(dialogParent(), Q(spec.title), Q(spec.startFolder), FilterText(spec)));
}

std::optional<std::string> QtDialogs::saveFileName(const FileDialogSpec& spec) {
  return PathOf(
      QFileDialog::getSaveFileName(dialogParent(), Q(spec.title), Q(spec.startFolder), FilterText(spec)));
}

}  // namespace vst::ui
