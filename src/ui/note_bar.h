// The pale yellow bar that carries a note above a window's table (the
// columns a list does not read, the offer of the other unit system).
#pragma once

#include <QFrame>
#include <QLabel>
#include <QString>

namespace vst::ui {

// An empty note bar named `name`: a panel in a warning's pale yellow with
// black text. The caller gives it its layout.
QFrame* MakeNoteBar(const QString& name);

// The bar's note: plain text, wrapped, named `name`.
QLabel* MakeNoteLabel(const QString& name);

}  // namespace vst::ui
