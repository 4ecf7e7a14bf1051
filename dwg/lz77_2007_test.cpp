#include "dwg/lz77_2007.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> bytes(std::initializer_list<uint8_t> head, const std::string& tail = {}) {
    std::vector<uint8_t> b(head);
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

const std::string kEight = "abcdefgh";
// "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345" as stored: its four 8-byte groups last first.
const std::string kStored32 = "YZ012345QRSTUVWXIJKLMNOPABCDEFGH";

TEST(DwgLz77In2007, DecompressesAndRefusesMalformedStreams) {
    const struct {
        const char* name;
        std::vector<uint8_t> stream;
        size_t room;
        const char* expected;  // nullptr: malformed
    } cases[] = {
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
        {"reference cut short", bytes({0x00}, kEight + "\x47"), 64, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> out(c.room, 0xEE);
        size_t produced = 0;
        const bool ok = dwg::decompress2007(c.stream, out, produced);
        ASSERT_EQ(ok, c.expected != nullptr);
        ASSERT_LE(produced, c.room);
        if (ok) {
            EXPECT_EQ(std::string(out.begin(), out.begin() + produced), c.expected);
        }
    }
}

}  // namespace
