// Layout sizes given in twips (1/1440 in) become pixels here, and only here,
// at the resolution of the screen a widget is shown on.
#pragma once

class QWidget;

namespace vst::ui {

inline constexpr int kTwipsPerInch = 1440;

// The pixels of a length in twips at the widget's logical screen resolution
// (rounded; a positive length is never less than one pixel).
int TwipsToPixels(int twips, const QWidget& widget);

}  // namespace vst::ui
