// Proxy graphics go through the reader unchanged: every entity read from a DWG that
// carries them (a mesh, an underlay) has the bytes the drawing program wrote for the
// same handle in the DWG's DXF twin. An entity of a class without a decoder, kept as a
// proxy entity, and a table, have the same records of graphics (the program writes its
// DXF from graphics made anew, whose texts are padded with whatever its memory held);
// a proxy entity names, by its class number, the class of the kind it stands for.
#include <gtest/gtest.h>

#include <filesystem>

#include "dwg/test_files.h"

namespace {

namespace fs = std::filesystem;

// The 310 groups right after the first size of graphics (92 or 160), joined.
std::string graphicsOf(const drawing::Drawing& d, size_t i) {
    const std::vector<drawing::Group> groups = d.groups(i);
    std::string bytes;
    for (size_t k = 0; k + 1 < groups.size(); ++k) {
        if ((groups[k].code != 92 && groups[k].code != 160) || groups[k + 1].code != 310) continue;
        for (size_t m = k + 1; m < groups.size() && groups[m].code == 310; ++m)
            bytes += drawing::valueText(groups[m], d.format());
        break;
    }
    return bytes;
}

// The records of proxy graphics (hexadecimal text): their count, then the size and
// kind of each.
std::vector<uint32_t> graphicsRecords(const std::string& hex) {
    const auto word = [&](size_t at) {
        uint32_t value = 0;
        for (int k = 3; k >= 0; --k)
            value = value << 8 |
                    static_cast<uint32_t>(std::stoul(hex.substr(at + 2 * k, 2), nullptr, 16));
        return value;
    };
    std::vector<uint32_t> records;
    if (hex.size() < 16) return records;
    records.push_back(word(8));
    for (size_t at = 16; at + 16 <= hex.size();) {
        const uint32_t size = word(at);
        records.push_back(size);
        records.push_back(word(at + 8));
        if (size < 8) break;
        at += 2 * static_cast<size_t>(size);
    }
    return records;
}

// The DXF names of the classes, in order: class number 500 is the first.
std::vector<std::string> classNames(const drawing::Drawing& d) {
    std::vector<std::string> names;
    for (size_t i = 0; i < d.size(); ++i) {
        std::string name;
        if (d.record(i).section == drawing::Section::Classes && d.value(i, 1, name))
            names.push_back(name);
    }
    return names;
}

class ProxyGraphics : public ::testing::TestWithParam<std::string> {};

TEST_P(ProxyGraphics, AreTheTwinsBytesAndNameTheirClass) {
    dwg::ReadDrawing ours, twin;
    ASSERT_TRUE(dwg::readDrawing(fs::path(DWG_TESTDATA) / (GetParam() + ".dwg"), ours));
    ASSERT_TRUE(dwg::readDrawing(fs::path(DWG_TESTDATA) / (GetParam() + "_ascii.dxf"), twin));
    int noted = 0;
    const std::string proxyNote = "以代理图元转换的 ";
    for (const std::string& note : ours.source.notes)
        if (note.starts_with(proxyNote))
            noted += std::atoi(note.substr(note.find("：") + std::string("：").size()).c_str());
    const std::vector<std::string> classes = classNames(ours.drawing);
    const drawing::Drawing& a = ours.drawing;
    int compared = 0, proxies = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const drawing::Record& r = a.record(i);
        if (r.section == drawing::Section::Objects) continue;  // their 310s are data
        const std::string bytes = graphicsOf(a, i);
        if (bytes.empty()) continue;
        const int32_t j = twin.drawing.find(r.handle);
        ASSERT_GE(j, 0) << GetParam() << ": " << drawing::handleText(r.handle);
        const std::string theirs = graphicsOf(twin.drawing, static_cast<size_t>(j));
        ++compared;
        // Graphics with texts in them (a proxy's, a table's) the program made anew.
        if (r.type != "ACAD_PROXY_ENTITY" && r.type != "ACAD_TABLE") {
            EXPECT_EQ(bytes, theirs)
                << GetParam() << ": " << r.type << " " << drawing::handleText(r.handle);
            continue;
        }
        EXPECT_EQ(bytes.size(), theirs.size())
            << GetParam() << ": " << drawing::handleText(r.handle);
        EXPECT_EQ(graphicsRecords(bytes), graphicsRecords(theirs))
            << GetParam() << ": " << drawing::handleText(r.handle);
        if (r.type != "ACAD_PROXY_ENTITY") continue;
        ++proxies;
        std::string kind, number;
        EXPECT_TRUE(a.value(i, 90, kind) && kind == "498");
        ASSERT_TRUE(a.value(i, 91, number));
        const size_t index = static_cast<size_t>(std::atoi(number.c_str()) - 500);
        ASSERT_LT(index, classes.size());
        EXPECT_EQ(classes[index], twin.drawing.record(static_cast<size_t>(j)).type)
            << GetParam() << ": " << drawing::handleText(r.handle);
    }
    EXPECT_GE(compared, 3) << GetParam();  // two meshes and an underlay at least
    EXPECT_EQ(proxies, noted) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Twins, ProxyGraphics,
                         ::testing::Values("ACadSharp_sample_AC1015", "ACadSharp_sample_AC1018",
                                           "ACadSharp_sample_AC1021", "ACadSharp_sample_AC1024",
                                           "ACadSharp_sample_AC1027", "ACadSharp_sample_AC1032"),
                         [](const auto& info) { return info.param.substr(17); });

}  // namespace
