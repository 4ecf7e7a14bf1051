#include "dwg/object_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A map page: its big-endian size (counting the size's own two bytes), the pairs, and
// a CRC the reader does not need.
Bytes page(const Bytes& pairs) {
    const size_t size = pairs.size() + 2;
    Bytes b(size + 2, 0xAB);
    b[0] = static_cast<uint8_t>(size >> 8);
    b[1] = static_cast<uint8_t>(size);
    std::copy(pairs.begin(), pairs.end(), b.begin() + 2);
    return b;
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Bytes kEnd = page({});

TEST(DwgObjectMap, ReadsStepsThatRestartOnEachPage) {
    // (+1, +10), (+2, -4 as a signed modular char), then a new page: (+0x85, +200).
    const Bytes map = join({page({0x01, 0x0A, 0x02, 0x44}), page({0x85, 0x01, 0xC8, 0x01}), kEnd});
    std::vector<dwg::ObjectLocation> out;
    ASSERT_EQ(dwg::readObjectMap(map, 1000, out), "");
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].handle, 1u);
    EXPECT_EQ(out[0].offset, 10u);
    EXPECT_EQ(out[1].handle, 3u);
    EXPECT_EQ(out[1].offset, 6u);
    EXPECT_EQ(out[2].handle, 0x85u);
    EXPECT_EQ(out[2].offset, 200u);
}

TEST(DwgObjectMap, RefusesMapsThatDoNotHoldTogether) {
    const struct {
        const char* name;
        Bytes map;
        const char* reason;
    } cases[] = {
        {"offset past the objects", join({page({0x01, 0x64}), kEnd}),
         "DWG文件已损坏：对象地址超出范围"},
        {"offset before the objects", join({page({0x01, 0x41}), kEnd}),
         "DWG文件已损坏：对象地址超出范围"},
        {"page larger than the section", Bytes{0xFF, 0xFF, 0x01, 0x02},
         "DWG文件已损坏：对象地址表的页大小无效"},
        {"page size below its own two bytes", Bytes{0x00, 0x01, 0x00, 0x00},
         "DWG文件已损坏：对象地址表的页大小无效"},
        {"pair cut by the page's end", join({page({0x01, 0x81}), kEnd}),
         "DWG文件已损坏：对象地址表的条目不完整"},
        {"modular char of ten bytes",
         join({page({0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x01, 0x01}), kEnd}),
         "DWG文件已损坏：对象地址表的条目不完整"},
        {"no closing page", page({0x01, 0x01}), "DWG文件已损坏：对象地址表没有结束"},
        {"only the closing page", kEnd, "DWG文件已损坏：对象地址表是空的"},
    };
    for (const auto& c : cases) {
        std::vector<dwg::ObjectLocation> out;
        EXPECT_EQ(dwg::readObjectMap(c.map, 100, out), c.reason) << c.name;
    }
}

}  // namespace
