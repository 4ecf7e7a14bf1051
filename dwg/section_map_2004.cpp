#include "dwg/section_map_2004.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "dwg/byte_cursor.h"
#include "dwg/lz77_2004.h"
#include "dwg/reasons.h"

namespace dwg {

namespace {

constexpr size_t kFileHeaderAt = 0x80;
constexpr size_t kFileHeaderBytes = 0x6C;
constexpr char kFileHeaderId[] = "AcFssFcAJMB";
constexpr uint64_t kPagesStart = 0x100;
constexpr size_t kGapFields = 16;  // parent, left, right, zero after a gap's size
constexpr size_t kDescriptionBytes = 0x60;
constexpr size_t kSectionPageBytes = 16;

struct FileHeaderFields {
    uint32_t pageMapId = 0;
    uint64_t pageMapAddress = 0;
    uint32_t sectionMapId = 0;
};

std::string readFileHeader(std::span<const uint8_t> file, FileHeaderFields& out) {
    if (file.size() < kFileHeaderAt + kFileHeaderBytes) return reason::kTruncated;
    std::array<uint8_t, kFileHeaderBytes> plain;
    std::copy_n(file.begin() + kFileHeaderAt, kFileHeaderBytes, plain.begin());
    decryptFileHeader2004(plain);
    if (std::memcmp(plain.data(), kFileHeaderId, sizeof kFileHeaderId) != 0)
        return reason::damaged("文件头无效");
    ByteCursor c(plain, 0x50);
    out.pageMapId = c.u32();
    out.pageMapAddress = c.u64();
    out.sectionMapId = c.u32();
    if (out.pageMapAddress > file.size()) return reason::damaged("页表的位置超出文件");
    out.pageMapAddress += kPagesStart;
    return {};
}

std::string readPageMap(std::span<const uint8_t> data, std::unordered_map<int32_t, FilePage>& out) {
    ByteCursor c(data);
    uint64_t address = kPagesStart;
    while (c.remaining() > 0) {
        const auto number = static_cast<int32_t>(c.u32());
        const uint32_t size = c.u32();
        if (number < 0) c.take(kGapFields);
        if (!c.ok()) return reason::damaged("页表不完整");
        if (number >= 0) out[number] = {address, size};
        // Only the pages read are checked against the file: the last one, the page map
        // itself, is listed with more bytes than the file holds.
        address += size;
    }
    return {};
}

std::string readSectionMap(std::span<const uint8_t> data, uint64_t maxSection,
                           std::vector<SectionDescription>& out) {
    ByteCursor c(data);
    const uint32_t count = c.u32();
    c.take(16);
    if (!c.ok() || count > c.remaining() / kDescriptionBytes)
        return reason::damaged("节表不完整");
    out.resize(count);
    for (SectionDescription& d : out) {
        d.size = c.u64();
        const uint32_t pageCount = c.u32();
        d.maxPageSize = c.u32();
        c.u32();
        d.compressed = c.u32() == 2;
        c.u32();  // section id
        c.u32();  // encrypted
        const auto name = c.take(64);
        if (!c.ok() || pageCount > c.remaining() / kSectionPageBytes)
            return reason::damaged("节表不完整");
        d.name.assign(name.begin(), std::find(name.begin(), name.end(), uint8_t{0}));
        if (d.size > maxSection || d.maxPageSize > maxSection)
            return reason::damaged("节" + d.name + "的大小超出范围");
        d.pages.resize(pageCount);
        for (SectionPage& p : d.pages) {
            p.number = static_cast<int32_t>(c.u32());
            p.compressedSize = c.u32();
            p.start = c.u64();
        }
    }
    return {};
}

}  // namespace

void decryptFileHeader2004(std::span<uint8_t> bytes) {
    uint32_t seed = 1;
    for (uint8_t& b : bytes) {
        seed = seed * 0x343FDu + 0x269EC3u;
        b ^= static_cast<uint8_t>(seed >> 16);
    }
}

std::string readSystemPage2004(std::span<const uint8_t> file, uint64_t address,
                               uint64_t maxSize, std::vector<uint8_t>& out) {
    if (address > file.size()) return reason::damaged("系统页的位置超出文件");
    ByteCursor c(file, address);
    c.u32();  // page type
    const uint32_t decompressed = c.u32();
    const uint32_t compressed = c.u32();
    c.u32();  // compression type
    c.u32();  // checksum
    const auto data = c.take(compressed);
    if (!c.ok()) return reason::kTruncated;
    if (decompressed > maxSize) return reason::damaged("系统页的大小超出范围");
    out.assign(decompressed, 0);
    size_t produced = 0;
    if (!decompress2004(data, out, produced) || produced != decompressed)
        return reason::damaged("系统页无法解压");
    return {};
}

std::string readMaps2004(std::span<const uint8_t> file, uint64_t maxSection, Maps2004& out) {
    FileHeaderFields header;
    if (std::string why = readFileHeader(file, header); !why.empty()) return why;
    std::vector<uint8_t> data;
    if (std::string why = readSystemPage2004(file, header.pageMapAddress, maxSection, data);
        !why.empty())
        return why;
    if (std::string why = readPageMap(data, out.pages); !why.empty()) return why;
    const auto sectionMap = out.pages.find(static_cast<int32_t>(header.sectionMapId));
    if (sectionMap == out.pages.end()) return reason::damaged("找不到节表");
    if (std::string why = readSystemPage2004(file, sectionMap->second.address, maxSection, data);
        !why.empty())
        return why;
    return readSectionMap(data, maxSection, out.sections);
}

}  // namespace dwg
