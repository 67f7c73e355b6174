// Printing a window as it is shown: the print commands of the main window,
// the circuit list, the ratings window and the application panels. The
// window's own drawing is replayed on the page (texts stay texts, so a PDF
// of it can be searched), scaled to one page in proportion.
#pragma once

#include <QString>

#include "core/design_record.h"

class QPaintDevice;
class QWidget;

namespace vst {
class Dialogs;
}

namespace vst::ui {

// Draws the window's contents on one page of `device`: as large as the page
// allows, in proportion, from the page's top left. Returns an empty text on
// success, else the reason.
QString PaintWindowOnPage(QWidget& window, QPaintDevice& device);

// The print command of a window: the printer dialog (its paper as
// PrintWithDialog starts it for the session's `units`), then the window on
// one page. Cancelling prints nothing; a job that fails is reported through
// `dialogs` ("Error"). The window itself is left as it was either way.
bool PrintWindow(QWidget& window, Dialogs& dialogs, UnitSystem units);

}  // namespace vst::ui
