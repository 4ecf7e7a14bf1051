// What every table entry begins with: its name, its flags (70) and the handle of its
// external reference; and the subclass markers of its DXF record.
#pragma once

#include "dwg/object_frame.h"
#include "dwg/record.h"

namespace dwg {

// Reads the name (into r.name) and the flags, and the external reference's handle
// after the common handles; returns the 70 flags.
int readEntryStart(ObjectFrame& f, Record& r);
// Marks the record a table entry of `subclass`.
void entryMarkers(Record& r, const char* subclass);

}  // namespace dwg
