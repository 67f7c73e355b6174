// Draws a printout description (lines of text at print columns, rules) on a
// paged paint device: a printer, a print preview or a PDF file. Texts wrap
// inside the device's printable area; pages break where they are full and
// repeat the column heading in force.
#pragma once

#include <QString>
#include <string>

#include "reports/page_description.h"

class QIODevice;
class QPagedPaintDevice;

namespace vst::ui {

// Returns an empty text when every page was drawn, else the reason.
QString PaintPages(const PageDescription& page, QPagedPaintDevice& device);

// The description as a PDF document written to `device` on `paper` with
// 15 mm margins. Needs a QGuiApplication. Returns an empty text or the
// reason.
QString WritePdf(const PageDescription& page, QIODevice& device, Paper paper);

}  // namespace vst::ui
