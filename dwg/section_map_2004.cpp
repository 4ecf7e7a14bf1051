#include "dwg/section_map_2004.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "dwg/byte_cursor.h"
#include "dwg/lz77_2004.h"
#include "dwg/reasons.h"

namespace dwg {

namespace {

constexpr size_t kEncryptedHeaderAt = 0x80;
constexpr size_t kFileHeaderBytes = 0x6C;
constexpr char kFileHeaderId[] = "AcFssFcAJMB";
constexpr uint64_t kFirstPageAddress = 0x100;
constexpr size_t kGapFields = 16;  // parent, left, right, zero after a gap's size
constexpr size_t kDescriptionBytes = 0x60;
constexpr size_t kSectionPageBytes = 16;

struct FileHeaderFields {
    uint32_t pageMapId = 0;
    uint64_t pageMapAddress = 0;
    uint32_t sectionMapId = 0;
};

std::string readFileHeader(std::span<const uint8_t> file, FileHeaderFields& out) {
    if (file.size() < kEncryptedHeaderAt + kFileHeaderBytes) return reason::kTruncated;
    std::array<uint8_t, kFileHeaderBytes> plain;
    std::copy_n(file.begin() + kEncryptedHeaderAt, kFileHeaderBytes, plain.begin());
    decryptFileHeader2004(plain);
    if (std::memcmp(plain.data(), kFileHeaderId, sizeof kFileHeaderId) != 0)
        return reason::damaged("文件头无效");
    ByteCursor c(plain, 0x50);
    out.pageMapId = c.u32();
    out.pageMapAddress = c.u64();
    out.sectionMapId = c.u32();
    if (out.pageMapAddress > file.size()) return reason::damaged("页表的位置超出文件");
    out.pageMapAddress += kFirstPageAddress;
    return {};
}

std::string readPageMap2004(std::span<const uint8_t> data,
                            std::unordered_map<uint64_t, FilePage>& out) {
    ByteCursor c(data);
    uint64_t address = kFirstPageAddress;
    while (c.remaining() > 0) {
        const auto number = static_cast<int32_t>(c.u32());
        const uint32_t size = c.u32();
        if (number < 0) c.take(kGapFields);
        if (!c.ok()) return reason::damaged("页表不完整");
        if (number >= 0) out[static_cast<uint64_t>(number)] = {address, size};
        // Only the pages read are checked against the file: the last one, the page map
        // itself, is listed with more bytes than the file holds.
        address += size;
    }
    return {};
}

std::string readSectionMap2004(std::span<const uint8_t> data,
                               std::vector<SectionDescription>& out) {
    ByteCursor c(data);
    const uint32_t count = c.u32();
    c.take(16);
    if (!c.ok() || count > c.remaining() / kDescriptionBytes) return reason::damaged("节表不完整");
    out.resize(count);
    for (SectionDescription& d : out) {
        d.size = c.u64();
        const uint32_t pageCount = c.u32();
        const uint32_t pageSize = c.u32();
        c.u32();
        d.compressed = c.u32() == 2;
        c.u32();  // section id
        c.u32();  // encrypted
        const auto name = c.take(64);
        if (!c.ok() || pageCount > c.remaining() / kSectionPageBytes)
            return reason::damaged("节表不完整");
        d.name.assign(name.begin(), std::find(name.begin(), name.end(), uint8_t{0}));
        d.pages.resize(pageCount);
        for (SectionPage& p : d.pages) {
            p.number = c.u32();
            p.compressedSize = c.u32();
            p.start = c.u64();
            p.size = pageSize;
        }
    }
    return {};
}

// A system page (page map, section map) at `address`: its 20-byte header, then its data
// compressed as in data pages. It lists less than the file holds, so the file's size
// caps its decompressed size.
std::string readSystemPage2004(std::span<const uint8_t> file, uint64_t address,
                               std::vector<uint8_t>& out) {
    if (address > file.size()) return reason::damaged("系统页的位置超出文件");
    ByteCursor c(file, address);
    c.u32();  // page type
    const uint32_t decompressed = c.u32();
    const uint32_t compressed = c.u32();
    c.u32();  // compression type
    c.u32();  // checksum
    const auto data = c.take(compressed);
    if (!c.ok()) return reason::kTruncated;
    if (decompressed > file.size()) return reason::damaged("系统页的大小超出范围");
    out.assign(decompressed, 0);
    size_t produced = 0;
    if (!decompress2004(data, out, produced) || produced != decompressed)
        return reason::damaged("系统页无法解压");
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

std::string readMaps2004(std::span<const uint8_t> file, PagedFile& out) {
    FileHeaderFields header;
    if (std::string why = readFileHeader(file, header); !why.empty()) return why;
    std::vector<uint8_t> data;
    if (std::string why = readSystemPage2004(file, header.pageMapAddress, data); !why.empty())
        return why;
    if (std::string why = readPageMap2004(data, out.pages); !why.empty()) return why;
    const auto sectionMap = out.pages.find(header.sectionMapId);
    if (sectionMap == out.pages.end()) return reason::damaged("找不到节表");
    if (std::string why = readSystemPage2004(file, sectionMap->second.address, data); !why.empty())
        return why;
    return readSectionMap2004(data, out.sections);
}

}  // namespace dwg
