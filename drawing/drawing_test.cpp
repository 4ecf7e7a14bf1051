// Reading and writing drawings: lossless round trips of every version and format, and
// the reason given for each kind of bad input.
#include "drawing/drawing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "drawing/file.h"
#include "drawing/test_drawings.h"

namespace drawing {
namespace {

using testing::render;
using testing::sampleDrawing;
using testing::SampleOptions;

struct Variant {
    const char* version;
    DxfFormat format;
    bool crlf;
};

class RoundTrip : public ::testing::TestWithParam<Variant> {};

TEST_P(RoundTrip, UnchangedDrawingIsWrittenBackByteForByte) {
    SampleOptions o;
    o.version = GetParam().version;
    o.format = GetParam().format;
    o.crlf = GetParam().crlf;
    const std::string bytes = sampleDrawing(o);
    Drawing d;
    ASSERT_TRUE(Drawing::parse(bytes, d).ok());
    EXPECT_EQ(d.version(), o.version);
    EXPECT_EQ(d.format(), o.format);
    EXPECT_EQ(d.bytes(), bytes);
    // An edit of one record leaves every other record's bytes alone.
    size_t line = 0;
    for (size_t i = 0; i < d.size(); ++i)
        if (d.record(i).type == "LINE") line = i;
    const std::string before = d.bytes();
    std::string edited(d.recordBytes(line));
    d.replace(line, edited);
    EXPECT_EQ(d.bytes(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, RoundTrip,
    ::testing::Values(
        Variant{"AC1009", DxfFormat::Ascii, false}, Variant{"AC1009", DxfFormat::Ascii, true},
        Variant{"AC1009", DxfFormat::Binary8, false}, Variant{"AC1012", DxfFormat::Ascii, false},
        Variant{"AC1014", DxfFormat::Ascii, true}, Variant{"AC1015", DxfFormat::Ascii, false},
        Variant{"AC1015", DxfFormat::Binary16, false}, Variant{"AC1018", DxfFormat::Ascii, true},
        Variant{"AC1018", DxfFormat::Binary16, false}, Variant{"AC1021", DxfFormat::Ascii, false},
        Variant{"AC1024", DxfFormat::Binary16, false}, Variant{"AC1027", DxfFormat::Ascii, false},
        Variant{"AC1032", DxfFormat::Ascii, true}, Variant{"AC1032", DxfFormat::Binary16, false}));

TEST(DrawingRead, PaddedCodesCommentsAndTrailingBytesSurvive) {
    const std::string bytes =
        "999\ncomment\n   0\nSECTION\n2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n0\nENDSEC\n  0 "
        "\nEOF\n\x1a";
    Drawing d;
    ASSERT_TRUE(Drawing::parse(bytes, d).ok());
    EXPECT_EQ(d.size(), 3u);
    EXPECT_EQ(d.bytes(), bytes);
}

TEST(DrawingRead, BinaryR12ExtendedGroupCodes) {
    // R12 binary writes codes above 254 as 255 and two bytes.
    const std::string bytes = render({{0, "SECTION"},
                                      {2, "ENTITIES"},
                                      {0, "LINE"},
                                      {8, "0"},
                                      {1001, "ACAD"},
                                      {1000, "x"},
                                      {1070, "7"},
                                      {0, "ENDSEC"},
                                      {0, "EOF"}},
                                     DxfFormat::Binary8);
    Drawing d;
    ASSERT_TRUE(Drawing::parse(bytes, d).ok());
    std::string text;
    auto groups = d.groups(1);
    ASSERT_EQ(groups.size(), 5u);
    EXPECT_EQ(groups[4].code, 1070);
    EXPECT_EQ(valueText(groups[4], DxfFormat::Binary8), "7");
    EXPECT_EQ(d.bytes(), bytes);
}

// Other readers take a file that lacks only its final end mark; so does this one, and
// its save writes the mark, on a line of its own where the last line lacks its end.
TEST(DrawingRead, FileWithEverySectionClosedButNoEndMarkIsReadAndSavedWithIt) {
    for (const auto& [format, crlf] :
         {std::pair{DxfFormat::Ascii, false}, std::pair{DxfFormat::Ascii, true},
          std::pair{DxfFormat::Binary16, false}}) {
        SampleOptions o;
        o.format = format;
        o.crlf = crlf;
        const std::string full = sampleDrawing(o);
        const size_t eof = format == DxfFormat::Ascii ? full.rfind(crlf ? "  0\r\nEOF" : "  0\nEOF")
                                                      : full.rfind("EOF") - 2;
        const size_t lineEnd = format == DxfFormat::Ascii ? (crlf ? 2 : 1) : 0;
        for (const size_t cut : {size_t{0}, lineEnd}) {
            Drawing d;
            ASSERT_TRUE(Drawing::parse(full.substr(0, eof - cut), d).ok()) << crlf << cut;
            EXPECT_EQ(d.bytes(), full) << crlf << cut;
        }
    }
}

struct BadInput {
    const char* name;
    std::string bytes;
    const char* reason;
};

class BadFile : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadFile, GivesItsReason) {
    const auto dir = std::filesystem::temp_directory_path() / "drawing_bad";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / GetParam().name).string();
    testing::writeFile(path, GetParam().bytes);
    Drawing d;
    const Status s = readDrawingFile(path, d);
    EXPECT_EQ(s.reason, GetParam().reason);
    EXPECT_EQ(s.path, path);
}

std::string truncated() {
    const std::string full = sampleDrawing(SampleOptions{});
    return full.substr(0, full.size() / 2);
}

std::string binaryTruncated() {
    SampleOptions o;
    o.format = DxfFormat::Binary16;
    const std::string full = sampleDrawing(o);
    return full.substr(0, full.size() - 3);
}

std::string badCodeInside() {
    std::string full = sampleDrawing(SampleOptions{});
    full.replace(full.find("  8\nUSED\n"), 9, "xx\nUSED\n");
    return full;
}

// Cut where a record starts, but inside the last section.
std::string cutInsideSection() {
    std::string full = sampleDrawing(SampleOptions{});
    return full.substr(0, full.rfind("  0\nENDSEC"));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, BadFile,
    ::testing::Values(BadInput{"empty.dxf", "", reason::kEmpty},
                      BadInput{"blank.dxf", "\n  \r\n", reason::kEmpty},
                      BadInput{"dwg.dwg", std::string("AC1015\0\0\0\0\x01\x02", 12),
                               reason::kBinaryDwg},
                      BadInput{"old.dwg", "AC1.50 stuff", reason::kBinaryDwg},
                      BadInput{"text.dxf", "hello world\nthis is no drawing\n", reason::kNotDxf},
                      BadInput{"nosection.dxf", "  0\nLINE\n  8\n0\n  0\nEOF\n", reason::kNotDxf},
                      BadInput{"truncated.dxf", truncated(), reason::kIncomplete},
                      BadInput{"truncated_bin.dxf", binaryTruncated(), reason::kIncomplete},
                      BadInput{"cut.dxf", cutInsideSection(), reason::kIncomplete},
                      BadInput{"garbage.dxf", badCodeInside(), reason::kBadGroupCode}),
    [](const auto& info) {
        std::string n = info.param.name;
        return n.substr(0, n.find('.'));
    });

// What is no regular file is refused at once: a named pipe without a writer would
// otherwise keep the open waiting for ever.
TEST(DrawingFile, UnreadablePathsGiveTheirReasonAndPath) {
    testing::ScratchFolder scratch("drawing-file-");
    const std::string pipe = (scratch.path() / "pipe.dxf").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {"/nonexistent/folder/a.dxf",
         std::string(reason::kUnreadable) + "（No such file or directory）"},
        {scratch.path().string(), std::string(reason::kUnreadable) + "（Is a directory）"},
        {pipe, reason::kNotRegularFile},
        {"/dev/null", reason::kNotRegularFile},
    };
    for (const auto& c : cases) {
        Drawing d;
        const Status s = readDrawingFile(c.path, d);
        EXPECT_EQ(s.reason, c.reason) << c.path;
        EXPECT_EQ(s.path, c.path);
    }
}

}  // namespace
}  // namespace drawing
