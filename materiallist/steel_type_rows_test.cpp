#include "materiallist/steel_type_rows.h"

#include <gtest/gtest.h>

#include <string>

namespace materiallist {
namespace {

// A layout as "list|row1,row2,row3|holes" with "-" for a hidden row.
std::string layout(int type) {
    const TypeRows rows = rowsForType(type);
    std::string s = std::string(listObjectName(rows.list)) + "|";
    for (std::size_t r = 0; r < rows.rows.size(); ++r) {
        if (r > 0) s += ",";
        s += rows.rows[r].visible ? std::string(rows.rows[r].caption) : "-";
    }
    return s + (rows.boltHoles ? "|holes" : "|");
}

TEST(SteelTypeRowsTest, EveryType) {
    const char* expected[] = {
        "钢板|长度,宽度,厚度|", "Combo2|长度,外径,厚度|",
        "Combo3|长度,-,-|",     "Combo4|长度,-,-|",
        "Combo5|长度,-,-|",     "Combo6|长度,-,-|",
        "Combo7|长度,-,-|",     "none|长度,外径,-|",
        "none|长度,边长,-|",    "none|厚度,外径,内径|holes",
        "none|直径,长度,-|",    "none|规格,-,-|",
        "none|规格,内径,厚度|", "none|规格,长度,-|",
    };
    for (int type = 0; type < 14; ++type) {
        EXPECT_TRUE(rowsForType(type).changesRows) << type;
        EXPECT_EQ(layout(type), expected[type]) << type;
    }
    EXPECT_FALSE(rowsForType(-1).changesRows);
    EXPECT_FALSE(rowsForType(14).changesRows);
}

TEST(SteelTypeRowsTest, ListsAndTheirEntries) {
    EXPECT_EQ(listTexts(0).size(), 2u);
    EXPECT_EQ(listTexts(1)[1], "不锈钢");
    EXPECT_EQ(listTexts(2).size(), 41u);
    EXPECT_EQ(listTexts(6).back(), "20/12.5---200x125x18");
    EXPECT_TRUE(listTexts(-1).empty());
    EXPECT_TRUE(listTexts(7).empty());
    EXPECT_EQ(listObjectName(7), "none");
    EXPECT_EQ(sectionListOfType(1), -1);
    EXPECT_EQ(sectionListOfType(2), 2);
    EXPECT_EQ(sectionListOfType(6), 6);
    EXPECT_EQ(sectionListOfType(7), -1);
}

}  // namespace
}  // namespace materiallist
