#include "ui/pipe_shoe_forms.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/binder.h"

namespace vst::ui {
namespace {

template <class W>
W* Named(const char* name, W* widget) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* Caption(const char* name) {
  auto* label = Named(name, new QLabel);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QLineEdit* Box(const char* name) {
  auto* edit = Named(name, new QLineEdit);
  edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
  return edit;
}

QPushButton* Button(const char* name) {
  auto* button = Named(name, new QPushButton);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

// Dialog flags: a title bar without a close box, since only the dialog's
// own command may end it.
constexpr Qt::WindowFlags kFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

// Moves the keyboard focus to the model's focus control when it is elsewhere.
void FollowFocus(Binder& binder, QWidget* dialog, const std::string& name) {
  auto* target = qobject_cast<QWidget*>(binder.find(name));
  if (target && dialog->focusWidget() != target) binder.focus(name);
}

}  // namespace

PipeForm::PipeForm(PipeFormModel& model, QWidget* parent) : QDialog(parent, kFlags), model_(model) {
  setObjectName(QStringLiteral("PipeForm"));
  setWindowTitle(QString::fromStdString(model_.caption()));
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(8);
  auto* question = Caption("Label1");
  question->setWordWrap(true);
  question->setMinimumWidth(question->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 28);
  auto* top = new QHBoxLayout;
  top->addWidget(question, 1);
  auto* answer = Named("Combo2", new QComboBox);
  question->setBuddy(answer);
  top->addWidget(answer, 0, Qt::AlignVCenter);
  layout->addLayout(top);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  const char* rows[][3] = {{"Label2", "numvalves", nullptr},
                           {"Label3", "numflanges", nullptr},
                           {"Label4", "numpumps", nullptr},
                           {"Label5", "Text1", "Label6"}};
  int r = 0;
  for (auto& row : rows) {
    QLabel* caption = Caption(row[0]);
    QLineEdit* box = Box(row[1]);
    caption->setBuddy(box);  // its mnemonic and the box's accessible name
    grid->addWidget(caption, r, 0);
    grid->addWidget(box, r, 1);
    if (row[2]) grid->addWidget(Caption(row[2]), r, 2);
    ++r;
  }
  grid->setColumnStretch(3, 1);
  layout->addLayout(grid);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Button("Command1"));
  layout->addLayout(buttons);

  BinderEvents events;
  events.textChanged = [this](const std::string& n, const std::string& t) { model_.setText(n, t); };
  events.listClicked = [this](const std::string&, int i) { model_.selectAnswer(i); };
  events.gotFocus = [this](const std::string& n) { model_.setFocus(n); };
  events.keyPress = [this](const std::string&, char c) -> char {
    if (c != '\r') return c;
    model_.pressEnter();
    return 0;
  };
  events.clicked = [this](const std::string& n) {
    if (n == "Command1") model_.next();
  };
  events.afterEvent = [this](bool outermost) { afterEvent(outermost); };
  binder_ =
      new Binder([this]() -> const ControlSet& { return model_.controls(); }, this, std::move(events), this);
  binder_->redraw();
  binder_->focus(model_.focus());
}

bool PipeForm::event(QEvent* event) {
  // Each time the dialog becomes the active window its empty boxes read "0".
  if (event->type() == QEvent::WindowActivate && binder_ && !model_.closed()) {
    binder_->dispatch([this] { model_.activate(); });
  }
  return QDialog::event(event);
}

void PipeForm::afterEvent(bool outermost) {
  if (!outermost) return;
  if (model_.closed()) {
    accept();
    return;
  }
  FollowFocus(*binder_, this, model_.focus());
}

ShoeForm::ShoeForm(ShoeFormModel& model, QWidget* parent) : QDialog(parent, kFlags), model_(model) {
  setObjectName(QStringLiteral("ShoeForm"));
  setWindowTitle(QString::fromStdString(model_.caption()));
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(8);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  const char* rows[][2] = {{"Label1", "shoeln"}, {"Label2", "shoenum"}, {"Label3", "shoetot"}};
  int r = 0;
  for (auto& row : rows) {
    QLabel* caption = Caption(row[0]);
    QLineEdit* box = Box(row[1]);
    caption->setBuddy(box);
    grid->addWidget(caption, r, 0);
    grid->addWidget(box, r, 1);
    ++r;
  }
  layout->addLayout(grid);
  auto* buttons = new QHBoxLayout;
  for (const char* name : {"NextSize", "Redo", "Done"}) buttons->addWidget(Button(name));
  layout->addLayout(buttons);
  QLabel* kept = Caption("lblKept");
  kept->setWordWrap(true);
  layout->addWidget(kept);

  BinderEvents events;
  events.textChanged = [this](const std::string& n, const std::string& t) { model_.setText(n, t); };
  events.gotFocus = [this](const std::string& n) { model_.setFocus(n); };
  events.keyPress = [this](const std::string&, char c) -> char {
    if (c != '\r') return c;
    model_.pressEnter();
    return 0;
  };
  events.clicked = [this](const std::string& n) {
    if (n == "NextSize") model_.nextSize();
    if (n == "Redo") model_.clear();
    if (n == "Done") model_.done();
  };
  events.afterEvent = [this](bool outermost) { afterEvent(outermost); };
  binder_ =
      new Binder([this]() -> const ControlSet& { return model_.controls(); }, this, std::move(events), this);
  binder_->redraw();
  binder_->focus(model_.focus());
}

void ShoeForm::afterEvent(bool outermost) {
  if (!outermost) return;
  if (model_.closed()) {
    accept();
    return;
  }
  FollowFocus(*binder_, this, model_.focus());
}

}  // namespace vst::ui
