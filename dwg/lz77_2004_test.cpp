#include "dwg/lz77_2004.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
    const char* name;
    std::vector<uint8_t> stream;
    size_t room;
    const char* expected;  // nullptr: malformed
};

TEST(DwgLz77, DecompressesAndRefusesMalformedStreams) {
    const Case cases[] = {
        {"literal run from 0x01-0x0F", {0x02, 'a', 'b', 'c', 'd', 'e', 0x11}, 16, "abcde"},
        {"first opcode above 0x11 is a short literal run", {0x13, 'a', 'b', 0x11}, 16, "ab"},
        {"overlapping reference repeats a pattern", {0x13, 'a', 'b', 0x54, 0x00, 0x11}, 16,
         "ababab"},
        {"0x20 reference then a literal from its low bits",
         {0x14, 'a', 'b', 'c', 0x22, 0x09, 0x00, 'z', 0x11}, 16, "abcabcaz"},
        {"extended literal length",
         {0x00, 0x01, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o',
          'p', 'q', 'r', 's', 0x11},
         32, "abcdefghijklmnopqrs"},
        {"reference before the start", {0x13, 'a', 'b', 0x54, 0x10, 0x11}, 16, nullptr},
        {"more output than room", {0x13, 'a', 'b', 0x54, 0x00, 0x11}, 4, nullptr},
        {"literal run past the input", {0x08, 'a', 'b'}, 16, nullptr},
        {"no end opcode", {0x13, 'a', 'b'}, 16, nullptr},
        {"opcode 0x00-0x0F after a literal run", {0x13, 'a', 'b', 0x05, 0x00, 0x11}, 16, nullptr},
        {"extended length running out of input", {0x00, 0x00, 0x00}, 16, nullptr},
        {"empty input", {}, 16, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> out(c.room, 0xEE);
        size_t produced = 0;
        const bool ok = dwg::decompress2004(c.stream, out, produced);
        ASSERT_EQ(ok, c.expected != nullptr);
        ASSERT_LE(produced, c.room);
        if (ok) {
            EXPECT_EQ(std::string(out.begin(), out.begin() + produced), c.expected);
        }
    }
}

}  // namespace
