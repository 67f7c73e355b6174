// Printing from the windows. Every print command goes through
// PrintWithDialog: the printer dialog (where "Print to File (PDF)" is offered
// too), then the window's own drawing on the chosen printer. A cancelled
// dialog prints nothing and says nothing; a job that fails after the dialog
// was accepted is reported in an "Error" message with its reason.
//
// Tests replace the dialog with SetPrinterChooser (for example one that points
// the printer at a PDF file), so printing is tested without a printer and
// without a person to answer.
#pragma once

#include <QPageSize>
#include <QString>
#include <functional>

#include "reports/page_description.h"

class QImage;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace vst {
class Dialogs;
}

namespace vst::ui {

// Asks where to print and sets up `printer` for it. False: cancelled.
using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;

// Replaces the printer dialog; an empty chooser restores it.
void SetPrinterChooser(PrinterChooser chooser);

// Draws one job on `printer`. Returns an empty text when the job was drawn,
// else the reason it failed (shown to the user).
using PrintJob = std::function<QString(QPrinter& printer)>;

// The printer dialog, then `job`. The dialog starts on the default
// printer's own paper where it has one, else on the session's paper (Letter
// for inch-pound `units`, A4 for SI). Returns true when the job was printed.
bool PrintWithDialog(QWidget* parent, Dialogs& dialogs, UnitSystem units, const PrintJob& job);

// The page size of a paper.
QPageSize PaperSize(Paper paper);

// The page size of a paper.
QPageSize PaperSize(Paper paper);

// The page size of a paper.
QPageSize PaperSize(Paper paper);

// Draws `image` on one page of `device`: as large as the page allows, in
// proportion, from the page's top left. Returns an empty text on success,
// else the reason (for example a printer that could not start).
QString PaintImageOnPage(const QImage& image, QPaintDevice& device);

// The image of a window's client area as it is shown, for printing.
QImage WindowImage(QWidget& window);

}  // namespace vst::ui
