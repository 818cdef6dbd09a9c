#include "translation/TextBuffer.h"

#include <gtest/gtest.h>

using translation::TextBuffer;

namespace {

TEST(TextBufferTest, CutBeforeMarker) {
    struct Case {
        std::string text, marker, before, after;
    } cases[] = {
        {"ab####cd####", "####", "ab", "cd####"},
        {"####cd", "####", "", "cd"},          // found at the start: empty but cut
        {"abcd", "####", "", "abcd"},          // not found: nothing changes
        {"abcd", "", "abcd", "abcd"},          // empty marker: everything, kept
        {"a\r\n####b", "####", "a\r\n", "b"},  // raw bytes
        {std::string("x\0y##", 5), "##", std::string("x\0y", 3), ""},
    };
    for (const Case& c : cases) {
        TextBuffer buffer(c.text);
        EXPECT_EQ(buffer.CutBeforeMarker(c.marker), c.before) << c.text;
        EXPECT_EQ(buffer.Bytes(), c.after) << c.text;
    }
    // The two-answer form tells a marker at the start from no marker.
    TextBuffer atStart("####x"), none("x");
    std::string before = "junk";
    EXPECT_TRUE(atStart.CutBeforeMarker("####", before));
    EXPECT_EQ(before, "");
    EXPECT_FALSE(none.CutBeforeMarker("####", before));
    EXPECT_EQ(none.Bytes(), "x");
}

}  // namespace
