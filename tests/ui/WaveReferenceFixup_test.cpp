#include "ui/graphics/WaveReferenceFixup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> WaveBytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(WaveReferenceFixup, SwapsTheThreeFieldsAtTheNextBoundary) {
    // "ab" + terminator, one byte of padding to 4, then the fields.
    std::vector<uint8_t> data = WaveBytes(std::string("ab\0\0", 4) + "\x01\x02\x03\x04\x05\x06" + "zz");
    EXPECT_EQ(FixupWaveReference(data.data(), static_cast<uint32_t>(data.size())), 10u);
    EXPECT_EQ(data, WaveBytes(std::string("ab\0\0", 4) + "\x02\x01\x04\x03\x06\x05" + "zz"));
}

TEST(WaveReferenceFixup, NameEndingOnABoundaryStepsToTheNextOne) {
    std::vector<uint8_t> data = WaveBytes(std::string("abc\0", 4) + "\x01\x02\x03\x04\x05\x06");
    EXPECT_EQ(FixupWaveReference(data.data(), 10), 10u);
    EXPECT_EQ(data[4], 2);
    EXPECT_EQ(data[9], 5);
}

TEST(WaveReferenceFixup, EdgesLeaveTheBytesAlone) {
    struct Case {
        std::string bytes;
        uint32_t answer;
    };
    const Case cases[] = {
        {std::string("abc\0", 4), 4},                     // the name fills the size
        {"abcdef", 7},                                    // no terminator inside the size
        {std::string("ab\0\0\x01\x02\x03\x04\x05", 9), 3},  // the fields would end past the size
        {std::string("", 0), 1},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> data = WaveBytes(c.bytes);
        const std::vector<uint8_t> before = data;
        data.push_back(0x77);  // a byte past the size that must not be read as part of it
        EXPECT_EQ(FixupWaveReference(data.data(), static_cast<uint32_t>(c.bytes.size())), c.answer) << c.bytes;
        data.pop_back();
        EXPECT_EQ(data, before);
    }
}

}  // namespace
