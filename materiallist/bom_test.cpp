#include "materiallist/bom.h"

#include <gtest/gtest.h>

#include <string>

namespace materiallist {
namespace {

TEST(BomTest, QuantityFromTrailingMark) {
    const struct {
        const char* line;
        const char* description;
        const char* quantity;
    } cases[] = {
        {"L63x40x5-6000*4", "L63x40x5-6000", "4"},
        {"L63x40x5-6000 * 12  ", "L63x40x5-6000", "12"},
        {"bolt M20---80 ×10", "bolt M20---80", "10"},
        {"bolt M20---80×0", "bolt M20---80", "0"},
        {"L63x40x5-6000", "L63x40x5-6000", "1"},
        {"L63x40x5-6000*", "L63x40x5-6000*", "1"},
        {"L63x40x5-6000*2.5", "L63x40x5-6000*2.5", "1"},
        {"x4", "x4", "1"},
        {"*7", "", "7"},
        {"", "", "1"},
    };
    for (const auto& c : cases) {
        const BomQuantity q = splitQuantity(c.line);
        EXPECT_EQ(q.description, c.description) << c.line;
        EXPECT_EQ(q.quantity, c.quantity) << c.line;
    }
}

TEST(BomTest, ReportLinesAndTotal) {
    const std::string list =
        "L63x40x5-6000*4\r\n"
        "bolt M20---80 ×10\n"
        "nonsense\n"
        "\n"
        "nut m7\n"
        "pipe\t89x4.5---1000\n"
        "L50x50x5\n"
        "plate 10x1500x3000";
    std::string out;
    const BomSummary s = appendBomReport(list, out, 11);
    EXPECT_EQ(s.lines, 8u);
    EXPECT_DOUBLE_EQ(s.totalWeight, 94.08 + 2.31 + 9.37 + 353.25);
    EXPECT_EQ(
        out,
        "11\tL63x40x5-6000\t不等边角铁\t6.3/4-----63x40x5\t 23.52\t4\t 94.08\n"
        "12\tbolt M20---80\t螺丝\t20x80\t .231\t10\t 2.31\n"
        "13\tnonsense\t\t\t\t1\t\t规格描述可能有问题，如果你认为正确的话，请与软件开发者联系\n"
        "14\t\t\t\t\t1\t\t规格描述可能有问题，如果你认为正确的话，请与软件开发者联系\n"
        "15\tnut m7\t螺母\t7\t 0\t1\t 0\t你选择的不是标准螺母吧！\n"
        "16\tpipe 89x4.5---1000\t钢管\t1000x89x4.5\t 9.37\t1\t 9.37\n"
        "17\tL50x50x5\t\t\t\t1\t\n"
        "18\tplate 10x1500x3000\t钢板\t10x1500x3000\t 353.25\t1\t 353.25\n");
}

TEST(BomTest, EmptyListAndFinalLineBreak) {
    std::string out;
    EXPECT_EQ(appendBomReport("", out).lines, 0u);
    EXPECT_EQ(out, "");
    EXPECT_EQ(appendBomReport("U8-1000\n", out).lines, 1u);
}

}  // namespace
}  // namespace materiallist
