// libFuzzer target on the DWG object reader and the DXF writer. An input beginning
// with "AC" is a whole file (seeded with the DWGs of testdata); any other input is one
// object of the version its first byte names, read with every fixed type and class the
// reader knows. Nothing may crash, hang or read past what it was given.
#include <cstdint>
#include <span>
#include <vector>

#include "dwg/dwg_drawing.h"
#include "dwg/dxf_writer.h"
#include "dwg/object_types.h"

namespace {

const std::vector<dwg::DwgClass>& knownClasses() {
    static const std::vector<dwg::DwgClass> classes = [] {
        std::vector<dwg::DwgClass> c;
        for (const char* name :
             {"LWPOLYLINE", "HATCH", "XRECORD", "ACDBPLACEHOLDER", "LAYOUT", "DICTIONARYVAR",
              "ACDBDICTIONARYWDFLT", "PLOTSETTINGS", "IMAGE", "WIPEOUT", "IMAGEDEF",
              "IMAGEDEF_REACTOR", "RASTERVARIABLES", "WIPEOUTVARIABLES", "SCALE",
              "SORTENTSTABLE", "DBCOLOR"}) {
            dwg::DwgClass k;
            k.dxfName = name;
            k.isEntity = std::string(name) == "LWPOLYLINE" || std::string(name) == "HATCH" ||
                         std::string(name) == "IMAGE" || std::string(name) == "WIPEOUT";
            c.push_back(k);
        }
        return c;
    }();
    return classes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    if (data[0] == 'A' && data[1] == 'C') {
        dwg::DwgDrawing drawing;
        if (dwg::readDwg(std::span(data, size), drawing).empty()) (void)dwg::writeDxf(drawing);
        return 0;
    }
    const auto version = static_cast<dwg::Version>(data[0] % 8);
    const std::span<const uint8_t> object(data + 1, size - 1);
    dwg::ObjectFrame frame;
    if (!frame.open(object, 0, version)) return 0;
    const dwg::ObjectType type = dwg::objectType(frame.type(), knownClasses());
    if (!type.decode) return 0;
    dwg::Record record;
    if (type.entity) {
        frame.readEntityCommon(record);
    } else {
        frame.readObjectCommon(record);
    }
    if (!frame.failed()) type.decode(frame, record);
    return 0;
}
