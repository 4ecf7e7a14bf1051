// Tables, their styles, contents and geometry, and shapes of the test drawings: an
// object cut anywhere or claiming more columns than its bytes could hold fails without
// reading past its end or allocating for the claim; shapes take their names from the
// shape file beside the drawing and are left out, counted, without it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "drawing/file.h"
#include "dwg/dwg_format.h"
#include "dwg/shapes.h"
#include "dwg/test_files.h"

namespace dwg {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    const std::vector<uint8_t> bytes = fileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Opens the object at `offset` of the drawing up to its own data.
ObjectType openObject(const OpenedDwg& s, uint64_t offset, ObjectFrame& frame, Record& record) {
    return openObject(s, s.container.objects, offset, frame, record);
}

bool isTableKind(const ObjectType& t) {
    return t.dxfName == "ACAD_TABLE" || t.dxfName == "TABLESTYLE" ||
           t.dxfName == "CELLSTYLEMAP" || t.dxfName == "TABLEGEOMETRY" ||
           t.dxfName == "TABLECONTENT";
}

const char* const kSamples[] = {"ACadSharp_sample_AC1015.dwg", "ACadSharp_sample_AC1018.dwg",
                                "ACadSharp_sample_AC1021.dwg", "ACadSharp_sample_AC1024.dwg",
                                "ACadSharp_sample_AC1027.dwg", "ACadSharp_sample_AC1032.dwg"};

TEST(TableObjects, CutAnywhereTheyFailWithinTheirBytes) {
    for (const char* name : kSamples) {
        OpenedDwg s;
        ASSERT_TRUE(openDwg(name, s));
        std::map<std::string, int> cut;
        for (const ObjectLocation& location : s.container.objectMap) {
            for (int eighth = 1; eighth < 8; ++eighth) {
                ObjectFrame frame;
                Record record;
                const ObjectType type = openObject(s, location.offset, frame, record);
                if (!isTableKind(type)) break;
                BitReader& d = frame.data();
                d.limit(d.position() + static_cast<size_t>(frame.dataLeft()) * eighth / 8);
                type.decode(frame, record);
                EXPECT_TRUE(frame.failed()) << name << " " << type.dxfName << " " << eighth;
                EXPECT_EQ(d.position(), d.end()) << name << " " << type.dxfName;
                ++cut[type.dxfName];
            }
        }
        EXPECT_EQ(cut["ACAD_TABLE"], 2 * 7) << name;
        EXPECT_EQ(cut["TABLESTYLE"], 7) << name;
        EXPECT_EQ(cut["TABLEGEOMETRY"], 2 * 7) << name;
        EXPECT_EQ(cut["TABLECONTENT"], 2 * 7) << name;
        // Up to 2007 a table style keeps the cell styles of later versions apart.
        EXPECT_EQ(cut["CELLSTYLEMAP"], s.container.version < Version::R2010 ? 7 : 0) << name;
    }
}

// Writes `value` as a BL (code 00, four bytes little endian) at bit `at`.
void writeBL(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    const auto put = [&](size_t bit, bool on) {
        const uint8_t mask = static_cast<uint8_t>(0x80 >> (bit % 8));
        bytes[bit / 8] = static_cast<uint8_t>(on ? bytes[bit / 8] | mask : bytes[bit / 8] & ~mask);
    };
    put(at, false);
    put(at + 1, false);
    for (int i = 0; i < 32; ++i) put(at + 2 + i, (value >> (8 * (i / 8) + 7 - i % 8)) & 1);
}

TEST(TableObjects, ColumnCountsBeyondTheirBytesFail) {
    for (const char* name : kSamples) {
        OpenedDwg s;
        ASSERT_TRUE(openDwg(name, s));
        int tables = 0;
        for (const ObjectLocation& location : s.container.objectMap) {
            ObjectFrame frame;
            Record record;
            if (openObject(s, location.offset, frame, record).dxfName != "ACAD_TABLE") continue;
            // The bit of the column count: after the block reference, the flags and the
            // direction up to 2007, after three fields ahead of the table content from
            // 2010 on (its name and description are texts of the text stream).
            decodeInsert(frame, record);
            BitReader& d = frame.data();
            if (s.container.version >= Version::R2010) {
                d.RC();
                d.BL();
                if (s.container.version >= Version::R2013) {
                    d.BL();
                } else {
                    d.B();
                }
            } else {
                d.BS();
                d.BD3();
            }
            for (const uint32_t columns : {0x40000000u, 0x80000000u, 0x7fffffffu}) {
                OpenedDwg hostile;
                hostile.classes = s.classes;
                hostile.container.version = s.container.version;
                hostile.container.objects = s.container.objects;
                writeBL(hostile.container.objects, d.position(), columns);
                ObjectFrame again;
                Record other;
                const ObjectType type = openObject(hostile, location.offset, again, other);
                type.decode(again, other);
                EXPECT_TRUE(again.failed()) << name << " " << columns;
            }
            ++tables;
        }
        EXPECT_EQ(tables, 2) << name;
    }
}

TEST(Shapes, NamesFromCompiledShapeFiles) {
    const std::string shx = readBytes(fs::path(DWG_TESTDATA) / "test_shape.shx");
    EXPECT_EQ(shapeName(shx, 1), "MY-SHAPE");
    EXPECT_EQ(shapeName(shx, 2), std::nullopt);
    std::string font = shx;
    font.replace(11, 6, "unifnt");  // another kind of compiled file
    EXPECT_EQ(shapeName(font, 1), std::nullopt);
    // Cut anywhere before the end of the name, the file names nothing.
    for (size_t size = 0; size < shx.find("MY-SHAPE") + 9; ++size)
        EXPECT_EQ(shapeName(shx.substr(0, size), 1), std::nullopt) << size;
}

// The groups of the `n`th object of `type`, handles aside (the twin made some objects
// anew, and leaves out no null handle).
std::vector<std::pair<int, std::string>> objectGroups(drawing::Drawing& d, const std::string& type,
                                                      int n) {
    for (size_t i = 0; i < d.size(); ++i) {
        if (d.record(i).type != type || n-- > 0) continue;
        std::vector<std::pair<int, std::string>> groups;
        for (const drawing::Group& g : d.groups(i))
            if (g.code != 5 && g.code != 102 && (g.code < 330 || g.code > 369))
                groups.emplace_back(g.code, drawing::valueText(g, d.format()));
        return groups;
    }
    return {};
}

bool sameText(const std::string& a, const std::string& b) {
    char* endA = nullptr;
    char* endB = nullptr;
    const double x = std::strtod(a.c_str(), &endA);
    const double y = std::strtod(b.c_str(), &endB);
    if (a == b) return true;
    if (*endA || *endB || endA == a.c_str() || endB == b.c_str()) return false;
    return std::fabs(x - y) <= 1e-9 * std::max(1.0, std::fabs(y));
}

TEST(TableObjects, AsTheDrawingProgramWritesThem) {
    dwg::installDwgReader();
    for (const char* sample : kSamples) {
        const std::string stem = fs::path(sample).stem().string();
        drawing::Drawing ours, twin;
        ASSERT_TRUE(drawing::readDrawingFile((fs::path(DWG_TESTDATA) / sample).string(), ours).ok());
        ASSERT_TRUE(drawing::readDrawingFile(
                        (fs::path(DWG_TESTDATA) / (stem + "_ascii.dxf")).string(), twin)
                        .ok());
        const bool roundtrip = ours.version() < "AC1024";  // kept apart up to 2007 only
        for (const auto& [type, count] :
             std::vector<std::pair<std::string, int>>{{"TABLESTYLE", 1},
                                                      {"TABLECONTENT", 2},
                                                      {"TABLEGEOMETRY", 2},
                                                      {"CELLSTYLEMAP", roundtrip ? 1 : 0}}) {
            for (int n = 0; n < count; ++n) {
                const auto a = objectGroups(ours, type, n);
                const auto b = objectGroups(twin, type, n);
                ASSERT_EQ(a.size(), b.size()) << stem << " " << type << " " << n;
                EXPECT_GT(a.size(), 20u) << stem << " " << type;
                for (size_t k = 0; k < a.size(); ++k)
                    EXPECT_TRUE(a[k].first == b[k].first && sameText(a[k].second, b[k].second))
                        << stem << " " << type << " " << n << " group " << k << ": "
                        << a[k].first << " " << a[k].second << " / " << b[k].first << " "
                        << b[k].second;
            }
        }
    }
}

class ShapesBeside : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("dwg_shapes_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        installDwgReader();
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(ShapesBeside, NamedFromTheFileBesideTheDrawingOrLeftOut) {
    const std::string shx = readBytes(fs::path(DWG_TESTDATA) / "test_shape.shx");
    struct Case {
        const char* file;  // the shape file beside the drawing, or none
        std::string bytes;
        const char* name;  // the SHAPE's name, or none when left out
    } cases[] = {
        {"test_shape.shx", shx, "MY-SHAPE"},
        {"TEST_SHAPE.SHX", shx, "MY-SHAPE"},
        {nullptr, "", nullptr},
        {"other.shx", shx, nullptr},
        {"test_shape.shx", shx.substr(0, 30), nullptr},
    };
    for (const char* sample : {"ACadSharp_sample_AC1015.dwg", "ACadSharp_sample_AC1032.dwg"}) {
        for (const Case& c : cases) {
            fs::remove_all(dir_);
            fs::create_directories(dir_);
            const fs::path dwg = dir_ / "drawing.dwg";
            fs::copy_file(fs::path(DWG_TESTDATA) / sample, dwg);
            if (c.file) std::ofstream(dir_ / c.file, std::ios::binary) << c.bytes;
            drawing::Drawing d;
            drawing::DrawingSource source;
            ASSERT_TRUE(drawing::readDrawingFile(dwg.string(), d, &source).ok());
            const int32_t shape = d.find(0x889);
            const bool leftOut =
                std::find(source.notes.begin(), source.notes.end(), "未转换的图元 SHAPE：1 个") !=
                source.notes.end();
            EXPECT_EQ(leftOut, c.name == nullptr) << sample << " " << (c.file ? c.file : "-");
            if (!c.name) {
                EXPECT_LT(shape, 0) << sample;
                continue;
            }
            ASSERT_GE(shape, 0) << sample;
            std::string name;
            EXPECT_TRUE(d.value(static_cast<size_t>(shape), 2, name));
            EXPECT_EQ(name, c.name) << sample << " " << c.file;
        }
    }
}

}  // namespace
}  // namespace dwg
