// The header variables of a DWG file (AcDb:Header), decoded in the order the version
// stores them. Every variable the section holds is read, since each one's position
// depends on all before it; those that DXF knows keep their DXF name ("$LTSCALE"),
// the rest are read and dropped. Handles that point at table entries are kept as
// handles and become names when the drawing is written.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dwg/streams.h"

namespace dwg {

struct HeaderValue {
    enum class Type : uint8_t { Int, Double, Point2, Point3, Text, Handle, Color };
    std::string name;  // "$LTSCALE"
    Type type = Type::Int;
    int64_t i = 0;
    double d[3] = {0, 0, 0};
    std::string text;
    uint64_t handle = 0;
    Color color;
};

struct Header {
    std::vector<HeaderValue> values;  // in the order of the section
    // The objects the header names that are not DXF variables.
    uint64_t blockControl = 0, layerControl = 0, styleControl = 0, linetypeControl = 0,
             viewControl = 0, ucsControl = 0, vportControl = 0, appidControl = 0,
             dimstyleControl = 0, vxControl = 0;
    uint64_t groupDictionary = 0, mlinestyleDictionary = 0, namedObjects = 0;
    uint64_t layoutDictionary = 0, plotSettingsDictionary = 0, plotStyleDictionary = 0,
             materialDictionary = 0, colorDictionary = 0, visualStyleDictionary = 0;
    uint64_t paperSpace = 0, modelSpace = 0;
    uint64_t byLayer = 0, byBlock = 0, continuous = 0;

    const HeaderValue* find(std::string_view name) const;
};

// Decodes the header section as the container holds it (from its start sentinel).
// `maintenance` is the writing program's maintenance release, which decides whether
// 2010 and 2013 store a second size word. Returns an empty string or the reason.
// The lineweight (DXF 370, hundredths of a millimetre; -1 BYLAYER, -2 BYBLOCK, -3 the
// default) of the index a DWG stores.
int lineweightOf(int index);

std::string readHeader(std::span<const uint8_t> section, Version version, uint8_t maintenance,
                       Header& out);

}  // namespace dwg
