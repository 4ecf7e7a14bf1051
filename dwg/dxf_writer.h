// Writing a DWG drawing as DXF text of the same version: header, classes, tables,
// blocks, entities and objects, in the arrangement the drawing program writes them,
// with every reference to a table entry or block given by its name.
#pragma once

#include <string>

#include "dwg/dwg_drawing.h"

namespace dwg {

// "AC1015" and the like for `version`.
const char* versionName(Version version);

// The drawing as ASCII DXF; texts stay in the file's coding (the code page up to 2004,
// UTF-8 from 2007).
std::string writeDxf(const DwgDrawing& drawing);

// The $DWGCODEPAGE name of a DWG code page number ("ANSI_936" for 30); ANSI_1252 for
// numbers it does not know.
std::string codePageName(uint16_t number);

}  // namespace dwg
