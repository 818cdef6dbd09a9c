#include <gtest/gtest.h>

#include "windows/UIPoint.h"

namespace {

using windows::ParseUIPoint;
using windows::UIPoint;

TEST(ParseUIPoint, ReadsTheTwoNumbersAndGivesOriginForAnythingElse) {
    const struct {
        const char* text;
        UIPoint point;
    } cases[] = {
        {"(10;20)", {10, 20}},       {"(12;34)", {12, 34}},       {"(-5;0)", {-5, 0}},
        {"( 7; -8)", {7, -8}},       {"(+3;4", {3, 4}},           {"(2147483647;-2147483648)", {2147483647, INT32_MIN}},
        {"", {0, 0}},                {"10;20", {0, 0}},           {" (10;20)", {0, 0}},
        {"(10 ;20)", {0, 0}},        {"(10,20)", {0, 0}},         {"(x;20)", {0, 0}},
        {"(10;)", {0, 0}},           {"(2147483648;1)", {0, 0}},  {"(99999999999999999999;1)", {0, 0}},
        {"(-;1)", {0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseUIPoint(c.text), c.point) << '"' << c.text << '"';
}

}  // namespace
