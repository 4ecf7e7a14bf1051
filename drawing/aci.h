// The AutoCAD Color Index: the colour of each index, and the index nearest a colour,
// which DXF writes beside a true colour.
#pragma once

#include <cstdint>

namespace drawing {

// The colour (0xRRGGBB) of ACI `index` 1..255 as on a dark screen (7 is white); 0
// outside 1..255.
uint32_t aciRgb(int index);

// The index 1..255 whose colour is nearest to `rgb` (0xRRGGBB); of equally near ones
// the lowest.
int nearestAci(uint32_t rgb);

}  // namespace drawing
