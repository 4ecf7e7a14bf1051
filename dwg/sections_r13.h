// The container of R13, R14 and 2000 (AC1012–AC1015): a file header with a table of
// section locators (number, file offset, size), the sections stored plainly in the
// file, and objects addressed by their offset in the whole file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "dwg/container.h"

namespace dwg {

// Reads the container of an R13–2000 file whose version is already in `out.version`.
// Returns an empty string or the reason.
std::string readR13Container(std::span<const uint8_t> file, Container& out);

}  // namespace dwg
