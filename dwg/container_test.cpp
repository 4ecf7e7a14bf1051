#include "dwg/container.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "dwg/section_map_2007.h"
#include "dwg/sentinel_section.h"
#include "dwg/test_files.h"

namespace {

using dwg::Container;
using dwg::Version;

struct Sample {
    const char* file;
    Version version;
};
const Sample kSamples[] = {
    {"ACadSharp_sample_AC1014.dwg", Version::R14},
    {"ACadSharp_sample_AC1015.dwg", Version::R2000},
    {"ACadSharp_sample_AC1018.dwg", Version::R2004},
    {"ACadSharp_sample_AC1021.dwg", Version::R2007},
    {"ACadSharp_sample_AC1024.dwg", Version::R2010},
    {"ACadSharp_sample_AC1027.dwg", Version::R2013},
    {"ACadSharp_sample_AC1032.dwg", Version::R2018},
};

// The object's size (a modular short) at `offset` and the object it sizes must lie
// inside the objects.
bool objectFits(const std::vector<uint8_t>& objects, uint64_t offset) {
    uint64_t size = 0;
    for (int shift = 0; shift < 64 && offset + 1 < objects.size(); shift += 15) {
        const unsigned word = objects[offset] | (objects[offset + 1] << 8);
        offset += 2;
        size |= uint64_t{word & 0x7FFFu} << shift;
        if ((word & 0x8000u) == 0) return size <= objects.size() - offset;
    }
    return false;
}

bool startsWith(const std::vector<uint8_t>& bytes, const dwg::Sentinel& sentinel) {
    return bytes.size() >= sentinel.size() &&
           std::equal(sentinel.begin(), sentinel.end(), bytes.begin());
}

// What every container read must hold to, whatever the file.
void expectConsistent(const Container& c) {
    ASSERT_FALSE(c.objectMap.empty());
    EXPECT_TRUE(startsWith(c.header, dwg::kHeaderSentinel));
    EXPECT_TRUE(startsWith(c.classes, dwg::kClassesSentinel));
    for (const auto& location : c.objectMap) ASSERT_LT(location.offset, c.objects.size());
}

TEST(DwgContainer, ReadsEverySample) {
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.file);
        const auto file = dwg::fileBytes(s.file);
        ASSERT_FALSE(file.empty());
        Version v{};
        ASSERT_TRUE(dwg::versionOf(file, v));
        EXPECT_EQ(v, s.version);
        Container c;
        ASSERT_EQ(dwg::readContainer(file, c), "");
        EXPECT_EQ(c.version, s.version);
        EXPECT_EQ(c.codePage, 30);  // ANSI_1252, as the DXF twins say
        expectConsistent(c);
        for (size_t i = 1; i < c.objectMap.size(); ++i)
            ASSERT_LT(c.objectMap[i - 1].handle, c.objectMap[i].handle) << "entry " << i;
        for (const auto& location : c.objectMap)
            ASSERT_TRUE(objectFits(c.objects, location.offset)) << location.handle;
        if (s.version <= Version::R2000) {
            EXPECT_EQ(c.objects, file);
        }
    }
}

TEST(DwgContainer, RefusesOlderVersionsNamingThem) {
    const struct {
        const char* magic;
        const char* reason;
    } cases[] = {
        {"AC1009", "DWG版本R12不受支持（AC1009）"},
        {"AC1006", "DWG版本R10不受支持（AC1006）"},
        {"AC1004", "DWG版本R9不受支持（AC1004）"},
        {"AC1003", "DWG版本R2.6不受支持（AC1003）"},
        {"AC1002", "DWG版本R2.5不受支持（AC1002）"},
        {"AC2.10", "DWG版本R2.10不受支持（AC2.10）"},
        {"AC1.50", "DWG版本R2.0不受支持（AC1.50）"},
        {"MC0.0", "DWG版本R1.1不受支持（MC0.0）"},
        {"AC1040", "DWG版本AC1040不受支持"},
        {"0\r\nSEC", "不是DWG图形文件"},
        {"", "不是DWG图形文件"},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> file(c.magic, c.magic + std::char_traits<char>::length(c.magic));
        if (!file.empty()) file.resize(0x100, 0);
        Container out;
        EXPECT_EQ(dwg::readContainer(file, out), c.reason) << c.magic;
        Version v{};
        EXPECT_FALSE(dwg::versionOf(file, v));
    }
}

TEST(DwgContainer, RefusesDrawingsEncryptedWithAPassword) {
    for (const char* name : {"ACadSharp_sample_AC1018.dwg", "ACadSharp_sample_AC1021.dwg",
                             "ACadSharp_sample_AC1032.dwg"}) {
        auto file = dwg::fileBytes(name);
        file[0x18] |= 0x01;
        Container c;
        EXPECT_EQ(dwg::readContainer(file, c), "DWG文件有密码保护，无法读取") << name;
    }
}

// A cut file either fails with a reason or, cut only past what the container needs,
// still reads consistently; cut inside the header or the maps, it fails.
TEST(DwgContainer, CutFilesFailWithAReason) {
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.file);
        const auto file = dwg::fileBytes(s.file);
        for (size_t cut = 0; cut < file.size(); cut += 1 + file.size() / 300) {
            const std::span<const uint8_t> part(file.data(), cut);
            Container c;
            const std::string why = dwg::readContainer(part, c);
            if (why.empty())
                expectConsistent(c);
            else
                EXPECT_TRUE(c.objects.empty() && c.objectMap.empty());
            if (cut < 0x100) {
                EXPECT_NE(why, "") << "cut at " << cut;
            }
        }
    }
}

// Size and offset fields overwritten with large, zero or small values at the places
// each version keeps them: the read fails with a reason or stays consistent.
TEST(DwgContainer, OverwrittenFieldsFailWithAReason) {
    const struct {
        const char* file;
        size_t at;
        size_t width;
        bool mustFail;
    } cases[] = {
        {"ACadSharp_sample_AC1015.dwg", 0x15, 4, true},         // locator count
        {"ACadSharp_sample_AC1015.dwg", 0x1A, 4, true},         // header offset
        {"ACadSharp_sample_AC1015.dwg", 0x1E, 4, true},         // header size
        {"ACadSharp_sample_AC1015.dwg", 0x23, 4, true},         // classes offset
        {"ACadSharp_sample_AC1015.dwg", 0x2C, 4, true},         // object map offset
        {"ACadSharp_sample_AC1015.dwg", 0x30, 4, false},        // object map size
        {"ACadSharp_sample_AC1014.dwg", 0x4EE3B, 2, true},      // first object map page size
        {"ACadSharp_sample_AC1014.dwg", 0x4EE3D, 8, false},     // its first pairs
        {"ACadSharp_sample_AC1018.dwg", 0x80, 12, true},        // encrypted file id
        {"ACadSharp_sample_AC1018.dwg", 0x80 + 0x54, 8, true},  // page map address
        {"ACadSharp_sample_AC1018.dwg", 0x80 + 0x5C, 4, true},  // section map id
        {"ACadSharp_sample_AC1018.dwg", 0x1E784, 4, true},      // page map decompressed size
        {"ACadSharp_sample_AC1018.dwg", 0x1E788, 4, true},      // page map compressed size
        {"ACadSharp_sample_AC1018.dwg", 0x1E524, 4, true},      // section map decompressed size
        {"ACadSharp_sample_AC1018.dwg", 0x1E528, 4, true},      // section map compressed size
        {"ACadSharp_sample_AC1018.dwg", 0x1E208, 4, true},      // header page's data size
        {"ACadSharp_sample_AC1018.dwg", 0x1E200, 4, true},      // header page's type
        {"ACadSharp_sample_AC1018.dwg", 0x1C840, 16, false},    // object map page's data
        {"ACadSharp_sample_AC1018.dwg", 0x4400, 64, false},     // first objects page's data
        {"ACadSharp_sample_AC1021.dwg", 0xC8, 12, true},        // coded metadata length
        {"ACadSharp_sample_AC1021.dwg", 0xE0, 30, false},       // compressed metadata
        {"ACadSharp_sample_AC1021.dwg", 0x480, 64, false},      // first page
        {"ACadSharp_sample_AC1021.dwg", 0x10000, 600, false},   // a data page's codewords
    };
    for (const auto& m : cases) {
        for (const uint8_t fill : {uint8_t{0xFF}, uint8_t{0x00}, uint8_t{0x7F}}) {
            SCOPED_TRACE(std::string(m.file) + " at " + std::to_string(m.at) + " fill " +
                         std::to_string(fill));
            auto file = dwg::fileBytes(m.file);
            ASSERT_LE(m.at + m.width, file.size());
            std::fill_n(file.begin() + static_cast<ptrdiff_t>(m.at), m.width, fill);
            Container c;
            const std::string why = dwg::readContainer(file, c);
            if (why.empty()) expectConsistent(c);
            if (m.mustFail) {
                EXPECT_NE(why, "");
            }
        }
    }
}

// Byte j of codeword i, stored at j × codewords + i, comes back at i × dataBytes + j,
// for counts of codewords and data bytes that are and are not multiples of eight.
TEST(DwgContainer, DeinterleavesCodewords) {
    for (const size_t codewords : {1, 3, 8, 13, 16, 41}) {
        for (const size_t dataBytes : {3, 8, 239, 251}) {
            std::vector<uint8_t> coded(codewords * dwg::kCodewordBytes);
            const auto byteOf = [](size_t i, size_t j) {
                return static_cast<uint8_t>(i * 31 + j * 7 + 1);
            };
            for (size_t i = 0; i < codewords; ++i)
                for (size_t j = 0; j < dwg::kCodewordBytes; ++j)
                    coded[j * codewords + i] = byteOf(i, j);
            const std::vector<uint8_t> data = dwg::deinterleave(coded, codewords, dataBytes);
            ASSERT_EQ(data.size(), codewords * dataBytes);
            size_t wrong = 0;
            for (size_t i = 0; i < codewords; ++i)
                for (size_t j = 0; j < dataBytes; ++j)
                    wrong += data[i * dataBytes + j] != byteOf(i, j);
            EXPECT_EQ(wrong, 0u) << codewords << " codewords of " << dataBytes;
        }
    }
}

}  // namespace
