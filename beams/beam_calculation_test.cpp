#include "beams/beam_calculation.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace beams {
namespace {

// Records the length question and answers it: true goes on (Cancel), false is OK.
struct Asker {
    bool goOn = true;
    std::vector<ui::Message> asked;
    GoOnAfterMismatch fn() {
        return [this](const ui::Message& m) {
            asked.push_back(m);
            return goOn;
        };
    }
};

// A report path of the running test's own: CTest runs the tests of this file side by side.
std::string noReport() {
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return (std::filesystem::temp_directory_path() / ("beam-calc-test-" + test + ".doc")).string();
}

TEST(CalculateRow, TwoRowsOfTheSlabExample) {
    Asker ask;
    const CalculationOutcome out =
        calculateRow({2, {"100", "400", "100"}, {"10", "600", "100"}}, ask.fn());
    ASSERT_TRUE(out.results);
    EXPECT_TRUE(ask.asked.empty());
    EXPECT_EQ(out.results->moments, (std::vector<std::string>{"-39250.0", "-39250.0"}));
    EXPECT_EQ(out.results->forces, (std::vector<std::string>{"2355.0", "2355.0"}));
}

TEST(CalculateRow, LengthMismatchAsksAndOkEndsTheCalculation) {
    for (bool goOn : {false, true}) {
        Asker ask;
        ask.goOn = goOn;
        const CalculationOutcome out =
            calculateRow({3, {"0", "300", "300", "0"}, {"10", "650", "100"}}, ask.fn());
        ASSERT_EQ(ask.asked.size(), 1u);
        EXPECT_EQ(ask.asked[0].title, "提示");
        EXPECT_EQ(ask.asked[0].text, "请从新输入梁的长度!");
        EXPECT_EQ(out.results.has_value(), goOn);
        EXPECT_FALSE(out.refusal);
    }
}

TEST(CalculateRow, RefusalsNameTheZeroInput) {
    struct Case {
        const char* name;
        RowInput input;
        size_t questions;
        std::string text;
    } cases[] = {
        {"all blank",
         {2, {" ", " ", " "}, {" ", " ", " "}},
         0,
         "1.2水冷梁之间的距离L1(cm)为0,无法计算!"},
        {"distances blank",
         {3, {"", "", "", ""}, {"10", "600", "100"}},
         1,
         "1.2水冷梁之间的距离L1(cm)为0,无法计算!"},
        {"third span zero",
         {4, {"0", "100", "100", "0", "0"}, {"1", "200", "1"}},
         0,
         "3.4水冷梁之间的距离L3(cm)为0,无法计算!"},
        {"length is the overhangs",
         {2, {"100", "400", "100"}, {"10", "200", "100"}},
         1,
         "板坯长度(cm)减去两端外悬距离为0,无法计算!"},
        {"overflow",
         {2, {"1e400", "400", "100"}, {"10", "600", "100"}},
         1,
         "输入的数值太大,无法计算!"},
    };
    for (const Case& c : cases) {
        Asker ask;
        const CalculationOutcome out = calculateRow(c.input, ask.fn());
        EXPECT_EQ(ask.asked.size(), c.questions) << c.name;
        ASSERT_TRUE(out.refusal) << c.name;
        EXPECT_EQ(out.refusal->title, "提示") << c.name;
        EXPECT_EQ(out.refusal->text, c.text) << c.name;
        EXPECT_FALSE(out.results) << c.name;
    }
}

TEST(CalculateColumn, WindowMessagesAndPatterns) {
    struct Case {
        int n;
        std::string message;
        std::string zero;
    } cases[] = {{2, "请从新输入梁的长度", ".0"},
                 {3, "请从新输入梁的长度!", ".0"},
                 {6, "请从新输入梁的长度!", "0.0"},
                 {8, "请重新输入梁的长度！", ".0"}};
    for (const Case& c : cases) {
        // Unit spans, no overhangs: a tiny load gives results that round to zero.
        std::vector<std::string> d(c.n + 1, "1");
        d.front() = d.back() = "0";
        const std::string path = noReport();
        Asker ask;
        const CalculationOutcome out = calculateColumn(
            {c.n, d, {"x", std::to_string(c.n - 1), "1", "0.08"}, std::nullopt}, path, ask.fn());
        EXPECT_TRUE(ask.asked.empty()) << c.n;
        ASSERT_TRUE(out.results) << c.n;
        EXPECT_EQ(out.results->moments.front(), c.zero) << c.n;
        EXPECT_EQ(out.results->forces.front(), c.zero) << c.n;

        calculateColumn({c.n, d, {"x", std::to_string(c.n), "1", "0.08"}, std::nullopt}, path,
                        ask.fn());
        ASSERT_EQ(ask.asked.size(), 1u) << c.n;
        EXPECT_EQ(ask.asked[0].title, "提示");
        EXPECT_EQ(ask.asked[0].text, c.message) << c.n;
        std::filesystem::remove(path);
    }
}

TEST(CalculateColumn, ZeroSpanIsRefusedBeforeTheLengthQuestion) {
    Asker ask;
    const std::string path = noReport();
    std::filesystem::remove(path);
    const CalculationOutcome out =
        calculateColumn({2, {"1", "2", "3"}, {"1", "999", "0", "600"}, 100}, path, ask.fn());
    EXPECT_TRUE(ask.asked.empty());
    ASSERT_TRUE(out.refusal);
    EXPECT_EQ(out.refusal->text, "梁的跨距(cm)为0,无法计算!");
    EXPECT_FALSE(out.results);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Calculations, RowsAndColumnsShareTheModel) {
    Asker ask;
    const std::vector<std::string> d{"37.5", "215.3", "198", "260.2", "12"};
    const std::string path = noReport();
    // t·0.00785·s = 2·0.00785·100 = 1.57 kg/cm; (G + P)/s = (100 + 57)/100.
    const auto row = calculateRow({4, d, {"2", "723", "100"}}, ask.fn());
    const auto column = calculateColumn({4, d, {"1", "723", "100", "100"}, 57}, path, ask.fn());
    ASSERT_TRUE(row.results && column.results);
    EXPECT_EQ(row.results->moments, column.results->moments);
    EXPECT_EQ(row.results->forces, column.results->forces);
    std::filesystem::remove(path);
}

TEST(RowKeyNumber, OnlyTheExactKeysOfExistingRows) {
    EXPECT_EQ(rowKeyNumber("1", 2), 1);
    EXPECT_EQ(rowKeyNumber("2", 2), 2);
    EXPECT_EQ(rowKeyNumber("9", 9), 9);
    for (const char* key : {"3", "0", " 1", "1 ", "01", "10", "51", "", "x"})
        EXPECT_EQ(rowKeyNumber(key, 2), std::nullopt) << '"' << key << '"';
}

}  // namespace
}  // namespace beams
