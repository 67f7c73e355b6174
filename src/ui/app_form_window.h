// The Applications panel window `AppForm` (not modal): the panel's picture
// from the program's folder, its caption, and its text printed line by line
// below the picture, product names in bold. Menu commands "&Print" (printer
// dialog, then the panel as shown) and "&Return" (closes).
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <memory>
#include <string>

#include "core/design_record.h"
#include "workspace/app_form.h"

class QPainter;
class QPrinter;

namespace vst {
class Dialogs;
}

namespace vst::ui {

class Binder;
class QtDialogs;
class PanelCanvas;

class AppForm : public QMainWindow {
  Q_OBJECT
 public:
  // `units`: the session's unit system, which gives the paper when the
  // printer has none of its own. `dialogs` reports a failed print job; null
  // uses the desktop's message boxes.
  explicit AppForm(UnitSystem units, QWidget* parent = nullptr, Dialogs* dialogs = nullptr);
  ~AppForm() override;

  // Shows the panel of an Applications menu item ("cond1"), replacing what
  // the window showed. A picture that cannot be loaded leaves the panel
  // without one; the text is printed all the same. Unknown names change
  // nothing.
  void showPanel(const std::string& menuItem);

  const AppFormModel& model() const { return model_; }
  // The picture shown (null when the file was missing or unreadable).
  const QImage& picture() const { return picture_; }
  // The folder pictures are read from (the program's folder by default).
  void setPictureFolder(const QString& folder) { pictureFolder_ = folder; }

  // Prints the panel as the window shows it, scaled to the printer's page.
  // Returns an empty text when printed, else the reason it failed.
  QString print(QPrinter& printer) const;

  // Draws the panel (picture, then the text lines) with its top left at the
  // painter's origin; returns the size drawn.
  QSize paintPanel(QPainter& painter) const;

 private:
  void printWithDialog();

  UnitSystem units_;
  std::unique_ptr<QtDialogs> ownDialogs_;
  Dialogs* dialogs_ = nullptr;
  AppFormModel model_;
  Binder* binder_ = nullptr;
  PanelCanvas* canvas_ = nullptr;
  QImage picture_;
  QString pictureFolder_;
};

}  // namespace vst::ui
