#include "ui/number_text.h"

#include <cmath>

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(ReadNumber, LenientRule) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},           {"abc", 0},         {"12", 12},          {" 12 ", 12},
        {"1 2", 12},       {"1\t2\n3", 123},   {"-5", -5},          {"+5", 5},
        {"- 5", -5},       {"--5", 0},         {".5", 0.5},         {"5.", 5},
        {".", 0},          {"1.2.3", 1.2},     {"12abc", 12},       {"1e3", 1000},
        {"1E-2", 0.01},    {"2e", 2},          {"2e+", 2},          {"1 e 2", 100},
        {"3,5", 3},        {"6000mm", 6000},   {"1\r2", 1},         {"&H10", 16},
        {"&hff", 255},     {"&HFFFF", -1},     {"&H10000", 65536},  {"&O17", 15},
        {"&Hzz", 0},       {"&X1", 0},         {"0.1", 0.1},        {"1e-400", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(readNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(ReadNumber, OverflowReadsAsInfinity) {
    EXPECT_TRUE(std::isinf(readNumber("1e400")));
    EXPECT_TRUE(std::isinf(readNumber("-1e99999999999999999999")));
    EXPECT_LT(readNumber("-1e400"), 0);
    EXPECT_TRUE(std::isinf(readNumber(std::string(400, '9'))));
}

TEST(ShortestText, BlankSignAndNoLeadingZero) {
    EXPECT_EQ(shortestText(0.231), " .231");
    EXPECT_EQ(shortestText(138), " 138");
    EXPECT_EQ(shortestText(0), " 0");
    EXPECT_EQ(shortestText(-0.0), " 0");
    EXPECT_EQ(shortestText(-0.5), "-.5");
    EXPECT_EQ(shortestText(5.43), " 5.43");
    EXPECT_EQ(shortestText(0.1 + 0.2), " .3");
    EXPECT_EQ(shortestText(1.0 / 3), " .333333333333333");
    EXPECT_EQ(shortestText(2.0 / 3), " .666666666666667");
    EXPECT_EQ(shortestText(123456789012345), " 123456789012345");
    EXPECT_EQ(shortestText(0.0001), " .0001");
}

TEST(ShortestText, ExponentFormOutsideFixedRange) {
    EXPECT_EQ(shortestText(1e15), " 1E+15");
    EXPECT_EQ(shortestText(1234567890123456.0), " 1.23456789012346E+15");
    EXPECT_EQ(shortestText(0.00001), " 1E-05");
    EXPECT_EQ(shortestText(-2.5e-7), "-2.5E-07");
    EXPECT_EQ(shortestText(1e100), " 1E+100");
}

TEST(OneDecimalText, PatternsRoundHalfAwayFromZero) {
    struct Case {
        double value;
        const char* hashes;  // "###.0"
        const char* zero;    // "####0.0"
    } cases[] = {
        {0.26, ".3", "0.3"},      {0, ".0", "0.0"},           {0.04, ".0", "0.0"},
        {0.05, ".1", "0.1"},      {0.15, ".2", "0.2"},        {2.25, "2.3", "2.3"},
        {-2.25, "-2.3", "-2.3"},  {-0.04, ".0", "0.0"},       {-0.26, "-.3", "-0.3"},
        {9.96, "10.0", "10.0"},   {99.95, "100.0", "100.0"},  {1234567.84, "1234567.8", "1234567.8"},
        {-0.0, ".0", "0.0"},      {31250, "31250.0", "31250.0"}, {0.96, "1.0", "1.0"},
        {1e20, "100000000000000000000.0", "100000000000000000000.0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(oneDecimalText(c.value, false), c.hashes) << c.value;
        EXPECT_EQ(oneDecimalText(c.value, true), c.zero) << c.value;
    }
    EXPECT_EQ(patternText(0.26, "###.0"), ".3");
    EXPECT_EQ(patternText(0.26, "##.0"), ".3");
    EXPECT_EQ(patternText(0.26, "####0.0"), "0.3");
}

}  // namespace
}  // namespace ui
