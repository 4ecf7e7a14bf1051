#include "dwg/sections_2007.h"

#include "dwg/lz77_2007.h"
#include "dwg/paged_sections.h"
#include "dwg/reasons.h"
#include "dwg/section_map_2007.h"

namespace dwg {

namespace {

constexpr size_t kPageData = 251;  // data bytes of a data page's codeword

// A data page: its compressed data, padded to a multiple of 8 and, in a coded section,
// held in codewords of 251 data bytes; compressed only when smaller than its data.
std::string decodePage2007(std::span<const uint8_t> file, const FilePage& where,
                           const SectionDescription& section, const SectionPage& page,
                           ByteBudget& budget, std::vector<uint8_t>& scratch,
                           std::span<const uint8_t>& data) {
    const std::string name = "节" + section.name;
    if (where.address > file.size() || where.size > file.size() - where.address)
        return reason::damaged(name + "的页超出文件");
    data = file.subspan(where.address, where.size);
    if (page.compressedSize > data.size()) return reason::damaged(name + "的页大小超出范围");
    std::vector<uint8_t> decoded;
    if (section.coded) {
        const uint64_t codewords = ((page.compressedSize + 7) / 8 * 8 + kPageData - 1) / kPageData;
        if (codewords * kCodewordBytes > data.size() || !budget.spend(codewords * kPageData))
            return reason::damaged(name + "的页超出文件");
        decoded = deinterleave(data, codewords, kPageData);
        data = decoded;
    }
    data = data.first(page.compressedSize);
    if (page.compressedSize == page.size) {
        scratch.assign(data.begin(), data.end());
    } else {
        if (!budget.spend(page.size)) return reason::damaged(name + "的页大小超出范围");
        scratch.assign(page.size, 0);
        size_t produced = 0;
        if (!decompress2007(data, scratch, produced)) return reason::damaged(name + "的页无法解压");
        scratch.resize(produced);
    }
    data = scratch;
    return {};
}

}  // namespace

std::string readR2007Container(std::span<const uint8_t> file, Container& out) {
    PagedFile paged;
    if (std::string why = readMaps2007(file, paged); !why.empty()) return why;
    return readPagedContainer(file, paged, decodePage2007, out);
}

}  // namespace dwg
