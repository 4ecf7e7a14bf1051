// Records that the audit adds to a drawing, written in the drawing's own format and
// version: from R13 on with a fresh handle, their owner and subclass markers; in R12
// with a handle when the drawing uses them and without owners or markers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "drawing/drawing.h"

namespace drawing {

// A table entry of `table` (LAYER, LTYPE, STYLE, DIMSTYLE or APPID) named `name`,
// owned by the table with handle `tableHandle`, with the settings of a new drawing.
std::string tableEntryRecord(Drawing& drawing, std::string_view table, std::string_view name,
                             uint64_t tableHandle);

// The pieces of an empty block definition named `name` (in the file's encoding): its
// BLOCK_RECORD entry (`handle` receives its handle), its BLOCK and its ENDBLK.
std::string blockRecordEntry(Drawing& drawing, const std::string& name, uint64_t tableHandle,
                             uint64_t& handle);
std::string blockBeginRecord(Drawing& drawing, const std::string& name, uint64_t blockRecord);
std::string blockEndRecord(Drawing& drawing, uint64_t blockRecord);

// The SEQEND that closes the attributes or vertices of the entity `parent`.
std::string seqendRecord(Drawing& drawing, size_t parent);

}  // namespace drawing
