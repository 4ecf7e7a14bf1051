#include "dwg/sections_2004.h"

#include "dwg/byte_cursor.h"
#include "dwg/lz77_2004.h"
#include "dwg/paged_sections.h"
#include "dwg/reasons.h"
#include "dwg/section_map_2004.h"

namespace dwg {

namespace {

constexpr size_t kDataPageHeaderBytes = 32;
constexpr uint32_t kDataPageType = 0x4163043B;
constexpr uint32_t kDataPageMask = 0x4164536B;

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

// A data page: its 32-byte header encrypted with the page's address, then its data. A
// compressed page decompresses to the section's whole page size, the last one padded
// past the section's end.
std::string decodePage2004(std::span<const uint8_t> file, const FilePage& where,
                           const SectionDescription& section, const SectionPage& page,
                           ByteBudget& budget, std::vector<uint8_t>& scratch,
                           std::span<const uint8_t>& data) {
    const std::string name = "节" + section.name;
    uint64_t dataSize = 0;
    if (!dataPageHeader(file, where.address, dataSize)) return reason::damaged(name + "的页头无效");
    if (where.size < kDataPageHeaderBytes || dataSize > where.size - kDataPageHeaderBytes ||
        dataSize > file.size() - where.address - kDataPageHeaderBytes)
        return reason::damaged(name + "的页超出文件");
    data = file.subspan(where.address + kDataPageHeaderBytes, dataSize);
    if (!section.compressed) return {};
    if (!budget.spend(page.size)) return reason::damaged(name + "的页大小超出范围");
    scratch.resize(page.size);
    size_t produced = 0;
    if (!decompress2004(data, scratch, produced)) return reason::damaged(name + "的页无法解压");
    data = std::span(scratch).first(produced);
    return {};
}

}  // namespace

std::string readR2004Container(std::span<const uint8_t> file, Container& out) {
    PagedFile paged;
    if (std::string why = readMaps2004(file, paged); !why.empty()) return why;
    return readPagedContainer(file, paged, decodePage2004, out);
}

}  // namespace dwg
