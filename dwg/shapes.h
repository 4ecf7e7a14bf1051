// SHAPE entities name their shape in DXF, while DWG keeps only its number and the text
// style whose shape file (.shx) holds it. The names are read from those shape files,
// looked up by their file name in the drawing's folder; a shape whose file or number
// is not found there is left out and counted as not translated.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dwg/dwg_drawing.h"

namespace dwg {

// The name of shape `number` in the bytes of a compiled shape file; none when the
// bytes are no shape file or lack the shape.
std::optional<std::string> shapeName(std::string_view shx, int number);

// Names every SHAPE of `d` from the shape files in `d.folder`, or leaves it out.
void nameShapes(DwgDrawing& d);

}  // namespace dwg
