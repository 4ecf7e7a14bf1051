#include "dwg/sentinel_section.h"

#include <algorithm>

#include "dwg/byte_cursor.h"
#include "dwg/object_map.h"
#include "dwg/reasons.h"

namespace dwg {

std::string checkSentinelSection(std::span<const uint8_t> section, const Sentinel& sentinel,
                                 std::string_view name) {
    ByteCursor c(section);
    const auto start = c.take(sentinel.size());
    const uint32_t size = c.u32();
    if (!c.ok()) return reason::damaged(std::string(name) + "不完整");
    if (!std::equal(start.begin(), start.end(), sentinel.begin()))
        return reason::damaged(std::string(name) + "的起始标记不对");
    if (size > c.remaining()) return reason::damaged(std::string(name) + "的大小超出范围");
    return {};
}

std::string completeContainer(std::span<const uint8_t> handles, Container& out) {
    if (std::string why = checkSentinelSection(out.header, kHeaderSentinel, "头部变量节");
        !why.empty())
        return why;
    if (std::string why = checkSentinelSection(out.classes, kClassesSentinel, "类定义节");
        !why.empty())
        return why;
    return readObjectMap(handles, out.objects.size(), out.objectMap);
}

}  // namespace dwg
