// The object map (AcDb:Handles) that every version from R13 on stores alike: pages of
// a big-endian size (counting its own two bytes), pairs of modular chars — the handle's
// and the offset's step from the pair before, both starting from zero on each page —
// and a big-endian CRC; a page of size 2 ends the map.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "dwg/container.h"

namespace dwg {

// Reads the map from `section` into `out` (replacing it). Every offset must lie inside
// the `objectsSize` bytes the map points into. Returns an empty string or the reason.
std::string readObjectMap(std::span<const uint8_t> section, uint64_t objectsSize,
                          std::vector<ObjectLocation>& out);

}  // namespace dwg
