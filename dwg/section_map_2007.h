// The maps of a 2007 (AC1021) file: the file header at 0x80, three interleaved
// Reed–Solomon (255, 239) codewords holding the compressed metadata; the page map and
// the section map, system pages coded the same way and compressed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "dwg/paged_sections.h"

namespace dwg {

inline constexpr size_t kCodewordBytes = 255;

// The data bytes of `codewords` interleaved codewords: byte j of codeword i is stored at
// j × codewords + i, and its first `dataBytes` bytes are data. The parity bytes are not
// checked: the data is taken as it stands. REQUIRES: coded.size() ≥ codewords × 255.
std::vector<uint8_t> deinterleave(std::span<const uint8_t> coded, size_t codewords,
                                  size_t dataBytes);

// Reads the file header and both maps into `out`. Returns an empty string or the reason.
std::string readMaps2007(std::span<const uint8_t> file, PagedFile& out);

}  // namespace dwg
