// Reading a drawing from a file and writing it safely.
//
// Writing goes to a temporary file in the target's folder, which is flushed to disk
// and then renamed over the target: a crash, a full disk or a write error leaves the
// target as it was (at worst a stray temporary file beside it). Where no file may be
// replaced, the rename is one that fails on an existing target, so a file another
// process creates meanwhile is never lost either.
#pragma once

#include <string>
#include <string_view>
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

// Writes `bytes` as a new file: at `path` when no file has that name, else at the first
// free one of "NAME (2).EXT", "NAME (3).EXT" ... beside it; no file is ever replaced.
// `written` is set to the path used. Fails with the reason and the path, leaving nothing
// behind.
Status writeNewFile(std::string_view bytes, const std::string& path, std::string& written);

}  // namespace drawing
