// The DWG reader as the drawing engine sees it: a foreign format that takes files
// beginning with "AC10" and translates them into DXF of the same version, with one
// note line per kind of thing it left out.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "drawing/foreign_format.h"
#include "dwg/dwg_drawing.h"

namespace dwg {

// Registers the DWG reader with the engine (drawing/foreign_format.h). The programs
// call it at start.
void installDwgReader();

// The DXF text and the notes of a DWG file; fails with a reason in the user's language
// (one that names the version for DWG of R12 and before). Shape files are looked up
// beside `out.path` when it is given.
drawing::Status translateDwg(std::span<const uint8_t> file, drawing::Translation& out);

// The note lines of what a read drawing left out.
std::vector<std::string> omissionNotes(const DwgDrawing& drawing);

}  // namespace dwg
