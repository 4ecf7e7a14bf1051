// The container of 2007 (AC1021): a file header and system pages coded with a
// Reed–Solomon (255, 239) code, data pages with a (255, 251) code, both interleaved,
// and the 2007 compression; the page and section maps list pages by 64-bit fields.
// The parity bytes are not checked: the data bytes are taken as they stand.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "dwg/container.h"

namespace dwg {

// Reads the container of a 2007 file. Returns an empty string or the reason.
std::string readR2007Container(std::span<const uint8_t> file, Container& out);

}  // namespace dwg
