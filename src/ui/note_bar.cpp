#include "ui/note_bar.h"

#include <QColor>
#include <QPalette>

namespace vst::ui {

QFrame* MakeNoteBar(const QString& name) {
  auto* bar = new QFrame;
  bar->setObjectName(name);
  bar->setFrameShape(QFrame::StyledPanel);
  bar->setAutoFillBackground(true);
  QPalette palette = bar->palette();
  palette.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xCE));  // a warning's pale yellow
  palette.setColor(QPalette::WindowText, Qt::black);
  bar->setPalette(palette);
  return bar;
}

QLabel* MakeNoteLabel(const QString& name) {
  auto* note = new QLabel;
  note->setObjectName(name);
  note->setTextFormat(Qt::PlainText);
  note->setWordWrap(true);
  return note;
}

}  // namespace vst::ui
