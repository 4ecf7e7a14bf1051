// PurgeAll on real drawings: what goes in one pass, what ten passes clear, what stays.
#include "drawing/purge.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "drawing/drawing.h"
#include "drawing/test_drawings.h"

namespace drawing {
namespace {

using testing::Groups;
using testing::render;
using testing::sampleGroups;
using testing::SampleOptions;

// The names of the live table entries and blocks of the drawing, as "TYPE name".
std::vector<std::string> inventory(const Drawing& d) {
    std::vector<std::string> out;
    for (size_t i = 0; i < d.size(); ++i) {
        const Record& r = d.record(i);
        if (r.deleted || (r.table < 0 && r.type != "BLOCK")) continue;
        std::string name;
        if (d.value(i, 2, name)) out.push_back(r.type + " " + name);
    }
    return out;
}

bool has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

Drawing parsed(const Groups& groups, DxfFormat format = DxfFormat::Ascii) {
    Drawing d;
    EXPECT_TRUE(Drawing::parse(render(groups, format), d).ok());
    return d;
}

TEST(Purge, OnePassRemovesTheUnreferencedAndKeepsTheRest) {
    for (const char* version : {"AC1009", "AC1015", "AC1032"}) {
        SampleOptions o;
        o.version = version;
        Drawing d = parsed(sampleGroups(o));
        const PurgeReport report = purgeAll(d);
        const auto left = inventory(d);
        const bool r12 = std::string(version) == "AC1009";
        for (const char* gone : {"LAYER UNUSED", "LTYPE UNUSEDLT", "STYLE UNUSEDSTYLE",
                                 "DIMSTYLE UNUSEDDIM", "BLOCK U1"})
            EXPECT_FALSE(has(left, gone)) << version << " " << gone;
        for (const std::string& kept :
             {std::string("LAYER 0"), std::string("LAYER USED"), std::string("LAYER Defpoints"),
              std::string("LTYPE DASHED"),
              std::string(r12 ? "LTYPE CONTINUOUS" : "LTYPE Continuous"),
              std::string(r12 ? "STYLE STANDARD" : "STYLE Standard"), std::string("BLOCK TITLE"),
              std::string("BLOCK USEDBLK"), std::string("BLOCK U2"),
              std::string(r12 ? "BLOCK $MODEL_SPACE" : "BLOCK *Model_Space"),
              std::string(r12 ? "BLOCK $PAPER_SPACE" : "BLOCK *Paper_Space")})
            EXPECT_TRUE(has(left, kept)) << version << " " << kept;
        if (!r12) {
            EXPECT_FALSE(has(left, "BLOCK_RECORD U1"));
            EXPECT_TRUE(has(left, "LTYPE ByBlock"));
            EXPECT_TRUE(has(left, "LTYPE ByLayer"));
        }
        EXPECT_EQ(report.removed.size(), 5u) << version;
        EXPECT_EQ(report.removed.back(), "块 U1");
        // The removed records are gone from the file too, and the file reads again.
        Drawing again;
        ASSERT_TRUE(Drawing::parse(d.bytes(), again).ok());
        EXPECT_EQ(inventory(again), left);
    }
}

TEST(Purge, TenPassesClearTenLevelsOfNestedUnusedBlocks) {
    SampleOptions o;
    o.nestedBlocks = 10;
    o.format = DxfFormat::Binary16;
    Drawing d = parsed(sampleGroups(o), o.format);
    for (int pass = 1; pass <= 10; ++pass) {
        purgeAll(d);
        const auto left = inventory(d);
        EXPECT_FALSE(has(left, "BLOCK U" + std::to_string(pass)));
        if (pass < 10) {
            EXPECT_TRUE(has(left, "BLOCK U" + std::to_string(pass + 1)));
        }
    }
    EXPECT_TRUE(purgeAll(d).removed.empty());
    const auto left = inventory(d);
    EXPECT_TRUE(has(left, "BLOCK TITLE"));
    EXPECT_TRUE(has(left, "BLOCK USEDBLK"));
}

// A drawing with one extra record placed before the ENTITIES section ends.
Groups withEntity(Groups groups, const Groups& entity) {
    auto it = std::find(groups.begin(), groups.end(), std::pair<int, std::string>{2, "ENTITIES"});
    it = std::find(it, groups.end(), std::pair<int, std::string>{0, "ENDSEC"});
    groups.insert(it, entity.begin(), entity.end());
    return groups;
}

TEST(Purge, ReferencesByHandleNameAndHeaderKeepTheirTarget) {
    struct Case {
        const char* name;
        Groups entity;
        const char* kept;
    };
    // Handles of the sample (AC1015): UNUSEDSTYLE is 2D, U1's BLOCK_RECORD is 38.
    const Case cases[] = {
        {"text style by name",
         {{0, "TEXT"}, {5, "F000"}, {8, "0"}, {7, "unusedstyle"}, {1, "x"}},
         "STYLE UNUSEDSTYLE"},
        {"layer in extended data",
         {{0, "LINE"}, {5, "F000"}, {8, "0"}, {1001, "ACAD"}, {1003, "UNUSED"}},
         "LAYER UNUSED"},
        {"block by handle", {{0, "LINE"}, {5, "F000"}, {8, "0"}, {340, "38"}}, "BLOCK U1"},
        {"style by handle in extended data",
         {{0, "LINE"}, {5, "F000"}, {8, "0"}, {1001, "ACAD"}, {1005, "2D"}},
         "STYLE UNUSEDSTYLE"},
        {"dimension style and block",
         {{0, "DIMENSION"}, {5, "F000"}, {8, "0"}, {2, "U1"}, {3, "UNUSEDDIM"}},
         "BLOCK U1"},
        {"linetype of an entity",
         {{0, "LINE"}, {5, "F000"}, {8, "0"}, {6, "UNUSEDLT"}},
         "LTYPE UNUSEDLT"},
        {"geometry of an arc dimension",
         {{0, "ARC_DIMENSION"}, {5, "F000"}, {8, "0"}, {2, "U1"}, {3, "UNUSEDDIM"}},
         "BLOCK U1"},
        {"style of a large radial dimension",
         {{0, "LARGE_RADIAL_DIMENSION"}, {5, "F000"}, {8, "0"}, {2, "U1"}, {3, "UNUSEDDIM"}},
         "DIMSTYLE UNUSEDDIM"},
        {"insert written in lower case",
         {{0, "insert"}, {5, "F000"}, {8, "0"}, {2, "U1"}},
         "BLOCK U1"},
        {"entity of a kind the engine does not know",
         {{0, "ACME_MARKER"}, {5, "F000"}, {8, "0"}, {2, "U1"}},
         "BLOCK U1"},
    };
    for (const Case& c : cases) {
        Drawing d = parsed(withEntity(sampleGroups({}), c.entity));
        purgeAll(d);
        EXPECT_TRUE(has(inventory(d), c.kept)) << c.name;
    }
    // The header's current layer counts as a reference.
    Groups groups = sampleGroups({});
    for (size_t k = 0; k + 1 < groups.size(); ++k)
        if (groups[k].second == "$CLAYER") groups[k + 1].second = "UNUSED";
    Drawing d = parsed(groups);
    purgeAll(d);
    EXPECT_TRUE(has(inventory(d), "LAYER UNUSED"));
}

// In GBK the second byte of a character may be an ASCII letter: 0x81 0x41 and 0x81 0x61
// are two different characters, so these are two layers, one used and one not.
TEST(Purge, NamesCompareAsCharactersOfTheirCodePage) {
    SampleOptions o;
    o.version = "AC1009";
    Groups groups = sampleGroups(o);
    auto layerTable =
        std::find(groups.begin(), groups.end(), std::pair<int, std::string>{2, "LAYER"});
    auto endtab = std::find(layerTable, groups.end(), std::pair<int, std::string>{0, "ENDTAB"});
    groups.insert(endtab, {{0, "LAYER"},
                           {2, "\x81\x41"},
                           {70, "0"},
                           {62, "7"},
                           {6, "CONTINUOUS"},
                           {0, "LAYER"},
                           {2, "\x81\x61"},
                           {70, "0"},
                           {62, "7"},
                           {6, "CONTINUOUS"}});
    Drawing d = parsed(withEntity(groups, {{0, "LINE"}, {8, "\x81\x41"}}));
    purgeAll(d);
    const auto left = inventory(d);
    EXPECT_TRUE(has(left, "LAYER \x81\x41"));
    EXPECT_FALSE(has(left, "LAYER \x81\x61"));
}

TEST(Purge, PointersFromWhatABlockOwnsDoNotKeepIt) {
    // An object owned by U1's block record that points back at it (as a sort table does).
    Groups groups = sampleGroups({});
    auto end =
        std::find(groups.rbegin(), groups.rend(), std::pair<int, std::string>{0, "ENDSEC"}).base() -
        1;
    groups.insert(
        end,
        {{0, "SORTENTSTABLE"}, {5, "F001"}, {330, "38"}, {100, "AcDbSortentsTable"}, {330, "38"}});
    Drawing d = parsed(groups);
    purgeAll(d);
    EXPECT_FALSE(has(inventory(d), "BLOCK U1"));
    bool sortTableLeft = false;
    for (size_t i = 0; i < d.size(); ++i)
        sortTableLeft |= !d.record(i).deleted && d.record(i).type == "SORTENTSTABLE";
    EXPECT_FALSE(sortTableLeft);
}

// Objects hung on the unused layer UNUSED (handle 29) and the unused block U1 (block
// record 38) of the sample, and what the model-space LINE (51) says about them.
struct Attached {
    const char* name;
    Groups objects;                     // added to the OBJECTS section
    std::vector<std::string> reactors;  // the LINE's reactor list
    Groups xdata;                       // the LINE's extended data
    const char* entry;
    bool kept;
    const char* lineOwner = "34";  // model space
};

Groups withAttached(const Attached& a) {
    Groups g = sampleGroups({});
    auto line = std::find(g.begin(), g.end(), std::pair<int, std::string>{5, "51"}) + 1;
    line->second = a.lineOwner;
    Groups reactors;
    if (!a.reactors.empty()) reactors.emplace_back(102, "{ACAD_REACTORS");
    for (const std::string& h : a.reactors) reactors.emplace_back(330, h);
    if (!a.reactors.empty()) reactors.emplace_back(102, "}");
    line = g.insert(line, reactors.begin(), reactors.end()) + static_cast<long>(reactors.size());
    line = std::find_if(line, g.end(), [](const auto& group) { return group.first == 0; });
    line = g.insert(line, a.xdata.begin(), a.xdata.end());
    auto objectsEnd =
        std::find(g.rbegin(), g.rend(), std::pair<int, std::string>{0, "ENDSEC"}).base() - 1;
    g.insert(objectsEnd, a.objects.begin(), a.objects.end());
    return g;
}

Groups object(const char* type, const char* handle, const char* owner, const Groups& body = {}) {
    Groups g{{0, type}, {5, handle}, {330, owner}};
    g.insert(g.end(), body.begin(), body.end());
    return g;
}

Groups concat(std::initializer_list<Groups> parts) {
    Groups out;
    for (const Groups& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Purge takes nothing it cannot judge and nothing a record that stays points at, and
// what it takes leaves no pointer to nowhere: a reactor entry that named it is cleared.
// The drawings it writes load clean in ezdxf.
TEST(Purge, KeepsWhatItCannotJudgeOrWhatStaysPointsAt) {
    const Groups proxy = {
        {100, "AcDbProxyObject"}, {90, "499"}, {91, "513"}, {93, "34"}, {310, "40C8804040"}};
    const Groups xrecord = {{100, "AcDbXrecord"}, {1, "data"}};
    const Attached cases[] = {
        {"proxy object of another program in the layer's dictionary",
         concat({object("DICTIONARY", "F010", "29",
                        {{100, "AcDbDictionary"}, {3, "APP"}, {350, "F011"}}),
                 object("ACAD_PROXY_OBJECT", "F011", "F010", proxy)}),
         {},
         {},
         "LAYER UNUSED",
         true},
        {"proxy object a kept entity lists as reactor",
         concat({object("DICTIONARY", "F010", "38",
                        {{100, "AcDbDictionary"}, {3, "APP"}, {350, "F011"}}),
                 object("ACAD_PROXY_OBJECT", "F011", "F010", proxy)}),
         {"F011"},
         {},
         "BLOCK U1",
         true},
        {"record data a kept entity lists as reactor",
         concat({object("DICTIONARY", "F010", "29",
                        {{100, "AcDbDictionary"}, {3, "APP"}, {350, "F011"}}),
                 object("XRECORD", "F011", "F010", xrecord)}),
         {"F011"},
         {},
         "LAYER UNUSED",
         false},
        {"record data a kept dictionary lists",
         concat({object("XRECORD", "F010", "38", xrecord),
                 object("DICTIONARY", "F012", "59",
                        {{100, "AcDbDictionary"}, {3, "X"}, {350, "F010"}})}),
         {},
         {},
         "BLOCK U1",
         true},
        {"record data named in a kept entity's extended data",
         object("XRECORD", "F010", "29", xrecord),
         {},
         {{1001, "ACAD"}, {1005, "F010"}},
         "LAYER UNUSED",
         true},
        {"an entity of the ENTITIES section owned by the block record",
         {},
         {},
         {},
         "BLOCK U1",
         true,
         "38"},
    };
    testing::ScratchFolder scratch("purge-");
    for (const Attached& c : cases) {
        Drawing d = parsed(withAttached(c));
        const auto before = testing::pointingNowhere(d);
        for (int pass = 0; pass < 10; ++pass) purgeAll(d);
        EXPECT_EQ(has(inventory(d), c.entry), c.kept) << c.name;
        for (const std::string& left : testing::pointingNowhere(d))
            EXPECT_TRUE(before.count(left)) << c.name << ": " << left;
        const std::string path = (scratch.path() / "purged.dxf").string();
        testing::writeFile(path, d.bytes());
        EXPECT_EQ(testing::ezdxfAudit(path), "") << c.name;
    }
}

// Found by fuzzing: a definition without ENDBLK once took the section's end with it
// when records had been inserted before the purge.
TEST(Purge, DefinitionWithoutEndKeepsTheSectionEnd) {
    Groups groups = sampleGroups({});
    auto blocksEnd =
        std::find(std::find(groups.begin(), groups.end(), std::pair<int, std::string>{2, "BLOCKS"}),
                  groups.end(), std::pair<int, std::string>{0, "ENDSEC"});
    auto lastEnd = std::find(std::make_reverse_iterator(blocksEnd), groups.rend(),
                             std::pair<int, std::string>{0, "ENDBLK"})
                       .base() -
                   1;
    groups.erase(lastEnd, blocksEnd);
    Drawing d = parsed(groups);
    size_t tables = 1;
    while (d.record(tables).kind != Kind::Section) ++tables;
    d.insert({{tables, render({{0, "SECTION"}, {2, "CLASSES"}}, DxfFormat::Ascii)},
              {tables, render({{0, "ENDSEC"}}, DxfFormat::Ascii)}});
    for (int pass = 0; pass < 3; ++pass) purgeAll(d);
    Drawing again;
    EXPECT_TRUE(Drawing::parse(d.bytes(), again).ok());
}

}  // namespace
}  // namespace drawing
