// What the DWG reader's tests share: a file's bytes, a drawing's container and classes
// read whole, one of its objects opened up to its own data as the reader opens it, and a
// drawing file read as the engine opens it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "drawing/file.h"
#include "dwg/classes.h"
#include "dwg/container.h"
#include "dwg/object_frame.h"
#include "dwg/object_types.h"
#include "dwg/record.h"

namespace dwg {

// The bytes of `path`; of a file of dwg/testdata when `path` is a bare name.
std::vector<uint8_t> fileBytes(const std::filesystem::path& path);

struct OpenedDwg {
    Container container;
    std::vector<DwgClass> classes;
};

// Reads the container and the classes of `path` (as fileBytes finds it) into `out`.
::testing::AssertionResult openDwg(const std::filesystem::path& path, OpenedDwg& out);

// Opens the object at `offset` of `objects` (the drawing's own, or a changed copy of
// them) and reads its common data into `record`, whose type it names; its type.
ObjectType openObject(const OpenedDwg& d, const std::vector<uint8_t>& objects, uint64_t offset,
                      ObjectFrame& frame, Record& record);

struct ReadDrawing {
    drawing::Drawing drawing;
    drawing::DrawingSource source;  // with the notes of what a DWG left out
};

// Reads the drawing file `path`, DWG or DXF, as the engine opens it.
::testing::AssertionResult readDrawing(const std::filesystem::path& path, ReadDrawing& out);

}  // namespace dwg
