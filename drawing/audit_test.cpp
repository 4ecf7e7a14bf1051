// AuditInfo on drawings with each fault it knows: found without fixing, fixed with
// fixing, clean afterwards, and readable by an independent reader.
#include "drawing/audit.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "drawing/drawing.h"
#include "drawing/test_drawings.h"

namespace drawing {
namespace {

using testing::Groups;
using testing::render;
using testing::sampleGroups;
using testing::SampleOptions;
using G = std::pair<int, std::string>;

// The index of the 0 group of the first record of `type` after the group (2, section).
size_t recordAt(const Groups& g, const std::string& section, const std::string& type) {
    auto it = std::find(g.begin(), g.end(), G{2, section});
    it = std::find(it, g.end(), G{0, type});
    return static_cast<size_t>(it - g.begin());
}

// The index of the first group with `code` in the record starting at `record`.
size_t groupIn(const Groups& g, size_t record, int code) {
    for (size_t k = record + 1; k < g.size() && g[k].first != 0; ++k)
        if (g[k].first == code) return k;
    return g.size();
}

struct Fault {
    const char* name;
    const char* version;
    std::function<void(Groups&)> make;
    const char* finding;  // the start of a finding's text
};

const Fault kFaults[] = {
    {"DuplicateHandle", "AC1015",
     [](Groups& g) {
         const size_t line = recordAt(g, "ENTITIES", "LINE"),
                      text = recordAt(g, "ENTITIES", "TEXT");
         g[groupIn(g, text, 5)].second = g[groupIn(g, line, 5)].second;
     },
     "重复的句柄"},
    {"DuplicateHandleInGroup105", "AC1015",
     [](Groups& g) {  // found by fuzzing
         const size_t line = recordAt(g, "ENTITIES", "LINE"),
                      text = recordAt(g, "ENTITIES", "TEXT");
         g[groupIn(g, text, 5)] = {105, g[groupIn(g, line, 5)].second};
     },
     "重复的句柄"},
    {"MissingHandle", "AC1015",
     [](Groups& g) {
         g.erase(g.begin() + static_cast<long>(groupIn(g, recordAt(g, "ENTITIES", "LINE"), 5)));
     },
     "缺少句柄"},
    {"LowHandseed", "AC1015",
     [](Groups& g) {
         g[static_cast<size_t>(std::find(g.begin(), g.end(), G{9, "$HANDSEED"}) - g.begin()) + 1]
             .second = "1";
     },
     "$HANDSEED"},
    {"MissingOwner", "AC1015",
     [](Groups& g) { g[groupIn(g, recordAt(g, "ENTITIES", "LINE"), 330)].second = "ABCDE"; },
     "对象 LINE"},
    {"DanglingPointer", "AC1015",
     [](Groups& g) {
         const size_t line = recordAt(g, "ENTITIES", "LINE");
         g.insert(g.begin() + static_cast<long>(line) + 3, G{340, "ABCDE"});
     },
     "对象 LINE"},
    {"DanglingDictionaryEntry", "AC1015",
     [](Groups& g) {
         const size_t dict = recordAt(g, "OBJECTS", "DICTIONARY");
         g.insert(g.begin() + static_cast<long>(groupIn(g, dict, 281)) + 1,
                  {G{3, "GONE"}, G{350, "ABCDE"}});
     },
     "字典"},
    {"UndefinedBlock", "AC1015",
     [](Groups& g) { g[groupIn(g, recordAt(g, "ENTITIES", "INSERT"), 2)].second = "NOBLOCK"; },
     "插入了未定义的块 NOBLOCK"},
    {"UndefinedBlockR12", "AC1009",
     [](Groups& g) { g[groupIn(g, recordAt(g, "ENTITIES", "INSERT"), 2)].second = "NOBLOCK"; },
     "插入了未定义的块 NOBLOCK"},
    {"MissingSeqend", "AC1015",
     [](Groups& g) {
         const size_t seqend = recordAt(g, "ENTITIES", "SEQEND");
         g.erase(g.begin() + static_cast<long>(seqend),
                 g.begin() + static_cast<long>(groupIn(g, seqend, 8)) + 1);
     },
     "INSERT"},
    {"MissingSeqendR12", "AC1009",
     [](Groups& g) {
         const size_t seqend = recordAt(g, "ENTITIES", "SEQEND");
         g.erase(g.begin() + static_cast<long>(seqend),
                 g.begin() + static_cast<long>(groupIn(g, seqend, 8)) + 1);
     },
     "INSERT"},
    {"StrayAttribute", "AC1015",
     [](Groups& g) {
         const size_t text = recordAt(g, "ENTITIES", "TEXT");
         const std::string space = g[groupIn(g, text, 330)].second;
         g.insert(g.begin() + static_cast<long>(text),
                  {G{0, "ATTRIB"}, G{5, "F100"}, G{330, space}, G{100, "AcDbEntity"}, G{8, "0"},
                   G{100, "AcDbText"}, G{10, "0"}, G{20, "0"}, G{30, "0"}, G{40, "1"}, G{1, "x"},
                   G{100, "AcDbAttribute"}, G{2, "T"}, G{70, "0"}});
     },
     "多余的 ATTRIB"},
    {"UnmarkedAttributes", "AC1015",
     [](Groups& g) {
         const size_t title = recordAt(g, "ENTITIES", "INSERT");
         for (size_t k = title + 1; k < g.size(); ++k)
             if (g[k] == G{66, "1"}) {
                 g.erase(g.begin() + static_cast<long>(k));
                 break;
             }
     },
     "INSERT"},
    {"MissingLayerZero", "AC1015",
     [](Groups& g) {
         const size_t layer = recordAt(g, "TABLES", "LAYER");
         const size_t next = static_cast<size_t>(
             std::find(g.begin() + static_cast<long>(layer) + 1, g.end(), G{0, "LAYER"}) -
             g.begin());
         g.erase(g.begin() + static_cast<long>(layer), g.begin() + static_cast<long>(next));
     },
     "缺少必需的表项：图层 0"},
    {"MissingStandardStyleR12", "AC1009",
     [](Groups& g) {
         const size_t style = recordAt(g, "TABLES", "STYLE");
         const size_t next = static_cast<size_t>(
             std::find(g.begin() + static_cast<long>(style) + 1, g.end(), G{0, "STYLE"}) -
             g.begin());
         g.erase(g.begin() + static_cast<long>(style), g.begin() + static_cast<long>(next));
         const size_t text = recordAt(g, "ENTITIES", "TEXT");
         g.insert(g.begin() + static_cast<long>(groupIn(g, text, 8)) + 1, G{7, "STANDARD"});
     },
     "缺少必需的表项：文字样式 STANDARD"},
    {"UndefinedLayer", "AC1015",
     [](Groups& g) { g[groupIn(g, recordAt(g, "ENTITIES", "LINE"), 8)].second = "NOLAYER"; },
     "所在的图层 NOLAYER 不存在"},
    {"UndefinedLinetypeR12", "AC1009",
     [](Groups& g) {
         const size_t line = recordAt(g, "ENTITIES", "LINE");
         g.insert(g.begin() + static_cast<long>(groupIn(g, line, 8)) + 1, G{6, "NOLINETYPE"});
     },
     "的线型 NOLINETYPE 未定义"},
    {"UndefinedTextStyle", "AC1018",
     [](Groups& g) {
         const size_t text = recordAt(g, "ENTITIES", "TEXT");
         g.insert(g.begin() + static_cast<long>(groupIn(g, text, 8)) + 1, G{7, "NOSTYLE"});
     },
     "的文字样式 NOSTYLE 未定义"},
    {"InvalidColour", "AC1032",
     [](Groups& g) {
         const size_t line = recordAt(g, "ENTITIES", "LINE");
         g.insert(g.begin() + static_cast<long>(groupIn(g, line, 8)) + 1, G{62, "300"});
     },
     "的颜色号 300 无效"},
    {"DanglingHandleInExtendedData", "AC1015",
     [](Groups& g) {
         const size_t line = recordAt(g, "ENTITIES", "LINE");
         size_t end = line + 1;
         while (g[end].first != 0) ++end;
         g.insert(g.begin() + static_cast<long>(end), {G{1001, "ACAD"}, G{1005, "ABCDE"}});
     },
     "指向不存在的对象 ABCDE"},
    {"DanglingEntryOfATableList", "AC1015",
     [](Groups& g) {
         const size_t table = recordAt(g, "TABLES", "TABLE");
         g.insert(g.begin() + static_cast<long>(groupIn(g, table, 70)) + 1, G{340, "ABCDE"});
     },
     "指向不存在的对象 ABCDE"},
};

void PrintTo(const Fault& f, std::ostream* os) { *os << f.name; }

class AuditFault : public ::testing::TestWithParam<Fault> {};

TEST_P(AuditFault, IsFoundThenFixedAndTheFileReadsClean) {
    const Fault& f = GetParam();
    SampleOptions o;
    o.version = f.version;
    Groups groups = sampleGroups(o);
    f.make(groups);
    const std::string bytes = render(groups, DxfFormat::Ascii);
    Drawing d;
    ASSERT_TRUE(Drawing::parse(bytes, d).ok());

    const AuditReport seen = auditDrawing(d, false);
    ASSERT_FALSE(seen.findings.empty());
    EXPECT_TRUE(std::any_of(seen.findings.begin(), seen.findings.end(), [&](const AuditFinding& a) {
        return a.text.find(f.finding) != std::string::npos;
    })) << seen.findings.front().text;
    EXPECT_EQ(seen.fixedCount(), 0u);
    EXPECT_EQ(d.bytes(), bytes);

    const AuditReport fixed = auditDrawing(d, true);
    EXPECT_EQ(fixed.findings.size(), seen.findings.size());
    EXPECT_EQ(fixed.fixedCount(), fixed.findings.size());
    const AuditReport again = auditDrawing(d, true);
    EXPECT_TRUE(again.findings.empty()) << again.findings.front().text;

    Drawing reread;
    ASSERT_TRUE(Drawing::parse(d.bytes(), reread).ok());
    EXPECT_TRUE(auditDrawing(reread, false).findings.empty());
    const auto path = std::filesystem::temp_directory_path() /
                      ("drawing_audit_" + std::to_string(::getpid()) + f.name + ".dxf");
    testing::writeFile(path.string(), d.bytes());
    EXPECT_EQ(testing::ezdxfAudit(path.string()), "");
    std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(Faults, AuditFault, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Audit, CleanDrawingsOfEveryVersionHaveNothingToFix) {
    for (const char* version : {"AC1009", "AC1015", "AC1018", "AC1032"}) {
        SampleOptions o;
        o.version = version;
        const std::string bytes = testing::sampleDrawing(o);
        Drawing d;
        ASSERT_TRUE(Drawing::parse(bytes, d).ok());
        const AuditReport report = auditDrawing(d, true);
        EXPECT_TRUE(report.findings.empty()) << version << ": " << report.findings.front().text;
        EXPECT_EQ(d.bytes(), bytes);
    }
}

// A drawing whose only dimension style is ISO-25 and whose entities are all on other
// layers than 0 is sound: audit adds no Standard style, no layer 0, no handle.
TEST(Audit, DrawingWithoutStandardDimensionStyleOrLayerZeroIsLeftAlone) {
    Groups g = sampleGroups({});
    g[groupIn(g, recordAt(g, "TABLES", "DIMSTYLE"), 2)].second = "ISO-25";
    const size_t zero = recordAt(g, "TABLES", "LAYER");
    const size_t next = static_cast<size_t>(
        std::find(g.begin() + static_cast<long>(zero) + 1, g.end(), G{0, "LAYER"}) - g.begin());
    g.erase(g.begin() + static_cast<long>(zero), g.begin() + static_cast<long>(next));
    for (auto& [code, value] : g)
        if ((code == 8 || code == 6) && value == "0") value = "USED";
    const std::string bytes = render(g, DxfFormat::Ascii);
    Drawing d;
    ASSERT_TRUE(Drawing::parse(bytes, d).ok());
    const AuditReport report = auditDrawing(d, true);
    EXPECT_TRUE(report.findings.empty()) << report.findings.front().text;
    EXPECT_EQ(d.bytes(), bytes);
}

}  // namespace
}  // namespace drawing
