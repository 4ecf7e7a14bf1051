#include "dwg/object_map.h"

#include "dwg/byte_cursor.h"
#include "dwg/reasons.h"

namespace dwg {

std::string readObjectMap(std::span<const uint8_t> section, uint64_t objectsSize,
                          std::vector<ObjectLocation>& out) {
    out.clear();
    ByteCursor page(section);
    while (true) {
        const size_t start = page.pos();
        const uint16_t size = page.u16be();
        if (!page.ok()) return reason::damaged("对象地址表没有结束");
        if (size < 2 || size - 2u > page.remaining())
            return reason::damaged("对象地址表的页大小无效");
        if (size == 2) break;
        ByteCursor pairs(section.subspan(0, start + size), start + 2);
        uint64_t handle = 0;
        int64_t offset = 0;
        while (pairs.remaining() > 0) {
            handle += pairs.modularChar();
            const int64_t step = pairs.signedModularChar();
            if (!pairs.ok()) return reason::damaged("对象地址表的条目不完整");
            if (__builtin_add_overflow(offset, step, &offset) || offset < 0 ||
                static_cast<uint64_t>(offset) >= objectsSize)
                return reason::damaged("对象地址超出范围");
            out.push_back({handle, static_cast<uint64_t>(offset)});
        }
        page.take(size);  // the pairs after the size, then the page's CRC
    }
    if (out.empty()) return reason::damaged("对象地址表是空的");
    return {};
}

}  // namespace dwg
