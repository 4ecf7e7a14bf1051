// The container of 2004, 2010, 2013 and 2018 (AC1018, AC1024, AC1027, AC1032): named
// sections cut into data pages, each page behind a 32-byte header encrypted with its
// own address and, normally, compressed.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "dwg/container.h"

namespace dwg {

// Reads the container of a 2004-format file whose version is already in `out.version`.
// Returns an empty string or the reason.
std::string readR2004Container(std::span<const uint8_t> file, Container& out);

}  // namespace dwg
