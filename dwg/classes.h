// The classes of a DWG file (AcDb:Classes): the object types above the fixed ones.
// An object of type 500 + i is of the i-th class; its DXF name says what it is.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "dwg/container.h"

namespace dwg {

struct DwgClass {
    uint16_t number = 0;  // the object type that stands for the class
    uint16_t proxyFlags = 0;
    std::string appName;
    std::string cppName;
    std::string dxfName;  // LWPOLYLINE, LAYOUT, ... (in the file's text coding)
    bool wasZombie = false;
    bool isEntity = false;  // item class 0x1F2; 0x1F3 makes objects
    int32_t instances = 0;  // from 2004 on
};

// Decodes the classes section as the container holds it (from its start sentinel).
// Returns an empty string or the reason.
std::string readClasses(std::span<const uint8_t> section, Version version, uint8_t maintenance,
                        std::vector<DwgClass>& out);

}  // namespace dwg
