#include "ui/twips.h"

#include <QWidget>
#include <cmath>

namespace vst::ui {

int TwipsToPixels(int twips, const QWidget& widget) {
  const int dpi = widget.logicalDpiX();
  const long pixels = std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch);
  if (twips > 0 && pixels < 1) return 1;
  return static_cast<int>(pixels);
}

}  // namespace vst::ui
