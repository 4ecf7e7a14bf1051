#include "dwg/classes.h"

#include <cstring>

#include "dwg/streams.h"

namespace dwg {
namespace {

const uint8_t kClassSentinel[16] = {0x8D, 0xA1, 0xC4, 0xB8, 0xC4, 0xA9, 0xF8, 0xC5,
                                    0xC0, 0xDC, 0xF4, 0x5F, 0xE7, 0xCF, 0xB6, 0x8A};
constexpr const char* kBadClasses = "DWG文件已损坏：类定义段无效";

DwgClass readClass(BitReader& r, Version version) {
    DwgClass c;
    c.number = static_cast<uint16_t>(r.BS());
    c.proxyFlags = static_cast<uint16_t>(r.BS());
    c.appName = r.TV();
    c.cppName = r.TV();
    c.dxfName = r.TV();
    c.wasZombie = r.B();
    c.isEntity = r.BS() == 0x1f2;
    if (version >= Version::R2004) {
        c.instances = r.BL();
        r.BL();  // the version and maintenance release of the class
        r.BL();
        r.BL();
        r.BL();
    }
    return c;
}

}  // namespace

std::string readClasses(std::span<const uint8_t> section, Version version, uint8_t maintenance,
                        std::vector<DwgClass>& out) {
    out.clear();
    if (section.size() < 20 || std::memcmp(section.data(), kClassSentinel, 16) != 0)
        return kBadClasses;
    BitReader r(section, version);
    BitReader strings(section, version);
    r.seek(16 * 8);
    const uint32_t size = static_cast<uint32_t>(r.RL());
    if (size > section.size() - 20) return kBadClasses;
    if (version < Version::R2004) {
        // Classes follow one another up to the end of the data.
        const size_t end = (20 + static_cast<size_t>(size)) * 8;
        r.limit(end);
        while (r.position() + 8 < end) {
            out.push_back(readClass(r, version));
            if (r.failed()) return kBadClasses;
        }
        return {};
    }
    if ((version >= Version::R2010 && maintenance > 3) || version >= Version::R2018) r.RL();
    if (version >= Version::R2007) {
        const size_t start = r.position();
        const size_t bits = static_cast<uint32_t>(r.RL());
        if (!locateStrings(strings, start + bits)) return kBadClasses;
        r.limit(start + bits);
        r.setTextStream(&strings);
    }
    const int highest = static_cast<uint16_t>(r.BS());
    r.RC();
    r.RC();
    r.B();
    if (highest < 499 || r.failed()) return kBadClasses;
    // Each class takes at least a few bytes: a count beyond that is no count.
    const size_t count = static_cast<size_t>(highest - 499);
    if (count > section.size()) return kBadClasses;
    for (size_t i = 0; i < count; ++i) {
        out.push_back(readClass(r, version));
        if (r.failed() || strings.failed()) return kBadClasses;
    }
    return {};
}

}  // namespace dwg
