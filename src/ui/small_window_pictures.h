// Pictures the small windows draw for themselves: the emblem of the start-up
// window and the certification badge of the about box.
#pragma once

#include <QPixmap>

namespace vst::ui {

// A traced pipe in section with rising steam, `size` pixels square.
QPixmap SteamEmblem(int size);

// A round quality certification badge, `size` pixels square.
QPixmap CertificationBadge(int size);

}  // namespace vst::ui
