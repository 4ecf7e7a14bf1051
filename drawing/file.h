// Reading a drawing from a file and writing it safely.
//
// Writing goes to a temporary file in the target's folder, which is flushed to disk
// and then renamed over the target: a crash, a full disk or a write error leaves the
// target as it was (at worst a stray temporary file beside it).
#pragma once

#include <string>
#include <vector>

#include "drawing/drawing.h"

namespace drawing {

// Where a drawing read from a file came from: DXF, or a foreign format (DWG) that was
// translated into DXF, with what the translation left out.
struct DrawingSource {
    std::string format;              // empty for DXF, else the format's name ("DWG")
    std::vector<std::string> notes;  // one line per kind of thing left out
};

// Reads the file at `path` into `drawing`, through a registered foreign format
// (foreign_format.h) when one takes the file's first bytes. Fails with the reason
// (status.h) and the path; what is not a regular file (a folder, a named pipe, a device)
// is refused without waiting for data. `source`, when given, says where the drawing
// came from.
Status readDrawingFile(const std::string& path, Drawing& drawing, DrawingSource* source = nullptr);

enum class WriteMode {
    Replace,  // the target may exist and is replaced
    NewOnly,  // the target must not exist; an existing file is left alone
};

// Writes the drawing to `path`. Fails with the reason and the path; then the target
// is unchanged and no temporary file is left behind.
Status writeDrawingFile(const Drawing& drawing, const std::string& path, WriteMode mode);

}  // namespace drawing
