#include "cli/options.h"

#include <gtest/gtest.h>

namespace cli {
namespace {

TEST(Options, ValuesFlagsAndPositionals) {
    Options o;
    std::string error;
    ASSERT_TRUE(o.parse({"--set", "A=1", "a.dxf", "--purge", "--set=B=2", "-", "--", "--x", "--"},
                        {"set"}, {"purge"}, error));
    EXPECT_EQ(o.all("set"), (std::vector<std::string>{"A=1", "B=2"}));
    EXPECT_EQ(o.value("set"), "B=2");
    EXPECT_TRUE(o.has("purge"));
    EXPECT_FALSE(o.has("audit"));
    EXPECT_EQ(o.positional(), (std::vector<std::string>{"a.dxf", "-", "--x", "--"}));
}

TEST(Options, UsageErrors) {
    std::string error;
    EXPECT_FALSE(Options().parse({"--nope"}, {"set"}, {}, error));
    EXPECT_EQ(error, "unknown option --nope");
    EXPECT_FALSE(Options().parse({"--set"}, {"set"}, {}, error));
    EXPECT_EQ(error, "option --set needs a value");
    EXPECT_FALSE(Options().parse({"--purge=1"}, {}, {"purge"}, error));
}

TEST(Split, KeepsEmptyFields) {
    EXPECT_EQ(split("", ","), (std::vector<std::string>{""}));
    EXPECT_EQ(split("1,,3,", ","), (std::vector<std::string>{"1", "", "3", ""}));
    EXPECT_EQ(split("a;;b", ";;"), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace cli
