#include "translation/TextBuffer.h"

#include <gtest/gtest.h>

using translation::TextBuffer;

namespace {

TEST(TextBufferTest, CutBeforeMarker) {
    struct Case {
        std::string text, marker, before, after;
        bool found;
    } cases[] = {
        {"ab####cd####", "####", "ab", "cd####", true},
        {"####cd", "####", "", "cd", true},          // found at the start: empty but cut
        {"abcd", "####", "", "abcd", false},         // not found: nothing changes
        {"abcd", "", "abcd", "abcd", true},          // empty marker: everything, kept
        {"a\r\n####b", "####", "a\r\n", "b", true},  // raw bytes
        {std::string("x\0y##", 5), "##", std::string("x\0y", 3), "", true},
    };
    for (const Case& c : cases) {
        TextBuffer buffer(c.text);
        std::string before = "junk";
        EXPECT_EQ(buffer.CutBeforeMarker(c.marker, before), c.found) << c.text;
        EXPECT_EQ(before, c.before) << c.text;
        EXPECT_EQ(buffer.Bytes(), c.after) << c.text;
    }
}

}  // namespace
