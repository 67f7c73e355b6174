// Small helpers of the Qt skin: the program's UTF-8 text as a QString, a
// label named after its control, and a font scaled from a window's own.
#pragma once

#include <QFont>
#include <QLabel>
#include <QString>
#include <string_view>

namespace vst::ui {

inline QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A label whose objectName is `name` (tests and the skin find it by it).
inline QLabel* NamedLabel(const char* name, QWidget* parent, Qt::Alignment alignment = {}) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  if (alignment) label->setAlignment(alignment);
  return label;
}

// `font` at `factor` times its point size (a font sized in pixels keeps its
// size), bold or not.
inline QFont Scaled(QFont font, double factor, bool bold) {
  if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * factor);
  font.setBold(bold);
  return font;
}

}  // namespace vst::ui
