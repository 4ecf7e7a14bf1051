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

// The sample without the table entry `name` of `type`.
Groups withoutEntry(Groups g, const std::string& type, const std::string& name) {
    for (size_t at = recordAt(g, "TABLES", type); at < g.size(); ++at) {
        if (g[at] != G{0, type} || g[groupIn(g, at, 2)].second != name) continue;
        size_t next = at + 1;
        while (g[next].first != 0) ++next;
        g.erase(g.begin() + static_cast<long>(at), g.begin() + static_cast<long>(next));
        break;
    }
    return g;
}

// The sample with the group (`code`, `value`) right after the layer of the first `type`
// in ENTITIES.
Groups withEntityValue(Groups g, const std::string& type, int code, const std::string& value) {
    const size_t at = recordAt(g, "ENTITIES", type);
    g.insert(g.begin() + static_cast<long>(groupIn(g, at, 8)) + 1, G{code, value});
    return g;
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
    {"MissingLayerZero", "AC1015", [](Groups& g) { g = withoutEntry(g, "LAYER", "0"); },
     "缺少必需的表项：图层 0"},
    {"MissingStandardStyleR12", "AC1009",
     [](Groups& g) {
         g = withEntityValue(withoutEntry(g, "STYLE", "STANDARD"), "TEXT", 7, "STANDARD");
     },
     "缺少必需的表项：文字样式 STANDARD"},
    {"UndefinedLayer", "AC1015",
     [](Groups& g) { g[groupIn(g, recordAt(g, "ENTITIES", "LINE"), 8)].second = "NOLAYER"; },
     "所在的图层 NOLAYER 不存在"},
    {"UndefinedLinetypeR12", "AC1009",
     [](Groups& g) { g = withEntityValue(g, "LINE", 6, "NOLINETYPE"); },
     "的线型 NOLINETYPE 未定义"},
    {"UndefinedTextStyle", "AC1018",
     [](Groups& g) { g = withEntityValue(g, "TEXT", 7, "NOSTYLE"); }, "的文字样式 NOSTYLE 未定义"},
    {"InvalidColour", "AC1032", [](Groups& g) { g = withEntityValue(g, "LINE", 62, "300"); },
     "的颜色号 300 无效"},
    {"UndefinedTextStyleWithoutStandard", "AC1015",
     [](Groups& g) {
         g = withEntityValue(withoutEntry(g, "STYLE", "Standard"), "TEXT", 7, "NOSTYLE");
     },
     "的文字样式 NOSTYLE 未定义"},
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

// A drawing of an ENTITIES section alone, as programs write them: layers, linetypes and
// text styles are left to the reader; a block it inserts cannot be defined anywhere.
Groups entitiesAlone(const Groups& header, const char* block) {
    Groups g = header;
    g.insert(g.end(), {G{0, "SECTION"}, G{2, "ENTITIES"}});
    for (int k = 0; k < 3; ++k)
        g.insert(g.end(), {G{0, "TEXT"}, G{8, "TEXTS"}, G{7, "ROMANS"}, G{10, "0"}, G{20, "0"},
                           G{30, "0"}, G{40, "2.5"}, G{1, "T" + std::to_string(k)}});
    g.insert(g.end(), {G{0, "LINE"}, G{8, "WALLS"}, G{6, "DASHED"}, G{10, "0"}, G{20, "0"},
                       G{30, "0"}, G{11, "5"}, G{21, "5"}, G{31, "0"}});
    if (*block) g.insert(g.end(), {G{0, "INSERT"}, G{8, "0"}, G{2, block}, G{10, "0"}, G{20, "0"}});
    g.insert(g.end(), {G{0, "ENDSEC"}, G{0, "EOF"}});
    return g;
}

// What is sound stays byte for byte: layer 0 and the Standard styles are needed only
// where something names them, extended data is its application's, CONTINUOUS is built
// in before R13, and where the drawing has no table for a name, audit renames nothing
// to a record it could not make. A block inserted without any BLOCKS section
// is found but stays unfixed.
TEST(Audit, LeavesWhatIsSoundAndNamesNoRecordItCannotMake) {
    SampleOptions r12, r10;
    r12.version = "AC1009";
    r10.version = "AC1006";
    const Groups ac1009 = {G{0, "SECTION"}, G{2, "HEADER"}, G{9, "$ACADVER"}, G{1, "AC1009"},
                           G{0, "ENDSEC"}};
    const struct {
        const char* name;
        Groups groups;
        std::vector<std::string> unfixed;  // findings audit cannot fix
    } cases[] = {
        {"dimension style ISO-25 alone and no layer 0, which nothing names",
         [] {
             Groups g = withoutEntry(sampleGroups({}), "LAYER", "0");
             g[groupIn(g, recordAt(g, "TABLES", "DIMSTYLE"), 2)].second = "ISO-25";
             for (auto& [code, value] : g)
                 if ((code == 8 || code == 6) && value == "0") value = "USED";
             return g;
         }(),
         {}},
        {"handle in extended data that points nowhere",
         [] {
             Groups g = sampleGroups({});
             size_t end = recordAt(g, "ENTITIES", "LINE") + 1;
             while (g[end].first != 0) ++end;
             g.insert(g.begin() + static_cast<long>(end), {G{1001, "ACAD"}, G{1005, "ABCDE"}});
             return g;
         }(),
         {}},
        {"R12 CONTINUOUS without its entry",
         withEntityValue(withoutEntry(sampleGroups(r12), "LTYPE", "CONTINUOUS"), "LINE", 6,
                         "CONTINUOUS"),
         {}},
        {"R10 continuous without its entry",
         withEntityValue(withoutEntry(sampleGroups(r10), "LTYPE", "CONTINUOUS"), "LINE", 6,
                         "continuous"),
         {}},
        {"entities alone", entitiesAlone({}, ""), {}},
        {"entities alone after an R12 header", entitiesAlone(ac1009, ""), {}},
        {"entities alone inserting a block",
         entitiesAlone({}, "FRAME"),
         {"插入了未定义的块 FRAME"}},
    };
    testing::ScratchFolder scratch("audit-");
    for (const auto& c : cases) {
        const std::string bytes = render(c.groups, DxfFormat::Ascii);
        Drawing d;
        ASSERT_TRUE(Drawing::parse(bytes, d).ok()) << c.name;
        const AuditReport report = auditDrawing(d, true);
        std::vector<std::string> unfixed;
        for (const AuditFinding& f : report.findings) {
            EXPECT_FALSE(f.fixed) << c.name << ": " << f.text;
            unfixed.push_back(f.text);
        }
        EXPECT_EQ(unfixed, c.unfixed) << c.name;
        EXPECT_EQ(d.bytes(), bytes) << c.name;
        const std::string path = (scratch.path() / "audited.dxf").string();
        testing::writeFile(path, d.bytes());
        EXPECT_EQ(testing::ezdxfAudit(path), "") << c.name;
    }
}

}  // namespace
}  // namespace drawing
