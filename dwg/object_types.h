// What each object type of a DWG file is: its DXF name, whether it is an entity, and
// the decoder that translates it (none for the kinds that are not translated).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dwg/classes.h"
#include "dwg/decoders.h"

namespace dwg {

struct ObjectType {
    std::string dxfName;      // empty for types with no DXF counterpart (read and left)
    bool entity = false;
    Decoder decode = nullptr;  // nullptr: counted as not translated
};

// The type of fixed type number `type` (below 500) or of the class it names.
ObjectType objectType(uint16_t type, const std::vector<DwgClass>& classes);

}  // namespace dwg
