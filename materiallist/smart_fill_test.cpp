#include "materiallist/smart_fill.h"

#include <gtest/gtest.h>

#include <string>

#include "materiallist/window_entries.h"

namespace materiallist {
namespace {

constexpr const char* kM1 =
    "规格描述不完整，作为钢板类应提供：长x宽x高，如果是异型也应该提供展开尺寸";
constexpr const char* kM2 = "规格描述不完整，作为钢管类应提供：钢管外径x壁厚---长度";
constexpr const char* kM3 = "规格描述不完整，作为螺栓类应提供：螺栓工程直径---长度";
constexpr const char* kM4 = "规格描述不完整，作为螺母类应提供：螺母工程直径";
constexpr const char* kM5 =
    "规格描述不完整，作为washer,如果是标准垫片只需提供规格即可，非标垫片需提供 外径x内径x厚度";
constexpr const char* kM6 = "规格描述不完整，作为标准开口销,需提供 工程x长度";
constexpr const char* kM7 = "规格描述可能有问题，如果你认为正确的话，请与软件开发者联系";

// The window after the fill, as a row "visible|caption|text" like the command line.
std::string row(const WindowEntries& e, int r) {
    const DimensionRow& d = e.rows[static_cast<std::size_t>(r)];
    std::string s = d.visible ? "1|" : "0|";
    s.append(d.caption).append("|").append(d.text);
    return s;
}

struct Filled {
    const char* description;
    int type;
    const char* list;
    const char* item;
    const char* row1;
    const char* row2;
    const char* row3;
};

TEST(SmartFillTest, FillsTheEntries) {
    const Filled cases[] = {
        {"plate 10x1500x3000", 0, "钢板", "", "1|长度|10", "1|宽度|1500", "1|厚度|3000"},
        {"Flat bar 10x100x2000", 0, "钢板", "", "1|长度|10", "1|宽度|100", "1|厚度|2000"},
        {"pipe 89x4.5---3000", 1, "Combo2", "", "1|长度|3000", "1|外径|89", "1|厚度|4.5"},
        {"U25a-6000", 2, "Combo3", "25a---250x78x7.0x12.0", "1|长度|6000", "0|宽度：|",
         "0|厚度：|"},
        {"channel 25a 6000", 2, "Combo3", "25a---250x78x7.0x12.0", "1|长度|6000", "0|宽度：|",
         "0|厚度：|"},
        {"UPN 25B 6000", 2, "Combo3", "25b---250x80x9.0x12.0", "1|长度|6000", "0|宽度：|",
         "0|厚度：|"},
        {"U8-1000", 2, "Combo3", "8-----80x43x5.0x7.0", "1|长度|1000", "0|宽度：|", "0|厚度：|"},
        {"U18-1000", 2, "Combo3", "18----180x70x9.0x10.5", "1|长度|1000", "0|宽度：|", "0|厚度：|"},
        {"U18A-1000", 2, "Combo3", "18a---180x68x7.0x10.5", "1|长度|1000", "0|宽度：|",
         "0|厚度：|"},
        {"channel 250x78x7-6000", 2, "Combo3", "25a---250x78x7.0x12.0", "1|长度|6000", "0|宽度：|",
         "0|厚度：|"},
        {"I20b-3000", 3, "Combo4", "20b---200x102x9.0x11.4", "1|长度|3000", "0|宽度：|",
         "0|厚度：|"},
        {"IPN 12.6-500", 3, "Combo4", "12.6--126x74x5.0x8.4", "1|长度|500", "0|宽度：|",
         "0|厚度：|"},
        {"i25c-6000", 3, "Combo4", "55c---550x170x16.5x21.0", "1|长度|6000", "0|宽度：|",
         "0|厚度：|"},
        {"HW250x250x9x14", 4, "Combo5", "HW250x250x9x14", "1|长度|14", "0|宽度：|", "0|厚度：|"},
        {"HN400x150x8x13-6000", 4, "Combo5", "HN400x150x8x13#", "1|长度|6000", "0|宽度：|",
         "0|厚度：|"},
        {"H999x1x1x1", 4, "Combo5", "HP502x470x20x35", "1|长度|1", "0|宽度：|", "0|厚度：|"},
        {"L50x5-6000", 5, "Combo6", "5-----50x5", "1|长度|6000", "0|宽度：|", "0|厚度：|"},
        {"L50x50x5-6000", 5, "Combo6", "5-----50x5", "1|长度|6000", "0|宽度：|", "0|厚度：|"},
        {"L63x40x5-6000", 6, "Combo7", "6.3/4-----63x40x5", "1|长度|6000", "0|宽度：|",
         "0|厚度：|"},
        {"l50x5-6000 stiffener", 5, "Combo6", "5-----50x5", "1|长度|6000", "0|宽度：|",
         "0|厚度：|"},
        {"rod 20-1000", 7, "none", "", "1|长度|1000", "1|外径|20", "0|厚度：|"},
        {"axis 40x500", 7, "none", "", "1|长度|500", "1|外径|40", "0|厚度：|"},
        {"bolt M20---80", 10, "none", "", "1|直径|20", "1|长度|80", "0|厚度：|"},
        {"u-bolt m12x100", 10, "none", "", "1|直径|12", "1|长度|100", "0|厚度：|"},
        {"nut M20", 11, "none", "", "1|规格|20", "0|长度|", "0|厚度：|"},
        {"hex nut m20", 11, "none", "", "1|规格|20", "0|长度|", "0|厚度：|"},
        {"washer 20", 12, "none", "", "1|规格|20", "0|长度|", "0|厚度|"},
        {"washer 40x21x3", 12, "none", "", "1|外径|40", "1|内径|21", "1|厚度|3"},
        {"pin 4x40", 13, "none", "", "1|规格|4", "1|长度|40", "0|厚度：|"},
        {"square 20x20x1000", 0, "钢板", "", "1|长度|20", "1|宽度|20", "1|厚度|1000"},
        {"plate 5.x10x20", 0, "钢板", "", "1|长度|5.", "1|宽度|10", "1|厚度|20"},
    };
    for (const Filled& c : cases) {
        const FillResult fill = smartFill(c.description);
        EXPECT_FALSE(fill.message) << c.description << ": " << fill.message->text;
        WindowEntries e;
        applyFill(e, fill);
        EXPECT_EQ(e.steelType, c.type) << c.description;
        EXPECT_EQ(listObjectName(e.visibleList), c.list) << c.description;
        EXPECT_EQ(selectedItemText(e), c.item) << c.description;
        EXPECT_EQ(row(e, 0), c.row1) << c.description;
        EXPECT_EQ(row(e, 1), c.row2) << c.description;
        EXPECT_EQ(row(e, 2), c.row3) << c.description;
        EXPECT_EQ(e.quantity, "") << c.description;
        EXPECT_EQ(materialText(e), "Q235-A") << c.description;
    }
}

struct Refused {
    const char* description;
    const char* message;  // nullptr: no message
};

TEST(SmartFillTest, MessagesAndSilentFailures) {
    const Refused cases[] = {
        {"", kM7},
        {"PL 10x200", kM7},
        {"plate 0x0x0", kM1},
        {"plate 10x0.0x0", kM1},
        {"pipe 89x4.5", kM7},
        {"pipe 89x4.5x0", kM2},
        {"[25a-6000", kM7},
        {" L50x5-6000", kM7},
        {"bolt M20", kM7},
        {"bolt M20x0", kM3},
        {"nut m0", kM4},
        {"washer 0", kM5},
        {"washer 40x21", kM5},
        {"washer 40x21x3x2", kM5},
        {"pin 4", kM7},
        {"pin 4x40x2", kM6},
        {"beam 300x300x10", kM7},
        {"L50x50x5", nullptr},
        {"L50x50x5x0", nullptr},
        // More than ten numbers, and numbers that are not decimals.
        {"plate 1x2x3x4x5x6x7x8x9x10x11", kM7},
        {"plate 1.2.3x10x20", kM7},
        {"plate .x10x20", kM7},
        {"plate ..x10x20", kM7},
    };
    for (const Refused& c : cases) {
        const FillResult fill = smartFill(c.description);
        EXPECT_FALSE(fill.filled) << c.description;
        for (const std::string& t : fill.texts) EXPECT_EQ(t, "") << c.description;
        EXPECT_EQ(fill.quantity, "");
        ASSERT_EQ(fill.message.has_value(), c.message != nullptr) << c.description;
        if (c.message) {
            EXPECT_EQ(fill.message->title, "出错信息！");
            EXPECT_EQ(fill.message->text, c.message) << c.description;
        }
    }
}

TEST(SmartFillTest, TenNumbersAreAccepted) {
    const FillResult fill = smartFill("plate 1x2x3x4x5x6x7x8x9x10");
    EXPECT_TRUE(fill.filled);
    EXPECT_FALSE(fill.message);
}

TEST(SmartFillTest, FailedFillClearsFieldsAndKeepsTheRest) {
    WindowEntries e;
    applyFill(e, smartFill("L63x40x5-6000"));
    e.quantity = std::string("4");
    e.materialIndex = 3;
    e.holeDiameter = std::string("18");
    e.unitText = std::string(" 23.52");
    applyFill(e, smartFill("nonsense"));
    EXPECT_EQ(e.steelType, 6);
    EXPECT_EQ(selectedItemText(e), "6.3/4-----63x40x5");
    for (const DimensionRow& r : e.rows) EXPECT_EQ(r.text, "");
    EXPECT_EQ(e.quantity, "");
    EXPECT_EQ(e.materialIndex, 3);
    EXPECT_EQ(e.holeDiameter, "18");
    EXPECT_EQ(e.unitText, " 23.52");
}

TEST(SmartFillTest, PlateListSelectionIsLeftAsItWas) {
    WindowEntries e;
    e.listSelection[0] = 1;  // 不锈钢
    applyFill(e, smartFill("plate 10x1500x3000"));
    EXPECT_EQ(selectedItemText(e), "不锈钢");
}

TEST(SmartFillTest, ThenCalculate) {
    WindowEntries e;
    applyFill(e, smartFill("HN100x50x5x7-1000"));
    e.quantity = std::string("2");
    EXPECT_FALSE(calculate(e));
    EXPECT_EQ(e.unitText, " 9.53");
    EXPECT_EQ(e.totalText, " 19.06");
}

}  // namespace
}  // namespace materiallist
