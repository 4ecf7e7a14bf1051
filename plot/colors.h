// The AutoCAD Color Index as plotted on white paper.
#pragma once

#include <QColor>

namespace plot {

// The colour of ACI `index` 1..255; 7 (white on a dark screen) plots black. Anything
// outside 1..255 gives black.
QColor aciColor(int index);

}  // namespace plot
