#include "dwg/sections_r13.h"

#include <array>
#include <optional>

#include "dwg/byte_cursor.h"
#include "dwg/object_map.h"
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
    ByteCursor fields(file, 0x0B);
    out.maintenance = fields.u8();
    ByteCursor codePage(file, 0x13);
    out.codePage = codePage.u16();
    if (!codePage.ok()) return reason::kTruncated;
    Locators sections;
    if (std::string why = readLocators(file, sections); !why.empty()) return why;
    const auto header = *sections[kHeaderLocator];
    const auto classes = *sections[kClassesLocator];
    if (std::string why = checkSentinelSection(header, kHeaderSentinel, "头部变量节");
        !why.empty())
        return why;
    if (std::string why = checkSentinelSection(classes, kClassesSentinel, "类定义节");
        !why.empty())
        return why;
    if (std::string why = readObjectMap(*sections[kHandlesLocator], file.size(), out.objectMap);
        !why.empty())
        return why;
    out.header.assign(header.begin(), header.end());
    out.classes.assign(classes.begin(), classes.end());
    out.objects.assign(file.begin(), file.end());
    return {};
}

}  // namespace dwg
