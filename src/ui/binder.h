// Connects a window model's controls (a ControlSet) to a tree of Qt widgets
// whose objectNames are the control names. The binder draws every widget from
// its Control with the widget's signals blocked, so drawing never re-enters the
// model, and forwards what the user does to the model by control name.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

#include "workspace/controls.h"

class QWidget;
class QAction;

namespace vst::ui {

// What the binder forwards. Every member may be left empty.
struct BinderEvents {
  std::function<void(const std::string& name)> gotFocus;
  std::function<void(const std::string& name)> lostFocus;
  std::function<void(const std::string& name, const std::string& text)> textChanged;
  // Filters a typed character: returns the character to insert, 0 to drop it.
  std::function<char(const std::string& name, char key)> keyPress;
  // Any character typed anywhere in the window, before the control sees it.
  std::function<void()> windowKeyPress;
  std::function<void(const std::string& name, int index)> listClicked;
  std::function<void(const std::string& name, bool checked)> checkClicked;
  // Buttons and menu commands.
  std::function<void(const std::string& name)> clicked;
  // A tab of a tabbed panel chosen by the user.
  std::function<void(const std::string& name, int index)> tabChanged;
  // A scroll bar (the record spinner) moved by the user to a new position.
  std::function<void(const std::string& name, int position)> spinnerStep;
  // F1 released in a field: its help topic.
  std::function<void(const std::string& name)> helpKey;
  // A label or read-only field clicked with the mouse.
  std::function<void(const std::string& name)> labelClicked;
  // Runs after every forwarded event, once the window has been redrawn. The
  // argument is true for the outermost event; nested events (a dialog opened
  // by the model lets other events through) pass false.
  std::function<void(bool outermost)> afterEvent;
  // Called before every forwarded event: returns what puts the model back as
  // it was, for an event whose handling fails half way.
  std::function<std::function<void()>()> checkpoint;
  // The handling of the event of control `name` (empty for a call of
  // dispatch) failed with `reason`; the model has been put back. Without it
  // a message box titled "Error" names the command by its caption and says
  // why.
  std::function<void(const std::string& name, const std::string& reason)> failed;
};

class Binder : public QObject {
  Q_OBJECT
 public:
  // Binds every widget and action below root whose objectName names a
  // control of controls(). The control set must outlive the binder.
  Binder(std::function<const ControlSet&()> controls, QWidget* root, BinderEvents events,
         QObject* parent = nullptr);

  // Draws every bound widget from its control. Returns true when a widget
  // was shown or hidden (the window's layout then changes).
  bool redraw();

  // The bound widget or action of a control name, or null.
  QObject* find(const std::string& name) const;

  // Moves the keyboard focus to the named control's widget (a focus request
  // of the model). Unknown names are ignored.
  void focus(const std::string& name);

  // True once after any redraw that showed or hid a widget.
  bool takeLayoutChange() {
    const bool changed = layoutChangePending_;
    layoutChangePending_ = false;
    return changed;
  }

  // Runs a call that is not a widget's event (a timer tick, a gesture of
  // another window) as a forwarded event: redraw and afterEvent follow.
  void dispatch(const std::function<void()>& call) { forward({}, call); }

  // Names of controls without a widget (a layout check in tests).
  std::vector<std::string> unboundControls() const;

  // True while an event of this binder is being forwarded.
  bool busy() const { return depth_ > 0; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void bind(QObject* object);
  void draw(const Control& control, QObject* object);
  // Runs one forwarded event, then redraws and calls afterEvent. A handler
  // that throws is undone (checkpoint) and reported (failed).
  void forward(const std::string& name, const std::function<void()>& call);
  static std::string nameOf(const QObject* object);

  std::function<const ControlSet&()> controls_;
  QPointer<QWidget> root_;
  BinderEvents events_;
  QHash<QString, QPointer<QObject>> objects_;
  int depth_ = 0;
  bool drawing_ = false;
  bool shownOrHidden_ = false;        // set by draw()
  bool layoutChangePending_ = false;  // focus moves caused by hiding or disabling are not forwarded
};

// Sets a widget's background to an entry of the program's 16-colour palette
// (14 yellow, 15 white; other entries map to the classic palette).
void SetPaletteBackground(QWidget* widget, int paletteEntry);

}  // namespace vst::ui
