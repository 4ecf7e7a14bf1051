#include "dwg/streams.h"

namespace dwg {

bool locateStrings(BitReader& strings, size_t dataEnd) {
    if (dataEnd == 0 || dataEnd > strings.end()) {
        strings.stop();
        return false;
    }
    strings.seek(dataEnd - 1);
    if (!strings.B()) {
        strings.seek(dataEnd - 1);
        strings.limit(dataEnd - 1);
        return true;
    }
    size_t at = dataEnd - 1;
    if (at < 16) {
        strings.stop();
        return false;
    }
    at -= 16;
    strings.seek(at);
    uint32_t size = static_cast<uint16_t>(strings.RS());
    if (size & 0x8000) {
        if (at < 16) {
            strings.stop();
            return false;
        }
        at -= 16;
        strings.seek(at);
        const uint32_t high = static_cast<uint16_t>(strings.RS());
        size = (size & 0x7fff) | (high << 15);
    }
    if (size > at) {
        strings.stop();
        return false;
    }
    strings.seek(at - size);
    strings.limit(at);
    return !strings.failed();
}

}  // namespace dwg
