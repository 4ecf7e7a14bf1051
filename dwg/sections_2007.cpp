#include "dwg/sections_2007.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "dwg/byte_cursor.h"
#include "dwg/lz77_2007.h"
#include "dwg/object_map.h"
#include "dwg/reasons.h"
#include "dwg/sentinel_section.h"

namespace dwg {

namespace {

constexpr size_t kCodeword = 255;
constexpr size_t kSystemData = 239;  // data bytes of a system page's codeword
constexpr size_t kPageData = 251;    // data bytes of a data page's codeword
constexpr size_t kFileHeaderAt = 0x80;
constexpr size_t kFileHeaderCodewords = 3;
constexpr size_t kMetadataBytes = 0x110;
constexpr uint64_t kPagesStart = 0x480;
constexpr uint64_t kMaxCorrection = 16;  // repetitions of a system page's data, normally 3
constexpr uint64_t kMaxExpansion = 64;   // as for 2004: no section beyond 64 × the file
constexpr uint64_t kCodedPages = 4;      // the encoding of sections whose pages carry parity
constexpr size_t kPageEntryBytes = 56;

// The data bytes of `codewords` interleaved codewords: byte j of codeword i is stored
// at j × codewords + i, and its first `dataBytes` bytes are data.
std::vector<uint8_t> deinterleave(std::span<const uint8_t> coded, size_t codewords,
                                  size_t dataBytes) {
    std::vector<uint8_t> data(codewords * dataBytes);
    for (size_t i = 0; i < codewords; ++i)
        for (size_t j = 0; j < dataBytes; ++j) data[i * dataBytes + j] = coded[j * codewords + i];
    return data;
}

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
    if (file.size() < kFileHeaderAt + kFileHeaderCodewords * kCodeword) return reason::kTruncated;
    const auto header = deinterleave(file.subspan(kFileHeaderAt, kFileHeaderCodewords * kCodeword),
                                     kFileHeaderCodewords, kSystemData);
    ByteCursor lengthField(header, 0x18);
    const auto length = static_cast<int32_t>(lengthField.u32());
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

// A system page at `at` past the start of the pages: `compressed` bytes of data, padded
// to a multiple of 8 and repeated `correction` times, coded in codewords of 239 data
// bytes; it decompresses to `size` bytes.
std::string readSystemPage(std::span<const uint8_t> file, uint64_t at, uint64_t compressed,
                           uint64_t size, uint64_t correction, uint64_t maxSize,
                           std::vector<uint8_t>& out) {
    if (correction == 0 || correction > kMaxCorrection || compressed > file.size() ||
        size > maxSize)
        return reason::damaged("系统页的大小超出范围");
    const uint64_t codewords = (alignedTo8(compressed) * correction + kSystemData - 1) / kSystemData;
    const uint64_t coded = codewords * kCodeword;
    if (at > file.size() || coded > file.size() - std::min<uint64_t>(file.size(), kPagesStart + at))
        return reason::damaged("系统页超出文件");
    const auto data = deinterleave(file.subspan(kPagesStart + at, coded), codewords, kSystemData);
    out.assign(size, 0);
    size_t produced = 0;
    if (!decompress2007(std::span(data).first(compressed), out, produced) || produced != size)
        return reason::damaged("系统页无法解压");
    return {};
}

struct FilePage {
    uint64_t at = 0;  // past the start of the pages
    uint64_t size = 0;
};

std::string readPageMap(std::span<const uint8_t> data, std::unordered_map<uint64_t, FilePage>& out) {
    ByteCursor c(data);
    uint64_t at = 0;
    while (c.remaining() > 0) {
        const uint64_t size = c.u64();
        const auto id = static_cast<int64_t>(c.u64());
        if (!c.ok()) return reason::damaged("页表不完整");
        // A negative number marks a gap; its page keeps its place.
        const uint64_t number = id < 0 ? 0 - static_cast<uint64_t>(id) : static_cast<uint64_t>(id);
        out.try_emplace(number, FilePage{at, size});
        if (__builtin_add_overflow(at, size, &at)) return reason::damaged("页表无效");
    }
    return {};
}

struct SectionPage {
    uint64_t start = 0;  // in the section
    uint64_t id = 0;
    uint64_t size = 0;   // decompressed
    uint64_t compressed = 0;
};

struct SectionDescription {
    std::string name;
    uint64_t size = 0;
    uint64_t encoding = 0;
    std::vector<SectionPage> pages;
};

// The section's name, stored in UTF-16; the names read here are all ASCII.
std::string nameOf(std::span<const uint8_t> utf16) {
    std::string name;
    for (size_t i = 0; i + 1 < utf16.size(); i += 2) {
        if (utf16[i] == 0 && utf16[i + 1] == 0) break;
        name += utf16[i + 1] == 0 ? static_cast<char>(utf16[i]) : '?';
    }
    return name;
}

std::string readSectionMap(std::span<const uint8_t> data, uint64_t maxSection,
                           std::vector<SectionDescription>& out) {
    ByteCursor c(data);
    while (c.remaining() > 0) {
        SectionDescription d;
        d.size = c.u64();
        c.u64();  // largest page
        c.u64();  // encryption
        c.u64();  // hash
        const uint64_t nameBytes = c.u64();
        c.u64();
        d.encoding = c.u64();
        const uint64_t pageCount = c.u64();
        if (!c.ok() || nameBytes > c.remaining()) return reason::damaged("节表不完整");
        d.name = nameOf(c.take(nameBytes));
        if (pageCount > c.remaining() / kPageEntryBytes) return reason::damaged("节表不完整");
        if (d.size > maxSection) return reason::damaged("节" + d.name + "的大小超出范围");
        d.pages.resize(pageCount);
        for (SectionPage& p : d.pages) {
            p.start = c.u64();
            c.u64();  // size on disk
            p.id = c.u64();
            p.size = c.u64();
            p.compressed = c.u64();
            c.take(16);  // checksum, CRC
        }
        out.push_back(std::move(d));
    }
    return {};
}

struct Maps2007 {
    std::unordered_map<uint64_t, FilePage> pages;
    std::vector<SectionDescription> sections;
};

std::string readMaps(std::span<const uint8_t> file, uint64_t maxSection, Maps2007& maps) {
    Metadata m;
    if (std::string why = readMetadata(file, m); !why.empty()) return why;
    std::vector<uint8_t> data;
    if (std::string why = readSystemPage(file, m.pageMapAt, m.pageMapCompressed, m.pageMapSize,
                                         m.pageMapCorrection, maxSection, data);
        !why.empty())
        return why;
    if (std::string why = readPageMap(data, maps.pages); !why.empty()) return why;
    const auto sectionMap = maps.pages.find(m.sectionMapId);
    if (sectionMap == maps.pages.end()) return reason::damaged("找不到节表");
    if (std::string why = readSystemPage(file, sectionMap->second.at, m.sectionMapCompressed,
                                         m.sectionMapSize, m.sectionMapCorrection, maxSection, data);
        !why.empty())
        return why;
    return readSectionMap(data, maxSection, maps.sections);
}

// Copies the page's data into its place in `out`, through `scratch` when compressed.
std::string readPage(std::span<const uint8_t> file, const Maps2007& maps,
                     const SectionDescription& section, const SectionPage& page,
                     uint64_t maxSection, std::vector<uint8_t>& scratch, std::vector<uint8_t>& out) {
    const std::string name = "节" + section.name;
    const auto found = maps.pages.find(page.id);
    if (found == maps.pages.end()) return reason::damaged(name + "的页不存在");
    const FilePage& where = found->second;
    if (where.at > file.size() || where.size > file.size() - std::min<uint64_t>(file.size(), kPagesStart + where.at))
        return reason::damaged(name + "的页超出文件");
    if (page.start >= out.size() || page.size > maxSection || page.compressed > where.size)
        return reason::damaged(name + "的页大小超出范围");
    std::span<const uint8_t> data = file.subspan(kPagesStart + where.at, where.size);
    std::vector<uint8_t> decoded;
    if (section.encoding == kCodedPages) {
        const uint64_t codewords = (alignedTo8(page.compressed) + kPageData - 1) / kPageData;
        if (codewords * kCodeword > data.size()) return reason::damaged(name + "的页超出文件");
        decoded = deinterleave(data, codewords, kPageData);
        data = decoded;
    }
    data = data.first(page.compressed);
    if (page.compressed != page.size) {
        scratch.assign(page.size, 0);
        size_t produced = 0;
        if (!decompress2007(data, scratch, produced)) return reason::damaged(name + "的页无法解压");
        data = std::span(scratch).first(produced);
    }
    const size_t n = std::min<uint64_t>(data.size(), out.size() - page.start);
    std::copy_n(data.begin(), n, out.begin() + static_cast<ptrdiff_t>(page.start));
    return {};
}

std::string readSection(std::span<const uint8_t> file, const Maps2007& maps, const char* name,
                        uint64_t maxSection, std::vector<uint8_t>& out) {
    const auto section = std::find_if(maps.sections.begin(), maps.sections.end(),
                                      [&](const SectionDescription& d) { return d.name == name; });
    if (section == maps.sections.end()) return reason::damaged(std::string("缺少节") + name);
    out.assign(section->size, 0);
    std::vector<uint8_t> scratch;
    for (const SectionPage& page : section->pages) {
        if (std::string why = readPage(file, maps, *section, page, maxSection, scratch, out);
            !why.empty())
            return why;
    }
    return {};
}

}  // namespace

std::string readR2007Container(std::span<const uint8_t> file, Container& out) {
    ByteCursor fields(file, 0x0B);
    out.maintenance = fields.u8();
    ByteCursor codePage(file, 0x13);
    out.codePage = codePage.u16();
    if (!codePage.ok()) return reason::kTruncated;
    const uint64_t maxSection = kMaxExpansion * file.size();
    Maps2007 maps;
    if (std::string why = readMaps(file, maxSection, maps); !why.empty()) return why;
    std::vector<uint8_t> handles;
    for (auto [name, bytes] : {std::pair{"AcDb:Header", &out.header},
                               std::pair{"AcDb:Classes", &out.classes},
                               std::pair{"AcDb:Handles", &handles},
                               std::pair{"AcDb:AcDbObjects", &out.objects}}) {
        if (std::string why = readSection(file, maps, name, maxSection, *bytes); !why.empty())
            return why;
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
