// Texts between a drawing's code page and UTF-8, one after another through the same
// converter.
#include "drawing/text_encoding.h"

#include <gtest/gtest.h>

namespace drawing {
namespace {

TEST(TextCodec, EachTextConvertsOnItsOwn) {
    const TextCodec gbk = TextCodec::forDrawing("AC1018", "ANSI_936");
    const std::string bytes = gbk.fromUtf8("零件");
    ASSERT_EQ(bytes.size(), 4u);
    // A character cut off at the end becomes U+FFFD and leaves nothing behind for the
    // next text.
    EXPECT_EQ(gbk.toUtf8(bytes.substr(0, 3)), "零\xEF\xBF\xBD");
    EXPECT_EQ(gbk.toUtf8(bytes), "零件");
    EXPECT_EQ(gbk.toUtf8("\xFF" + bytes), "\xEF\xBF\xBD零件");
    EXPECT_EQ(gbk.fromUtf8("A\xF0\x9F\x98\x80零"), "A\\U+D83D\\U+DE00" + bytes.substr(0, 2));
    const TextCodec cp1252 = TextCodec::forDrawing("AC1015", "ANSI_1252");
    EXPECT_EQ(cp1252.toUtf8("\xB0"), "°");
    EXPECT_EQ(gbk.toUtf8(bytes), "零件");
}

}  // namespace
}  // namespace drawing
