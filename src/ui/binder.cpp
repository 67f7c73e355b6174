#include "ui/binder.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>
#include <exception>

#include "core/message_titles.h"
#include "ui/qt_text.h"

namespace vst::ui {
namespace {

// The classic 16-colour palette, indexed as the program's colour numbers.
QColor PaletteColor(int entry) {
  static const QColor kColors[16] = {{0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
                                     {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
                                     {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                                     {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
  if (entry < 0 || entry > 15) entry = kColorWhite;
  return kColors[entry];
}

// The tab widget that shows page as one of its tabs, or null.
QTabWidget* TabWidgetOfPage(QWidget* page, int* index) {
  auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
  if (!stack) return nullptr;
  auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
  if (!tabs) return nullptr;
  *index = tabs->indexOf(page);
  return *index >= 0 ? tabs : nullptr;
}

bool SameItems(const QComboBox* box, const std::vector<std::string>& items) {
  if (box->count() != static_cast<int>(items.size())) return false;
  for (int i = 0; i < box->count(); ++i) {
    if (box->itemText(i) != Q(items[static_cast<std::size_t>(i)])) return false;
  }
  return true;
}

// Focus changes that the window system makes on its own (another window
// activated, a list's drop-down opened) are not the user moving between fields.
bool IsFieldFocusChange(const QFocusEvent* event) {
  const Qt::FocusReason reason = event->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

void SetPaletteBackground(QWidget* widget, int paletteEntry) {
  const QColor color = PaletteColor(paletteEntry);
  QPalette palette = widget->palette();
  const QPalette::ColorRole role = qobject_cast<QLineEdit*>(widget) ? QPalette::Base : QPalette::Window;
  if (palette.color(role) == color) return;
  palette.setColor(role, color);
  palette.setColor(role == QPalette::Base ? QPalette::Text : QPalette::WindowText, Qt::black);
  widget->setPalette(palette);
}

Binder::Binder(std::function<const ControlSet&()> controls, QWidget* root, BinderEvents events,
               QObject* parent)
    : QObject(parent), controls_(std::move(controls)), root_(root), events_(std::move(events)) {
  QHash<QString, QObject*> byName;
  const auto widgets = root->findChildren<QWidget*>();
  for (QWidget* w : widgets) {
    if (!w->objectName().isEmpty()) byName.insert(w->objectName(), w);
  }
  const auto actions = root->findChildren<QAction*>();
  for (QAction* a : actions) {
    if (!a->objectName().isEmpty() && !byName.contains(a->objectName())) byName.insert(a->objectName(), a);
  }
  if (!root->objectName().isEmpty()) byName.insert(root->objectName(), root);
  for (const Control& c : controls_().all()) {
    auto it = byName.find(Q(c.name));
    if (it == byName.end()) continue;
    objects_.insert(it.key(), it.value());
    bind(it.value());
  }
}

std::string Binder::nameOf(const QObject* object) { return object->objectName().toStdString(); }

QObject* Binder::find(const std::string& name) const {
  auto it = objects_.find(Q(name));
  return it == objects_.end() ? nullptr : it.value().data();
}

std::vector<std::string> Binder::unboundControls() const {
  std::vector<std::string> names;
  for (const Control& c : controls_().all()) {
    if (!find(c.name)) names.push_back(c.name);
  }
  return names;
}

void Binder::forward(const std::string& name, const std::function<void()>& call) {
  struct Depth {
    int& d;
    explicit Depth(int& depth) : d(depth) { ++d; }
    ~Depth() { --d; }
  } depth(depth_);
  const std::function<void()> undo = events_.checkpoint ? events_.checkpoint() : std::function<void()>();
  // An exception must not unwind through Qt's event loop: the model is put
  // back as it was before the event, the window redrawn from it, and the
  // user told what failed.
  const auto failed = [&](const std::string& reason) {
    qCritical("window model error: %s", reason.c_str());
    if (undo) undo();
    redraw();
    if (events_.failed) {
      events_.failed(name, reason);
    } else {
      const ControlSet& controls = controls_();
      const std::string what = controls.has(name) ? CommandCaption(controls[name].text) : std::string();
      QMessageBox::warning(root_, Q(kErrorTitle), Q(CommandFailedText(what, reason)));
    }
    if (events_.afterEvent) events_.afterEvent(depth_ == 1);
  };
  std::string reason;
  try {
    call();
    redraw();
    if (events_.afterEvent) events_.afterEvent(depth_ == 1);
    return;
  } catch (const std::exception& e) {
    reason = e.what();
  } catch (...) {
    reason = "an unknown error";
  }
  try {
    failed(reason);
  } catch (const std::exception& e) {
    qCritical("window model error while reporting an error: %s", e.what());
  } catch (...) {
    qCritical("window model error while reporting an error");
  }
}

void Binder::bind(QObject* object) {
  const std::string name = nameOf(object);
  if (auto* edit = qobject_cast<QLineEdit*>(object)) {
    connect(edit, &QLineEdit::textChanged, this, [this, name](const QString& text) {
      if (events_.textChanged) forward(name, [&] { events_.textChanged(name, text.toStdString()); });
    });
    edit->installEventFilter(this);
  } else if (auto* box = qobject_cast<QComboBox*>(object)) {
    connect(box, &QComboBox::activated, this, [this, name](int index) {
      if (events_.listClicked) forward(name, [&] { events_.listClicked(name, index); });
    });
    box->installEventFilter(this);
  } else if (auto* check = qobject_cast<QCheckBox*>(object)) {
    connect(check, &QCheckBox::clicked, this, [this, name](bool checked) {
      if (events_.checkClicked) forward(name, [&] { events_.checkClicked(name, checked); });
    });
    check->installEventFilter(this);
  } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
    connect(button, &QAbstractButton::clicked, this, [this, name] {
      if (events_.clicked) forward(name, [&] { events_.clicked(name); });
    });
    button->installEventFilter(this);
  } else if (auto* action = qobject_cast<QAction*>(object)) {
    connect(action, &QAction::triggered, this, [this, name] {
      if (events_.clicked) forward(name, [&] { events_.clicked(name); });
    });
  } else if (auto* tabs = qobject_cast<QTabWidget*>(object)) {
    connect(tabs, &QTabWidget::currentChanged, this, [this, name](int index) {
      if (events_.tabChanged) forward(name, [&] { events_.tabChanged(name, index); });
    });
  } else if (auto* bar = qobject_cast<QScrollBar*>(object)) {
    connect(bar, &QScrollBar::valueChanged, this, [this, name](int position) {
      if (events_.spinnerStep) forward(name, [&] { events_.spinnerStep(name, position); });
    });
    bar->installEventFilter(this);
  } else if (auto* widget = qobject_cast<QWidget*>(object)) {
    widget->installEventFilter(this);
  }
}

bool Binder::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      if (drawing_ || !IsFieldFocusChange(static_cast<QFocusEvent*>(event))) break;
      const std::string name = nameOf(watched);
      if (event->type() == QEvent::FocusIn && events_.gotFocus) {
        forward(name, [&] { events_.gotFocus(name); });
      } else if (event->type() == QEvent::FocusOut && events_.lostFocus) {
        forward(name, [&] { events_.lostFocus(name); });
      }
      break;
    }
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      // A shortcut (Ctrl+C on an output, Ctrl+S) types nothing: it is not a
      // change to the set.
      if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) break;
      const QString text = key->text();
      if (text.size() != 1 || text[0].unicode() >= 128 || text[0] == QLatin1Char('\t')) break;
      const char typed = static_cast<char>(text[0].unicode());
      char result = typed;
      const std::string name = nameOf(watched);
      forward(name, [&] {
        if (events_.windowKeyPress) events_.windowKeyPress();
        if (events_.keyPress) result = events_.keyPress(name, typed);
      });
      if (result == typed) break;
      if (result != 0) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && !edit->isReadOnly()) {
          edit->insert(QString(QChar(result)));
        }
      }
      return true;  // dropped or replaced
    }
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_F1 && !key->isAutoRepeat() && events_.helpKey) {
        const std::string name = nameOf(watched);
        forward(name, [&] { events_.helpKey(name); });
      }
      break;
    }
    case QEvent::MouseButtonRelease: {
      auto* edit = qobject_cast<QLineEdit*>(watched);
      const bool field = qobject_cast<QLabel*>(watched) || (edit && edit->isReadOnly());
      if (field && events_.labelClicked) {
        const std::string name = nameOf(watched);
        forward(name, [&] { events_.labelClicked(name); });
      }
      break;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

bool Binder::redraw() {
  const bool wasDrawing = drawing_;
  drawing_ = true;
  shownOrHidden_ = false;
  for (const Control& c : controls_().all()) {
    if (QObject* object = find(c.name)) draw(c, object);
  }
  drawing_ = wasDrawing;
  if (shownOrHidden_) layoutChangePending_ = true;
  return shownOrHidden_;
}

void Binder::draw(const Control& c, QObject* object) {
  const QSignalBlocker blocker(object);
  if (auto* action = qobject_cast<QAction*>(object)) {
    if (action->text() != Q(c.text) && !c.text.empty()) action->setText(Q(c.text));
    if (action->isVisible() != c.visible) {
      action->setVisible(c.visible);
      shownOrHidden_ = true;
    }
    action->setEnabled(c.enabled);
    if (action->isCheckable()) action->setChecked(c.checked);
    return;
  }
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget) return;

  // A tab page is drawn through its tab: the tab widget decides which page is
  // visible.
  int tabIndex = -1;
  if (QTabWidget* tabs = TabWidgetOfPage(widget, &tabIndex)) {
    const QSignalBlocker tabBlocker(tabs);
    if (!c.text.empty() && tabs->tabText(tabIndex) != Q(c.text)) tabs->setTabText(tabIndex, Q(c.text));
    tabs->setTabEnabled(tabIndex, c.enabled);
    if (tabs->isTabVisible(tabIndex) != c.visible) {
      tabs->setTabVisible(tabIndex, c.visible);
      shownOrHidden_ = true;
    }
    return;
  }

  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    if (edit->text() != Q(c.text)) edit->setText(Q(c.text));
    SetPaletteBackground(edit, c.backColor);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    if (label->text() != Q(c.text)) label->setText(Q(c.text));
    if (label->autoFillBackground()) SetPaletteBackground(label, c.backColor);
  } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
    if (!SameItems(box, c.items)) {
      box->clear();
      for (const std::string& item : c.items) box->addItem(Q(item));
    }
    const int index = c.index < box->count() ? c.index : -1;
    if (box->currentIndex() != index) box->setCurrentIndex(index);
  } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
    if (!c.text.empty() && check->text() != Q(c.text)) check->setText(Q(c.text));
    check->setChecked(c.checked);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    if (!c.text.empty() && button->text() != Q(c.text)) button->setText(Q(c.text));
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    if (!c.text.empty() && group->title() != Q(c.text)) group->setTitle(Q(c.text));
  } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
    for (std::size_t i = 0; i < c.items.size() && static_cast<int>(i) < tabs->count(); ++i) {
      tabs->setTabText(static_cast<int>(i), Q(c.items[i]));
    }
    if (c.index >= 0 && c.index < tabs->count() && tabs->currentIndex() != c.index) {
      tabs->setCurrentIndex(c.index);
    }
  } else if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
    if (bar->value() != c.index) bar->setValue(c.index);
  }

  if (widget != root_) {
    if (widget->isHidden() == c.visible) {
      widget->setVisible(c.visible);
      shownOrHidden_ = true;
    }
  }
  if (widget->testAttribute(Qt::WA_Disabled) == c.enabled) widget->setEnabled(c.enabled);
}

void Binder::focus(const std::string& name) {
  auto* widget = qobject_cast<QWidget*>(find(name));
  if (!widget) return;
  widget->setFocus(Qt::OtherFocusReason);
}

}  // namespace vst::ui
