// What a LEADER shows in DXF beyond what its DWG object stores: the hook line to its
// annotation, drawn from the arrow size of its dimension style, and from 2010 on the
// size of its MTEXT's box.
#pragma once

#include "dwg/dwg_drawing.h"

namespace dwg {

void completeLeaders(DwgDrawing& drawing);

}  // namespace dwg
