#include "dwg/sections_2004.h"

#include <algorithm>

#include "dwg/byte_cursor.h"
#include "dwg/lz77_2004.h"
#include "dwg/object_map.h"
#include "dwg/reasons.h"
#include "dwg/section_map_2004.h"
#include "dwg/sentinel_section.h"

namespace dwg {

namespace {

constexpr size_t kDataPageHeaderBytes = 32;
constexpr uint32_t kDataPageType = 0x4163043B;
constexpr uint32_t kDataPageMask = 0x4164536B;
// No section decompresses to more than this many times the file's size: real drawings
// compress about tenfold, and a larger claim is a damaged or hostile file.
constexpr uint64_t kMaxExpansion = 64;

// The data page header at `address`, decrypted: its type and the size of the data
// that follows.
bool dataPageHeader(std::span<const uint8_t> file, uint64_t address, uint64_t& dataSize) {
    ByteCursor c(file, address);
    const uint32_t mask = kDataPageMask ^ static_cast<uint32_t>(address);
    const uint32_t type = c.u32() ^ mask;
    c.u32();
    dataSize = c.u32() ^ mask;
    c.take(kDataPageHeaderBytes - 12);
    return c.ok() && type == kDataPageType;
}

// Copies the page's data into its place in `out`. A compressed page decompresses to the
// section's whole page size, the last one padded past the section's end; `scratch`
// holds it on the way.
std::string readPage(std::span<const uint8_t> file, const Maps2004& maps,
                     const SectionDescription& section, const SectionPage& page,
                     std::vector<uint8_t>& scratch, std::vector<uint8_t>& out) {
    const std::string name = "节" + section.name;
    const auto found = maps.pages.find(page.number);
    if (found == maps.pages.end()) return reason::damaged(name + "的页不存在");
    const FilePage& where = found->second;
    uint64_t dataSize = 0;
    if (!dataPageHeader(file, where.address, dataSize)) return reason::damaged(name + "的页头无效");
    if (where.size < kDataPageHeaderBytes || dataSize > where.size - kDataPageHeaderBytes ||
        dataSize > file.size() - where.address - kDataPageHeaderBytes)
        return reason::damaged(name + "的页超出文件");
    if (page.start >= out.size()) return reason::damaged(name + "的页位置超出范围");
    std::span<const uint8_t> data = file.subspan(where.address + kDataPageHeaderBytes, dataSize);
    if (section.compressed) {
        scratch.resize(section.maxPageSize);
        size_t produced = 0;
        if (!decompress2004(data, scratch, produced)) return reason::damaged(name + "的页无法解压");
        data = std::span(scratch).first(produced);
    }
    const size_t n = std::min<uint64_t>(data.size(), out.size() - page.start);
    std::copy_n(data.begin(), n, out.begin() + static_cast<ptrdiff_t>(page.start));
    return {};
}

std::string readSection(std::span<const uint8_t> file, const Maps2004& maps,
                        const char* name, std::vector<uint8_t>& out) {
    const auto section = std::find_if(maps.sections.begin(), maps.sections.end(),
                                      [&](const SectionDescription& d) { return d.name == name; });
    if (section == maps.sections.end()) return reason::damaged(std::string("缺少节") + name);
    out.assign(section->size, 0);
    std::vector<uint8_t> scratch;
    for (const SectionPage& page : section->pages) {
        if (std::string why = readPage(file, maps, *section, page, scratch, out); !why.empty())
            return why;
    }
    return {};
}

}  // namespace

std::string readR2004Container(std::span<const uint8_t> file, Container& out) {
    ByteCursor fields(file, 0x0B);
    out.maintenance = fields.u8();
    ByteCursor codePage(file, 0x13);
    out.codePage = codePage.u16();
    if (!codePage.ok()) return reason::kTruncated;
    Maps2004 maps;
    if (std::string why = readMaps2004(file, kMaxExpansion * file.size(), maps); !why.empty())
        return why;
    std::vector<uint8_t> handles;
    for (auto [name, bytes] : {std::pair{"AcDb:Header", &out.header},
                               std::pair{"AcDb:Classes", &out.classes},
                               std::pair{"AcDb:Handles", &handles},
                               std::pair{"AcDb:AcDbObjects", &out.objects}}) {
        if (std::string why = readSection(file, maps, name, *bytes); !why.empty()) return why;
    }
    if (std::string why = checkSentinelSection(out.header, kHeaderSentinel, "头部变量节");
        !why.empty())
        return why;
    if (std::string why = checkSentinelSection(out.classes, kClassesSentinel, "类定义节");
        !why.empty())
        return why;
    return readObjectMap(handles, out.objects.size(), out.objectMap);
}

}  // namespace dwg
