#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dwg/lz77_2004.h"
#include "dwg/lz77_2007.h"

namespace {

struct Case {
    const char* name;
    std::vector<uint8_t> stream;
    size_t room;
    const char* expected;  // nullptr: malformed
};

using Decompress = bool (*)(std::span<const uint8_t>, std::span<uint8_t>, size_t&);

void expectDecompressed(Decompress decompress, std::span<const Case> cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> out(c.room, 0xEE);
        size_t produced = 0;
        const bool ok = decompress(c.stream, out, produced);
        ASSERT_EQ(ok, c.expected != nullptr);
        ASSERT_LE(produced, c.room);
        if (ok) {
            EXPECT_EQ(std::string(out.begin(), out.begin() + produced), c.expected);
        }
    }
}

TEST(DwgLz77, DecompressesAndRefusesMalformedStreamsOf2004) {
    const Case cases[] = {
        {"literal run from 0x01-0x0F", {0x02, 'a', 'b', 'c', 'd', 'e', 0x11}, 16, "abcde"},
        {"first opcode above 0x11 is a short literal run", {0x13, 'a', 'b', 0x11}, 16, "ab"},
        {"overlapping reference repeats a pattern",
         {0x13, 'a', 'b', 0x54, 0x00, 0x11},
         16,
         "ababab"},
        {"reference repeating its last three bytes, ending within a period",
         {0x14, 'a', 'b', 'c', 0xF8, 0x00, 0x11},
         32,
         "abcabcabcabcabcab"},
        {"0x20 reference then a literal from its low bits",
         {0x14, 'a', 'b', 'c', 0x22, 0x09, 0x00, 'z', 0x11},
         16,
         "abcabcaz"},
        {"extended literal length",
         {0x00, 0x01, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i',
          'j',  'k',  'l', 'm', 'n', 'o', 'p', 'q', 'r', 's', 0x11},
         32,
         "abcdefghijklmnopqrs"},
        {"reference before the start", {0x13, 'a', 'b', 0x54, 0x10, 0x11}, 16, nullptr},
        {"more output than room", {0x13, 'a', 'b', 0x54, 0x00, 0x11}, 4, nullptr},
        {"literal run past the input", {0x08, 'a', 'b'}, 16, nullptr},
        {"no end opcode", {0x13, 'a', 'b'}, 16, nullptr},
        {"opcode 0x00-0x0F after a literal run", {0x13, 'a', 'b', 0x05, 0x00, 0x11}, 16, nullptr},
        {"extended length running out of input", {0x00, 0x00, 0x00}, 16, nullptr},
        {"empty input", {}, 16, nullptr},
    };
    expectDecompressed(dwg::decompress2004, cases);
}

std::vector<uint8_t> bytes(std::initializer_list<uint8_t> head, const std::string& tail = {}) {
    std::vector<uint8_t> b(head);
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

const std::string kEight = "abcdefgh";
// "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345" as stored: its four 8-byte groups last first.
const std::string kStored32 = "YZ012345QRSTUVWXIJKLMNOPABCDEFGH";

TEST(DwgLz77, DecompressesAndRefusesMalformedStreamsOf2007) {
    const Case cases[] = {
        {"eight literals in order", bytes({0x00}, kEight), 64, "abcdefgh"},
        {"three literals stored reversed", bytes({0x20, 0, 0, 0x03}, "cba"), 64, "abc"},
        {"a 32-byte chunk stored last group first", bytes({0x18}, kStored32), 64,
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"},
        {"extended literal length", bytes({0x0F, 0x09}, kStored32), 64,
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"},
        {"reference back eight", bytes({0x00}, kEight + "\x47" + std::string(1, '\0')), 64,
         "abcdefghabcd"},
        {"reference then two literals from its low bits", bytes({0x00}, kEight + "\x47\x02yx"), 64,
         "abcdefghabcdxy"},
        {"reference before the start", bytes({0x00}, kEight + "\x4F\x08"), 64, nullptr},
        {"more output than room", bytes({0x00}, kEight + "\x47" + std::string(1, '\0')), 10,
         nullptr},
        {"literals past the input", bytes({0x00}, "ab"), 64, nullptr},
        {"reference of distance zero", bytes({0x00}, kEight + std::string("\x20\0\0\x08", 4)), 64,
         nullptr},
        {"reference cut short", bytes({0x00}, kEight + "\x47"), 64, nullptr},
    };
    expectDecompressed(dwg::decompress2007, cases);
}

}  // namespace
