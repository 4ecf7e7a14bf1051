// The maps of a 2004-format file (2004, 2010, 2013, 2018): the file header encrypted at
// 0x80, the page map that gives each numbered page its place in the file, and the
// section map that lists each named section's pages with their place in the section.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "dwg/paged_sections.h"

namespace dwg {

// The encrypted 0x6C bytes at 0x80, decrypted in place.
void decryptFileHeader2004(std::span<uint8_t> bytes);

// Reads the file header and both maps into `out`. Returns an empty string or the reason.
std::string readMaps2004(std::span<const uint8_t> file, PagedFile& out);

}  // namespace dwg
