// The arrangements of the "&Window" menu that the MDI area does not offer itself.
#pragma once

class QMdiArea;

namespace sonarchive::gui {

// The windows one above the other, each as wide as the area.
void TileHorizontally(QMdiArea& area);
// The windows side by side, each as high as the area.
void TileVertically(QMdiArea& area);
void MinimizeAll(QMdiArea& area);
// Lines the minimized windows up along the bottom of the area.
void ArrangeIcons(QMdiArea& area);

}  // namespace sonarchive::gui
