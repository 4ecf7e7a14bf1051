// The DXF written from a DWG as the engine reads it back: texts in the drawing's code
// page up to 2004 (GBK for ANSI_936) and in UTF-8 from 2007, values that would break a
// line kept on one, and references to what was not translated left out (or 0 where
// DXF holds them in their place).
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/document.h"
#include "drawing/layout_entities.h"
#include "dwg/dwg_drawing.h"
#include "dwg/dxf_out.h"
#include "dwg/dxf_writer.h"
#include "dwg/test_files.h"

namespace dwg {
namespace {

DwgDrawing sample(const std::string& name) {
    DwgDrawing d;
    EXPECT_EQ(readDwg(fileBytes(name), d), "") << name;
    return d;
}

// The first TEXT of model space, whose value the cases replace.
Group& firstTextValue(DwgDrawing& d) {
    for (Record& r : d.records)
        if (r.type == "TEXT")
            for (Group& g : r.groups)
                if (g.code == 1) return g;
    static Group none;
    ADD_FAILURE() << "no TEXT";
    return none;
}

// The values of every TEXT the engine reads back, in UTF-8.
std::vector<std::string> textsReadBack(const DwgDrawing& d) {
    drawing::Drawing out;
    const drawing::Status status = drawing::Drawing::parse(writeDxf(d), out);
    EXPECT_TRUE(status.ok()) << status.reason;
    std::vector<std::string> texts;
    for (const auto& layout : drawing::entitiesByLayout(out))
        for (size_t i : layout.records) {
            std::string value;
            if (out.record(i).type == "TEXT" && out.value(i, 1, value))
                texts.push_back(out.codec().toUtf8(value));
        }
    return texts;
}

TEST(DxfWriter, TextsKeepTheDrawingsCoding) {
    struct Case {
        const char* file;
        uint16_t codePage;
        std::string stored;    // the value as the DWG holds it (after reading)
        std::string expected;  // as the engine gives it
    };
    const Case cases[] = {
        // GBK bytes of 标题栏 in a drawing of code page 39 (ANSI_936).
        {"ACadSharp_sample_AC1015.dwg", 39, "\xB1\xEA\xCC\xE2\xC0\xB8", "标题栏"},
        {"ACadSharp_sample_AC1018.dwg", 39, "\xB1\xEA\xCC\xE2\xC0\xB8", "标题栏"},
        // The same bytes in a Western drawing are Western characters.
        {"ACadSharp_sample_AC1015.dwg", 30, "\xE9t\xE9", "été"},
        // From 2007 on texts are UTF-16 in the DWG and UTF-8 in the DXF.
        {"ACadSharp_sample_AC1021.dwg", 30, "标题栏", "标题栏"},
        {"ACadSharp_sample_AC1032.dwg", 30, "标题栏", "标题栏"},
        // A line break inside a value stays on its line in caret notation, as the
        // drawing program writes it in DXF.
        {"ACadSharp_sample_AC1032.dwg", 30, "A\nB^C", "A^JB^ C"},
    };
    for (const Case& c : cases) {
        DwgDrawing d = sample(c.file);
        d.codePage = c.codePage;
        firstTextValue(d).value = c.stored;
        const std::vector<std::string> texts = textsReadBack(d);
        ASSERT_FALSE(texts.empty()) << c.file;
        EXPECT_EQ(texts.front(), c.expected) << c.file << " " << c.codePage;
    }
}

// Codes right aligned in three columns; control characters and carets anywhere in a
// value, long or short, in caret notation; other bytes (UTF-8, DEL) as they are.
TEST(DxfWriter, GroupsOnTheirLines) {
    struct Case {
        int code;
        std::string value;
        std::string expected;
    };
    const std::string plain = "0123456789ABCDEF0123456789ABCDEF";
    const Case cases[] = {
        {0, "SECTION", "  0\nSECTION\n"},
        {10, "", " 10\n\n"},
        {330, "1F", "330\n1F\n"},
        {1001, "ACAD", "1001\nACAD\n"},
        {-1, "x", " -1\nx\n"},
        {1, "\tab", "  1\n^Iab\n"},
        {1, "abcdefg\n", "  1\nabcdefg^J\n"},
        {1, "abcdefgh^", "  1\nabcdefgh^ \n"},
        {1, plain + "\r" + plain, "  1\n" + plain + "^M" + plain + "\n"},
        {1, plain + "^^" + plain + "\x1f", "  1\n" + plain + "^ ^ " + plain + "^_\n"},
        {1, "标题栏\x7f" + plain, "  1\n标题栏\x7f" + plain + "\n"},
    };
    for (const Case& c : cases) {
        DxfOut out;
        out.group(c.code, c.value);
        EXPECT_EQ(out.text(), c.expected) << c.code << " " << c.value;
    }
    DxfOut numbers;
    numbers.group(70, int64_t{-12});
    numbers.handle(5, 0xABC1);
    EXPECT_EQ(numbers.text(), " 70\n-12\n  5\nABC1\n");
}

// Reals in the shortest form that reads back the same, with a decimal point; whole
// numbers too, on both sides of where the form turns to an exponent.
TEST(DxfWriter, RealsInTheirShortestForm) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0.0"},
        {-0.0, "-0.0"},
        {1.0, "1.0"},
        {-1.0, "-1.0"},
        {9999.0, "9999.0"},
        {-9999.0, "-9999.0"},
        {10000.0, "10000.0"},
        {100000.0, "1e+05"},
        {123456.0, "123456.0"},
        {0.5, "0.5"},
        {9999.5, "9999.5"},
        {1e-7, "1e-07"},
        {1.0 / 3, "0.3333333333333333"},
        {1e300, "1e+300"},
        {std::nan(""), "0.0"},
        {-HUGE_VAL, "0.0"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(realText(value), text) << value;
}

TEST(DxfWriter, CodePageNames) {
    EXPECT_EQ(codePageName(30), "ANSI_1252");
    EXPECT_EQ(codePageName(39), "ANSI_936");
    EXPECT_EQ(codePageName(31), "ANSI_936");  // GB2312, read as its superset GBK
    EXPECT_EQ(codePageName(41), "ANSI_950");
    EXPECT_EQ(codePageName(999), "ANSI_1252");
}

// An entity's reference to an object that was not translated (a material, a plot
// style, a draw order entry) is left out rather than left pointing nowhere.
TEST(DxfWriter, LeavesOutReferencesToWhatWasNotTranslated) {
    DwgDrawing d = sample("ACadSharp_sample_AC1018.dwg");
    for (Record& r : d.records)
        if (r.type == "LINE") {
            r.plotStyle = 0xFFFFF0;
            r.reactors.push_back(0xFFFFF1);
            r.groups.push_back(Group{340, false, "FFFFF2", 0});
            break;
        }
    // A draw order entry of such an entity goes with its sort handle: DXF holds them
    // in pairs, and a sort handle without its entity breaks the table for readers.
    for (Record& r : d.records)
        if (r.type == "SORTENTSTABLE") {
            r.groups.push_back(Group{331, false, "FFFFF3", 0});
            r.groups.push_back(Group{5, false, "FFFFF4", 0});
            break;
        }
    const std::string dxf = writeDxf(d);
    for (const char* handle : {"FFFFF0", "FFFFF1", "FFFFF2", "FFFFF3", "FFFFF4"})
        EXPECT_EQ(dxf.find(std::string("\n") + handle + "\n"), std::string::npos) << handle;
    EXPECT_NE(dxf.find("SORTENTSTABLE"), std::string::npos);
}

// A reference DXF holds in its place (a view style's arrow symbols) stays, as 0 when it
// names nothing or what was not translated; the references around it do not move.
TEST(DxfWriter, PlacedReferencesKeepTheirPlace) {
    DwgDrawing d = sample("ACadSharp_sample_AC1018.dwg");
    std::string layer;
    for (Record& r : d.records)
        if (r.type == "LINE") {
            r.marker("AcDbProbe");
            r.placedHex(340, 0);
            r.placedHex(340, 0xFFFFF5);
            r.hex(340, 0xFFFFF6);
            r.placedHex(340, r.layer);
            layer = drawing::handleText(r.layer);
            break;
        }
    const std::string dxf = writeDxf(d);
    EXPECT_NE(dxf.find("AcDbProbe\n340\n0\n340\n0\n340\n" + layer + "\n"), std::string::npos);
    for (const char* handle : {"FFFFF5", "FFFFF6"})
        EXPECT_EQ(dxf.find(std::string("\n") + handle + "\n"), std::string::npos) << handle;
}

TEST(DxfWriter, SortTablesKeepTheirPairsWhenAnEntityWasNotTranslated) {
    DwgDrawing d = sample("ACadSharp_sample_AC1018.dwg");
    Record table;
    table.type = "SORTENTSTABLE";
    table.handle = 0xFFFFE0;
    table.owner = d.records.front().handle;
    table.marker("AcDbSortentsTable");
    table.hex(330, d.records.front().handle);
    for (const char* entity : {"FFFFF0", "FFFFF1"}) {
        table.groups.push_back(Group{331, false, entity, 0});
        table.groups.push_back(Group{5, false, "FFFFF2", 0});
    }
    for (const Record& r : d.records)
        if (r.type == "LINE") {
            table.hex(331, r.handle);
            table.hex(5, 0xFFFFF3);
            break;
        }
    d.records.push_back(table);
    const std::string dxf = writeDxf(d);
    EXPECT_EQ(dxf.find("\nFFFFF2\n"), std::string::npos);
    EXPECT_NE(dxf.find("\n  5\nFFFFF3\n"), std::string::npos);
}

// R14 has one paper space. A drawing saved down to it from a later version keeps that
// version's further layouts as blocks of the same name and LAYOUT objects, which the
// drawing program leaves out: one paper space is read, with its viewports.
TEST(DxfWriter, DrawingsOfR14HaveOnePaperSpace) {
    const DwgDrawing d = sample("ACadSharp_sample_AC1014.dwg");
    EXPECT_EQ(d.untranslatedObjects.at("LAYOUT"), 4);
    drawing::Drawing out;
    ASSERT_TRUE(drawing::Drawing::parse(writeDxf(d), out).ok());
    std::vector<std::string> layouts;
    for (const auto& layout : drawing::entitiesByLayout(out))
        if (!layout.records.empty())
            layouts.push_back(layout.name + " " + std::to_string(layout.records.size()));
    EXPECT_EQ(layouts.size(), 2u);
    EXPECT_EQ(layouts.back(), "Layout1 2");
}

}  // namespace
}  // namespace dwg
