#include "heat/conductivity_text.h"

#include <gtest/gtest.h>

namespace heat {
namespace {

TEST(ConductivityText, FormsInTheirOrderOfRecognition) {
    EXPECT_EQ(conductivityForm("0.7+0.64*t"), ConductivityForm::Linear);
    EXPECT_EQ(conductivityForm("4.0+-1.5*t"), ConductivityForm::Linear);  // "-" but ends in t
    EXPECT_EQ(conductivityForm("<0.05"), ConductivityForm::UpperBound);
    EXPECT_EQ(conductivityForm("0.02-0.03"), ConductivityForm::Range);
    EXPECT_EQ(conductivityForm("<0.02-0.03"),
              ConductivityForm::Range);  // "-" met first from the end
    EXPECT_EQ(conductivityForm("0.02-<0.03"), ConductivityForm::UpperBound);
    EXPECT_EQ(conductivityForm("0.06"), ConductivityForm::Constant);
    EXPECT_EQ(conductivityForm(""), ConductivityForm::Constant);
}

TEST(ConductivityText, ValuesAtTemperature) {
    struct Case {
        const char* text;
        double t;
        double value;
    };
    const Case cases[] = {
        {"0.7+0.64*t", 1000, 1.34},
        {"0.64*t", 1000, 0.64},
        {"4.0+-1.5*t", 1000, 2.5},
        {"+0.5*t", 400, 0.2},
        {"0.72+0.50*t", 0, 0.72},
        {"<0.05", 900, 0.05},
        {"0.02-0.03", 900, 0.03},
        {"0.60-0.70", 0, 0.70},
        {"0.6-0.70", 0, 0.70},
        {"<0.02-0.03", 0, 0.03},
        {"0.06", 1000, 0.06},
        {" 0.0 6", 0, 0.06},
        {"1E-1", 0, 1},               // the exponent's "-" makes it a range
        {"0.7+0.64*xt", 1000, 1.34},  // after "*" only the final "t" counts
    };
    for (const Case& c : cases) {
        const auto stored = parseConductivityText(c.text);
        ASSERT_TRUE(stored) << c.text;
        const auto value = stored->at(c.t);
        ASSERT_TRUE(value) << c.text;
        EXPECT_DOUBLE_EQ(*value, c.value) << c.text;
    }
}

TEST(ConductivityText, LinearTextIsKeptUnchangedEvenWhenItsPartsAreNotNumbers) {
    const auto stored = parseConductivityText("0.7+abc*t");
    ASSERT_TRUE(stored);
    EXPECT_TRUE(stored->linear);
    EXPECT_EQ(stored->linearText, "0.7+abc*t");
    EXPECT_FALSE(stored->at(1000));
    for (const char* bad : {"abc+0.5*t", "0.7+*t", "0.7+0.5t", "t"})
        EXPECT_FALSE(parseConductivityText(bad)->at(1000)) << bad;
}

TEST(ConductivityText, ConstantFormsWithoutANumberLeaveNothing) {
    for (const char* bad : {"", " ", "abc", "<", "x<0.05", "0.02-", "0.05<", "0.06 W", "1e999"})
        EXPECT_FALSE(parseConductivityText(bad)) << bad;
}

TEST(WholeNumber, TheFieldsReadingRuleOverTheWholeText) {
    EXPECT_EQ(wholeNumber(" 1 2\t"), 12);
    EXPECT_EQ(wholeNumber("-.5"), -0.5);
    EXPECT_EQ(wholeNumber("5."), 5);
    EXPECT_EQ(wholeNumber("1.5e3"), 1500);
    EXPECT_EQ(wholeNumber("&H10"), 16);
    EXPECT_EQ(wholeNumber("&O17"), 15);
    for (const char* bad : {"", ".", "-", "12abc", "1e", "1e+", "&H", "&HG", "1..2", "inf"})
        EXPECT_FALSE(wholeNumber(bad)) << bad;
}

}  // namespace
}  // namespace heat
