#include "ui/printable_name.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(PrintableName, EscapesWhatWouldBreakALineOrItsEncoding) {
    struct Case {
        std::string text;
        std::string printed;
    } cases[] = {
        {"/图纸/a b.dxf", "/图纸/a b.dxf"},
        {"", ""},
        {"a\ndone=0\nerror=forged|x.dxf", "a\\ndone=0\\nerror=forged|x.dxf"},
        {"tab\there\r", "tab\\there\\r"},
        {"C:\\dwg\\x.dxf", "C:\\\\dwg\\\\x.dxf"},
        {"lit\\x41", "lit\\\\x41"},
        {std::string("nul\0bell\a", 9), "nul\\x00bell\\x07"},
        {"del\x7F", "del\\x7F"},
        {"esc\x1B[2J", "esc\\x1B[2J"},
        {"c1\xC2\x9B"
         "c",
         "c1\\xC2\\x9Bc"},                 // U+009B, a terminal's CSI
        {"nbsp\xC2\xA0", "nbsp\xC2\xA0"},  // U+00A0 is text
        {"latin1 \xFF\xFE.dxf", "latin1 \\xFF\\xFE.dxf"},
        {"gbk \xD6\xD0\xCE\xC4", "gbk \\xD6\\xD0\\xCE\\xC4"},
        {"cut \xE4\xB8", "cut \\xE4\\xB8"},  // a character without its last byte
        {"overlong \xC0\xAF", "overlong \\xC0\\xAF"},
        {"overlong \xE0\x80\xAF", "overlong \\xE0\\x80\\xAF"},
        {"surrogate \xED\xA0\x80", "surrogate \\xED\\xA0\\x80"},
        {"too high \xF4\x90\x80\x80", "too high \\xF4\\x90\\x80\\x80"},
        {"emoji \xF0\x9F\x93\x90", "emoji \xF0\x9F\x93\x90"},
        {"stray \x80 continuation", "stray \\x80 continuation"},
    };
    for (const Case& c : cases) EXPECT_EQ(printableName(c.text), c.printed) << c.printed;
}

}  // namespace
}  // namespace ui
