#include "dwg/paged_sections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "dwg/section_map_2004.h"
#include "dwg/test_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

void putLittle(Bytes& b, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// `data` as one literal run in the compression of 2004 pages, then the end opcode.
Bytes storedAsLiterals(const Bytes& data) {
    Bytes b;
    const size_t n = data.size();
    if (n < 4 || n > 18) {
        b.push_back(0x00);
        size_t rest = n - 3 - 0x0F;
        for (; rest > 0xFF; rest -= 0xFF) b.push_back(0x00);
        b.push_back(static_cast<uint8_t>(rest));
    } else {
        b.push_back(static_cast<uint8_t>(n - 3));
    }
    b.insert(b.end(), data.begin(), data.end());
    b.push_back(0x11);
    return b;
}

void appendSystemPage(Bytes& file, uint32_t type, const Bytes& data) {
    const Bytes stored = storedAsLiterals(data);
    putLittle(file, type, 4);
    putLittle(file, data.size(), 4);
    putLittle(file, stored.size(), 4);
    putLittle(file, 2, 4);
    putLittle(file, 0, 4);
    file.insert(file.end(), stored.begin(), stored.end());
}

Bytes sectionMapOf(const dwg::PagedFile& paged) {
    Bytes b;
    putLittle(b, paged.sections.size(), 4);
    for (const uint32_t v : {2u, 0x7400u, 0u, 0u}) putLittle(b, v, 4);
    for (const dwg::SectionDescription& d : paged.sections) {
        putLittle(b, d.size, 8);
        putLittle(b, d.pages.size(), 4);
        putLittle(b, d.pages.empty() ? 0x7400 : d.pages.front().size, 4);
        putLittle(b, 1, 4);
        putLittle(b, d.compressed ? 2 : 1, 4);
        putLittle(b, 0, 4);
        putLittle(b, 0, 4);
        Bytes name(64, 0);
        std::copy(d.name.begin(), d.name.end(), name.begin());
        b.insert(b.end(), name.begin(), name.end());
        for (const dwg::SectionPage& p : d.pages) {
            putLittle(b, p.number, 4);
            putLittle(b, p.compressedSize, 4);
            putLittle(b, p.start, 8);
        }
    }
    return b;
}

// The 2004 test drawing with its maps rewritten after `change`: a new section map (page
// 100) and page map appended to the file, and the encrypted file header pointing there.
Bytes rewritten2004(const std::function<void(dwg::PagedFile&)>& change) {
    Bytes file = dwg::fileBytes("ACadSharp_sample_AC1018.dwg");
    dwg::PagedFile paged;
    EXPECT_EQ(dwg::readMaps2004(file, paged), "");
    change(paged);
    std::vector<std::pair<uint64_t, dwg::FilePage>> pages(paged.pages.begin(), paged.pages.end());
    std::sort(pages.begin(), pages.end(),
              [](const auto& a, const auto& b) { return a.second.address < b.second.address; });
    const auto& last = pages.back().second;
    file.resize(std::max<uint64_t>(file.size(), last.address + last.size), 0);
    const size_t sectionMapAt = file.size();
    appendSystemPage(file, 0x4163003B, sectionMapOf(paged));
    Bytes pageMap;
    for (const auto& [number, page] : pages) {
        putLittle(pageMap, number, 4);
        putLittle(pageMap, page.size, 4);
    }
    putLittle(pageMap, 100, 4);
    putLittle(pageMap, file.size() - sectionMapAt, 4);
    const size_t pageMapAt = file.size();
    appendSystemPage(file, 0x41630E3B, pageMap);
    const std::span header(file.data() + 0x80, 0x6C);
    dwg::decryptFileHeader2004(header);
    std::fill_n(header.begin() + 0x54, 8, 0);
    for (int i = 0; i < 4; ++i)
        header[0x54 + i] = static_cast<uint8_t>((pageMapAt - 0x100) >> (8 * i));
    std::fill_n(header.begin() + 0x5C, 4, 0);
    header[0x5C] = 100;
    dwg::decryptFileHeader2004(header);
    return file;
}

dwg::SectionDescription& section(dwg::PagedFile& paged, const std::string& name) {
    return *std::find_if(paged.sections.begin(), paged.sections.end(),
                         [&](const dwg::SectionDescription& d) { return d.name == name; });
}

TEST(DwgPagedSections, RewrittenMapsStillRead) {
    dwg::Container c;
    ASSERT_EQ(dwg::readContainer(rewritten2004([](dwg::PagedFile&) {}), c), "");
    EXPECT_EQ(c.objectMap.size(), 918u);
}

// Maps that claim more than the file can hold, or point nowhere, fail with a reason; a
// map repeating one page thousands of times stops at the byte budget instead of
// decompressing it again and again.
TEST(DwgPagedSections, MapsThatDoNotHoldTogetherFail) {
    const struct {
        const char* name;
        std::function<void(dwg::PagedFile&)> change;
        const char* reason;
    } cases[] = {
        {"one page repeated",
         [](dwg::PagedFile& p) {
             auto& objects = section(p, "AcDb:AcDbObjects");
             objects.pages.assign(20000, objects.pages.front());
         },
         "DWG文件已损坏：节AcDb:AcDbObjects的页大小超出范围"},
        {"section larger than the budget",
         [](dwg::PagedFile& p) { section(p, "AcDb:AcDbObjects").size = uint64_t{1} << 40; },
         "DWG文件已损坏：节AcDb:AcDbObjects的大小超出范围"},
        {"page size larger than the budget",
         [](dwg::PagedFile& p) { section(p, "AcDb:Header").pages.front().size = 0xFFFFFFFF; },
         "DWG文件已损坏：节AcDb:Header的页大小超出范围"},
        {"page starting past its section",
         [](dwg::PagedFile& p) { section(p, "AcDb:Classes").pages.front().start = 1 << 20; },
         "DWG文件已损坏：节AcDb:Classes的页位置超出范围"},
        {"page not in the page map",
         [](dwg::PagedFile& p) { section(p, "AcDb:Handles").pages.front().number = 77; },
         "DWG文件已损坏：节AcDb:Handles的页不存在"},
        {"section missing",
         [](dwg::PagedFile& p) { section(p, "AcDb:Handles").name = "AcDb:Elsewhere"; },
         "DWG文件已损坏：缺少节AcDb:Handles"},
    };
    for (const auto& c : cases) {
        dwg::Container out;
        EXPECT_EQ(dwg::readContainer(rewritten2004(c.change), out), c.reason) << c.name;
    }
}

}  // namespace
