#include "materiallist/weight.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace materiallist {
namespace {

WeightInputs inputs(int type, std::string t1, std::string t2 = "", std::string t3 = "",
                    std::string qty = "1") {
    WeightInputs in;
    in.steelType = type;
    in.text1 = std::move(t1);
    in.text2 = std::move(t2);
    in.text3 = std::move(t3);
    in.quantity = std::move(qty);
    return in;
}

WeightInputs section(int type, int row, std::string length, std::string qty = "1") {
    WeightInputs in = inputs(type, std::move(length), "", "", std::move(qty));
    in.listIndex = row;
    return in;
}

struct Case {
    const char* name;
    WeightInputs in;
    const char* unit;
    const char* total;
};

// Results as the fields show them, from a fresh window state.
TEST(WeightTest, UnitAndTotalTexts) {
    WeightInputs flange = inputs(9, "20", "200", "100");
    flange.holeDiameter = "18";
    flange.holeCount = "4";
    WeightInputs noMaterial = inputs(0, "1000", "500", "10");
    noMaterial.materialIndex = -1;
    WeightInputs stainless = inputs(0, "1000", "500", "10");
    stainless.materialIndex = 3;

    const Case cases[] = {
        {"channel truncates, not rounds", section(2, 0, "1000"), " 5.43", " 5.43"},
        {"H-beam mass in single precision", section(4, 33, "1000"), " 9.53", " 9.53"},
        {"channel 23 kg/m, two pieces", section(2, 10, "6000", "2"), " 138", " 276"},
        {"I-beam 63a", section(3, 31, "1000"), " 121.4", " 121.4"},
        {"equal angle", section(5, 18, "6000"), " 22.61", " 22.61"},
        {"unequal angle", section(6, 14, "6000", "3"), " 23.52", " 70.56"},
        {"plate", inputs(0, "1000", "500", "10"), " 39.25", " 39.25"},
        {"plate of stainless grade", stainless, " 39.5", " 39.5"},
        {"plate without material", noMaterial, " 0", " 0"},
        {"pipe by mean wall diameter", inputs(1, "1000", "89", "4.5"), " 9.37", " 9.37"},
        {"round bar", inputs(7, "1000", "20"), " 2.46", " 2.46"},
        {"square bar: 3.14 in binary is just below", inputs(8, "1000", "20"), " 3.13", " 3.13"},
        {"flange to a quarter of 0.01 kg", flange, " 3.5375", " 3.5375"},
        {"bolt listed", inputs(10, "20", "80"), " .231", " .231"},
        {"bolt listed, 20.0 matches 20", inputs(10, "20.0", "80"), " .231", " .231"},
        {"bolt by formula", inputs(10, "7", "50"), " .03", " .03"},
        {"nut rounds to nothing", inputs(11, "1.6"), " 0", " 0"},
        {"nut", inputs(11, "20", "", "", "10"), " .052", " .52"},
        {"standard washer", inputs(12, "20"), " .016", " .016"},
        {"standard washer, blanks in the other rows", inputs(12, "20", "", " "), " .016", " .016"},
        {"non-standard washer", inputs(12, "40", "21", "3"), " .021", " .021"},
        {"cotter pin", inputs(13, "4", "40", "", "100"), " .004", " .4"},
        {"quantity 2.5 counts as 2", section(2, 10, "6000", "2.5"), " 138", " 276"},
        {"quantity 3.5 counts as 4", section(2, 10, "6000", "3.5"), " 138", " 552"},
        {"quantity empty counts as 0", section(2, 10, "6000", ""), " 138", " 0"},
        {"negative quantity", section(2, 10, "6000", "-1"), " 138", "-138"},
        {"quantity at the 16-bit limit", section(2, 10, "1000", "32767"), " 23", " 753641"},
        {"lenient number reading", inputs(0, " 1 000mm", "500", "10"), " 39.25", " 39.25"},
    };
    for (const Case& c : cases) {
        const WeightResult r = calculateWeight(c.in, WeightState{});
        EXPECT_TRUE(r.written) << c.name;
        EXPECT_EQ(r.unitText, c.unit) << c.name;
        EXPECT_EQ(r.totalText, c.total) << c.name;
        EXPECT_FALSE(r.message) << c.name;
    }
}

TEST(WeightTest, NoSteelTypeChangesNothing) {
    const WeightState before{1.5, 3.0, 9.54f};
    const WeightResult r = calculateWeight(inputs(-1, "1e99", "x", "", "99999"), before);
    EXPECT_FALSE(r.written);
    EXPECT_FALSE(r.message);
    EXPECT_EQ(r.state.unit, 1.5);
    EXPECT_EQ(r.state.massPerMetre, 9.54f);
}

TEST(WeightTest, StateCarriesMassPerMetre) {
    WeightResult first = calculateWeight(section(4, 33, "1000"), WeightState{});
    EXPECT_EQ(first.state.massPerMetre, 9.54f);
    // Nothing selected in the (other) family's list: the last mass looked up is used.
    WeightResult second = calculateWeight(section(2, -1, "2000", "3"), first.state);
    EXPECT_EQ(second.unitText, " 19.07");
    EXPECT_EQ(second.totalText, " 57.21");
    EXPECT_EQ(second.state.massPerMetre, 9.54f);
    // Fresh window, nothing ever looked up: m = 0.
    EXPECT_EQ(calculateWeight(section(2, -1, "2000"), WeightState{}).unitText, " 0");
}

TEST(WeightTest, FastenerMessagesFallBackOnPreviousUnitWeight) {
    const WeightState before{0.0312, 0.0312, 0.0f};  // a formula bolt before rounding
    struct FallBack {
        WeightInputs in;
        std::optional<std::string> text;
        const char* total;
    } cases[] = {
        {inputs(11, "7", "", "", "3"), "你选择的不是标准螺母吧！", " .093"},
        {inputs(12, "40", "21", "", "2"), "你选择的既不是标准垫片也不是参数齐全的非标垫片！",
         " .062"},
        {inputs(12, "", "", "", "2"), "你选择的既不是标准垫片也不是参数齐全的非标垫片！", " .062"},
        {inputs(13, "7", "40", "", "2"), "你选择的不是标准开口销GB91吧！", " .062"},
        {inputs(12, "40", "", "", "2"), std::nullopt, " .062"},  // unlisted standard washer: silent
    };
    for (const FallBack& c : cases) {
        const WeightResult r = calculateWeight(c.in, before);
        EXPECT_TRUE(r.written);
        EXPECT_EQ(r.unitText, " .031");
        EXPECT_EQ(r.totalText, c.total);
        EXPECT_EQ(r.state.unit, 0.031);  // the rounded value replaces u
        ASSERT_EQ(r.message.has_value(), c.text.has_value());
        if (c.text) {
            EXPECT_EQ(r.message->title, "提示信息");
            EXPECT_EQ(r.message->text, *c.text);
        }
    }
}

TEST(WeightTest, FastenerRoundingIsHalfToEven) {
    // Bolt d=3 weighs 0.00005 kg per mm: halves of a gram go to the even gram.
    const struct {
        const char* length;
        const char* unit;
    } cases[] = {{"10", " 0"}, {"30", " .002"}, {"50", " .002"}, {"70", " .004"}, {"60", " .003"}};
    for (const auto& c : cases)
        EXPECT_EQ(calculateWeight(inputs(10, "3", c.length), {}).unitText, c.unit) << c.length;
}

TEST(WeightTest, OutOfRangeInputIsRefusedAndWritesNothing) {
    const WeightState before{2.0, 4.0, 23.0f};
    WeightInputs holes = inputs(9, "20", "200", "100");
    holes.holeDiameter = "1e400";
    WeightInputs hugeHoles = inputs(9, "20", "200", "100");
    hugeHoles.holeDiameter = "1e200";
    hugeHoles.holeCount = "4";
    struct Refusal {
        WeightInputs in;
        const char* text;
    } cases[] = {
        {inputs(0, "1e39", "500", "10"), "长度的数值超出范围，请检查输入！"},
        {inputs(1, "1000", "-4e38", "10"), "外径的数值超出范围，请检查输入！"},
        {inputs(9, "20", "200", "1e40"), "内径的数值超出范围，请检查输入！"},
        {section(2, 0, "1000", "32767.5"), "数量超出范围（-32768～32767），请检查输入！"},
        {section(2, 0, "1000", "-32769"), "数量超出范围（-32768～32767），请检查输入！"},
        {section(2, 0, "1000", "1e10"), "数量超出范围（-32768～32767），请检查输入！"},
        {holes, "螺丝孔直径的数值超出范围，请检查输入！"},
        {inputs(0, "1e30", "1e30", "10"), "单重的计算结果超出范围，请检查输入！"},
        {inputs(7, "1e30", "1e30"), "单重的计算结果超出范围，请检查输入！"},
        {hugeHoles, "单重的计算结果超出范围，请检查输入！"},
        {inputs(12, "20", "500", "10"), "非标垫片的内径不小于外径，请检查输入！"},
        {inputs(12, "40", "40", "3"), "非标垫片的内径不小于外径，请检查输入！"},
        {inputs(12, "40", "-50", "3"), "非标垫片的内径为负数，请检查输入！"},
        {inputs(12, "40", "21", "0"), "非标垫片的厚度不大于0，请检查输入！"},
        {inputs(12, "40", "21", "-3"), "非标垫片的厚度不大于0，请检查输入！"},
    };
    for (const Refusal& c : cases) {
        const WeightResult r = calculateWeight(c.in, before);
        EXPECT_FALSE(r.written) << c.text;
        ASSERT_TRUE(r.message) << c.text;
        EXPECT_EQ(r.message->title, "提示信息");
        EXPECT_EQ(r.message->text, c.text);
        EXPECT_EQ(r.state.unit, 2.0);
        EXPECT_EQ(r.state.massPerMetre, 23.0f);
    }
    // -32768.5 rounds to -32768 (even) and is accepted; a field the type does not read
    // is not checked.
    EXPECT_TRUE(calculateWeight(section(2, 0, "1000", "-32768.5"), before).written);
    EXPECT_TRUE(calculateWeight(inputs(2, "1000", "1e99", "1e99"), before).written);
}

}  // namespace
}  // namespace materiallist
