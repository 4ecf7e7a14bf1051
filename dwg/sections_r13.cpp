#include "dwg/sections_r13.h"

#include <array>
#include <optional>

#include "dwg/byte_cursor.h"
#include "dwg/reasons.h"
#include "dwg/sentinel_section.h"

namespace dwg {

namespace {

constexpr size_t kLocatorCountAt = 0x15;
constexpr size_t kLocatorBytes = 9;
enum LocatorNumber : uint8_t { kHeaderLocator = 0, kClassesLocator = 1, kHandlesLocator = 2 };

using Locators = std::array<std::optional<std::span<const uint8_t>>, 3>;

std::string readLocators(std::span<const uint8_t> file, Locators& found) {
    ByteCursor c(file, kLocatorCountAt);
    const uint32_t count = c.u32();
    if (!c.ok()) return reason::kTruncated;
    if (count > c.remaining() / kLocatorBytes) return reason::damaged("节定位表超出文件");
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t number = c.u8();
        const uint32_t seeker = c.u32();
        const uint32_t size = c.u32();
        if (number >= found.size()) continue;
        if (seeker > file.size() || size > file.size() - seeker)
            return reason::damaged("节的位置超出文件");
        found[number] = file.subspan(seeker, size);
    }
    for (const auto& section : found)
        if (!section) return reason::damaged("缺少必需的节");
    return {};
}

}  // namespace

std::string readR13Container(std::span<const uint8_t> file, Container& out) {
    Locators sections;
    if (std::string why = readLocators(file, sections); !why.empty()) return why;
    out.header.assign(sections[kHeaderLocator]->begin(), sections[kHeaderLocator]->end());
    out.classes.assign(sections[kClassesLocator]->begin(), sections[kClassesLocator]->end());
    out.objects.assign(file.begin(), file.end());
    return completeContainer(*sections[kHandlesLocator], out);
}

}  // namespace dwg
