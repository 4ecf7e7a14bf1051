// The HEADER section's variables of the DXF written from a DWG (the version, code page
// and handle seed are written by the caller).
#pragma once

#include <functional>
#include <string>

#include "dwg/dwg_drawing.h"
#include "dwg/dxf_out.h"

namespace dwg {

// The name of the table entry or block record with a handle ("" when there is none).
using NameOf = std::function<std::string(uint64_t)>;

void writeHeaderVariables(const DwgDrawing& drawing, const NameOf& nameOf, DxfOut& out);

}  // namespace dwg
