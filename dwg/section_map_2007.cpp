#include "dwg/section_map_2007.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "dwg/byte_cursor.h"
#include "dwg/lz77_2007.h"
#include "dwg/reasons.h"

namespace dwg {

namespace {

constexpr size_t kSystemData = 239;  // data bytes of a system page's codeword
constexpr size_t kCodedHeaderAt = 0x80;
constexpr size_t kFileHeaderCodewords = 3;
constexpr size_t kMetadataBytes = 0x110;
constexpr uint64_t kPagesStart = 0x480;
constexpr uint64_t kMaxCorrection = 16;  // repetitions of a system page's data, normally 3
constexpr uint64_t kCodedPages = 4;      // the encoding of sections whose pages carry parity
constexpr size_t kPageEntryBytes = 56;

uint64_t alignedTo8(uint64_t n) { return (n + 7) & ~uint64_t{7}; }

struct Metadata {
    uint64_t pageMapCorrection = 0;
    uint64_t pageMapAt = 0;
    uint64_t pageMapCompressed = 0;
    uint64_t pageMapSize = 0;
    uint64_t sectionMapCompressed = 0;
    uint64_t sectionMapId = 0;
    uint64_t sectionMapSize = 0;
    uint64_t sectionMapCorrection = 0;
};

std::string readMetadata(std::span<const uint8_t> file, Metadata& m) {
    if (file.size() < kCodedHeaderAt + kFileHeaderCodewords * kCodewordBytes)
        return reason::kTruncated;
    const auto header =
        deinterleave(file.subspan(kCodedHeaderAt, kFileHeaderCodewords * kCodewordBytes),
                     kFileHeaderCodewords, kSystemData);
    const auto length = static_cast<int32_t>(ByteCursor(header, 0x18).u32());
    const auto stored = std::span(header).subspan(0x20);
    std::vector<uint8_t> plain(kMetadataBytes, 0);
    // A negative length gives stored data that is not compressed.
    const uint64_t n = length < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(length))
                                  : static_cast<uint64_t>(length);
    if (n > stored.size()) return reason::damaged("文件头无效");
    size_t produced = n;
    if (length < 0 && n <= plain.size())
        std::copy_n(stored.begin(), n, plain.begin());
    else if (length < 0 || !decompress2007(stored.first(n), plain, produced))
        return reason::damaged("文件头无效");
    if (produced != plain.size()) return reason::damaged("文件头无效");
    const auto field = [&plain](size_t offset) { return ByteCursor(plain, offset).u64(); };
    m.pageMapCorrection = field(0x18);
    m.pageMapAt = field(0x38);
    m.pageMapCompressed = field(0x50);
    m.pageMapSize = field(0x58);
    m.sectionMapCompressed = field(0xB0);
    m.sectionMapId = field(0xC0);
    m.sectionMapSize = field(0xC8);
    m.sectionMapCorrection = field(0xD8);
    return {};
}

// A system page at `address`: `compressed` bytes of data, padded to a multiple of 8 and
// repeated `correction` times, coded in codewords of 239 data bytes; it decompresses to
// `size` bytes. It lists less than the file holds, so the file's size caps `size`.
std::string readSystemPage2007(std::span<const uint8_t> file, uint64_t address, uint64_t compressed,
                               uint64_t size, uint64_t correction, std::vector<uint8_t>& out) {
    if (correction == 0 || correction > kMaxCorrection || compressed > file.size() ||
        size > file.size())
        return reason::damaged("系统页的大小超出范围");
    const uint64_t codewords =
        (alignedTo8(compressed) * correction + kSystemData - 1) / kSystemData;
    if (address > file.size() || codewords * kCodewordBytes > file.size() - address)
        return reason::damaged("系统页超出文件");
    const auto data =
        deinterleave(file.subspan(address, codewords * kCodewordBytes), codewords, kSystemData);
    out.assign(size, 0);
    size_t produced = 0;
    if (!decompress2007(std::span(data).first(compressed), out, produced) || produced != size)
        return reason::damaged("系统页无法解压");
    return {};
}

std::string readPageMap2007(std::span<const uint8_t> data,
                            std::unordered_map<uint64_t, FilePage>& out) {
    ByteCursor c(data);
    uint64_t address = kPagesStart;
    while (c.remaining() > 0) {
        const uint64_t size = c.u64();
        const auto id = static_cast<int64_t>(c.u64());
        if (!c.ok()) return reason::damaged("页表不完整");
        // A negative number marks a gap; its page keeps its place.
        const uint64_t number = id < 0 ? 0 - static_cast<uint64_t>(id) : static_cast<uint64_t>(id);
        out.try_emplace(number, FilePage{address, size});
        if (__builtin_add_overflow(address, size, &address)) return reason::damaged("页表无效");
    }
    return {};
}

// The section's name, stored in UTF-16; the names read here are all ASCII.
std::string nameOf(std::span<const uint8_t> utf16) {
    std::string name;
    for (size_t i = 0; i + 1 < utf16.size(); i += 2) {
        if (utf16[i] == 0 && utf16[i + 1] == 0) break;
        name += utf16[i + 1] == 0 ? static_cast<char>(utf16[i]) : '?';
    }
    return name;
}

std::string readSectionMap2007(std::span<const uint8_t> data,
                               std::vector<SectionDescription>& out) {
    ByteCursor c(data);
    while (c.remaining() > 0) {
        SectionDescription d;
        d.size = c.u64();
        c.take(24);  // largest page, encryption, hash
        const uint64_t nameBytes = c.u64();
        c.u64();
        d.coded = c.u64() == kCodedPages;
        const uint64_t pageCount = c.u64();
        if (!c.ok() || nameBytes > c.remaining()) return reason::damaged("节表不完整");
        d.name = nameOf(c.take(nameBytes));
        if (pageCount > c.remaining() / kPageEntryBytes) return reason::damaged("节表不完整");
        d.pages.resize(pageCount);
        for (SectionPage& p : d.pages) {
            p.start = c.u64();
            c.u64();  // size on disk
            p.number = c.u64();
            p.size = c.u64();
            p.compressedSize = c.u64();
            c.take(16);  // checksum, CRC
        }
        out.push_back(std::move(d));
    }
    return {};
}

uint64_t littleEndianAt(const uint8_t* at) {
    uint64_t word;
    std::memcpy(&word, at, 8);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
}

void putLittleEndian(uint64_t word, uint8_t* at) {
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    std::memcpy(at, &word, 8);
}

// Transposes 8 × 8 bytes, byte m of row k becoming byte k of row m: the 2 × 2 blocks of
// bytes, then of pairs, then of quadruples swap their off-diagonal halves.
void transpose8(uint64_t (&rows)[8]) {
    const auto swap = [](uint64_t& a, uint64_t& b, unsigned bits, uint64_t mask) {
        const uint64_t t = ((a >> bits) ^ b) & mask;
        b ^= t;
        a ^= t << bits;
    };
    for (int k = 0; k < 8; k += 2) swap(rows[k], rows[k + 1], 8, 0x00FF00FF00FF00FFull);
    for (int k : {0, 1, 4, 5}) swap(rows[k], rows[k + 2], 16, 0x0000FFFF0000FFFFull);
    for (int k = 0; k < 4; ++k) swap(rows[k], rows[k + 4], 32, 0x00000000FFFFFFFFull);
}

}  // namespace

std::vector<uint8_t> deinterleave(std::span<const uint8_t> coded, size_t codewords,
                                  size_t dataBytes) {
    std::vector<uint8_t> data(codewords * dataBytes);
    const uint8_t* from = coded.data();
    uint8_t* to = data.data();
    const auto one = [&](size_t i, size_t j) { to[i * dataBytes + j] = from[j * codewords + i]; };
    // Eight codewords and eight of their bytes at a time, the rest byte by byte.
    size_t i = 0;
    for (; i + 8 <= codewords; i += 8) {
        size_t j = 0;
        for (; j + 8 <= dataBytes; j += 8) {
            uint64_t rows[8];
            for (size_t k = 0; k < 8; ++k) rows[k] = littleEndianAt(from + (j + k) * codewords + i);
            transpose8(rows);
            for (size_t m = 0; m < 8; ++m) putLittleEndian(rows[m], to + (i + m) * dataBytes + j);
        }
        for (; j < dataBytes; ++j)
            for (size_t m = i; m < i + 8; ++m) one(m, j);
    }
    for (; i < codewords; ++i)
        for (size_t j = 0; j < dataBytes; ++j) one(i, j);
    return data;
}

std::string readMaps2007(std::span<const uint8_t> file, PagedFile& out) {
    Metadata m;
    if (std::string why = readMetadata(file, m); !why.empty()) return why;
    std::vector<uint8_t> data;
    if (m.pageMapAt > file.size()) return reason::damaged("页表的位置超出文件");
    if (std::string why = readSystemPage2007(file, kPagesStart + m.pageMapAt, m.pageMapCompressed,
                                             m.pageMapSize, m.pageMapCorrection, data);
        !why.empty())
        return why;
    if (std::string why = readPageMap2007(data, out.pages); !why.empty()) return why;
    const auto sectionMap = out.pages.find(m.sectionMapId);
    if (sectionMap == out.pages.end()) return reason::damaged("找不到节表");
    if (std::string why =
            readSystemPage2007(file, sectionMap->second.address, m.sectionMapCompressed,
                               m.sectionMapSize, m.sectionMapCorrection, data);
        !why.empty())
        return why;
    return readSectionMap2007(data, out.sections);
}

}  // namespace dwg
