#include "ui/graphics/KoralStreams.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "ui/graphics/GuardedAlloc.h"

namespace {

std::string Counting(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 7 + i / 256);
    return s;
}

struct StreamsTest : testing::Test {
    tova_test::TempFolder dir;
    std::string bytes = Counting(10000);
    int32_t liveBefore = GallocLiveCount();
    void SetUp() override { dir.Write("data.bin", bytes); }
    void TearDown() override { EXPECT_EQ(GallocLiveCount(), liveBefore) << "every control block released"; }
    std::string Path() const { return dir / "data.bin"; }
};

TEST_F(StreamsTest, ReadingMoreThanTheFileGivesTheFile) {
    void* s = KoralStreamOpen(Path().c_str());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(KoralStreamSize(s), 10000);
    std::vector<char> out(20000);
    EXPECT_EQ(KoralStreamRead(s, out.data(), 20000), 10000);
    EXPECT_EQ(std::string(out.data(), 10000), bytes);
    EXPECT_EQ(KoralStreamTell(s), 10000);
    EXPECT_EQ(KoralStreamRead(s, out.data(), 10), 0);
    EXPECT_EQ(KoralStreamClose(s), 1);
}

TEST_F(StreamsTest, SeekEdges) {
    void* s = KoralStreamOpen(Path().c_str());
    ASSERT_NE(s, nullptr);
    char b[4];
    ASSERT_EQ(KoralStreamRead(s, b, 4), 4);
    EXPECT_EQ(KoralStreamSeek(s, -1), 0);
    EXPECT_EQ(KoralStreamTell(s), 0);
    ASSERT_EQ(KoralStreamRead(s, b, 4), 4);
    EXPECT_EQ(std::string(b, 4), bytes.substr(0, 4)) << "reading resumes at the start";

    EXPECT_EQ(KoralStreamSeek(s, 12000), 0) << "past the size clamps";
    EXPECT_EQ(KoralStreamTell(s), 10000);
    EXPECT_EQ(KoralStreamRead(s, b, 4), 0);

    EXPECT_EQ(KoralStreamSeek(s, 9000), 1);
    ASSERT_EQ(KoralStreamRead(s, b, 4), 4);
    EXPECT_EQ(std::string(b, 4), bytes.substr(9000, 4));
    EXPECT_EQ(KoralStreamClose(s), 1);
}

TEST_F(StreamsTest, SeekInsideTheBufferKeepsIt) {
    auto* s = static_cast<KoralStreamBlock*>(KoralStreamOpen(Path().c_str()));
    ASSERT_NE(s, nullptr);
    // The block is packed: its pointers are read by value, never bound.
    auto offset = [s](size_t field) -> ptrdiff_t {
        uint8_t* at;
        std::memcpy(&at, reinterpret_cast<const char*>(s) + field, sizeof at);
        return at - s->buffer;
    };
    char b[100];
    ASSERT_EQ(KoralStreamRead(s, b, 100), 100);
    ASSERT_EQ(offset(offsetof(KoralStreamBlock, endPointer)), 8192);
    EXPECT_EQ(KoralStreamSeek(s, 50), 1);
    EXPECT_EQ(offset(offsetof(KoralStreamBlock, readPointer)), 50) << "kept, moved back";
    EXPECT_EQ(KoralStreamSeek(s, 8000), 1);
    EXPECT_EQ(offset(offsetof(KoralStreamBlock, readPointer)), 8000) << "kept, moved on";
    ASSERT_EQ(KoralStreamRead(s, b, 100), 100);
    EXPECT_EQ(std::string(b, 100), bytes.substr(8000, 100));
    EXPECT_EQ(KoralStreamSeek(s, 8191), 1);
    EXPECT_EQ(offset(offsetof(KoralStreamBlock, readPointer)), 8191) << "the last buffered byte still counts";
    EXPECT_EQ(KoralStreamSeek(s, 8192), 1);
    EXPECT_EQ(offset(offsetof(KoralStreamBlock, readPointer)), offset(offsetof(KoralStreamBlock, endPointer))) << "past the buffer: dropped";
    ASSERT_EQ(KoralStreamRead(s, b, 3), 3);
    EXPECT_EQ(std::string(b, 3), bytes.substr(8192, 3));
    EXPECT_EQ(KoralStreamSeek(s, 100), 1);
    ASSERT_EQ(KoralStreamRead(s, b, 3), 3);
    EXPECT_EQ(std::string(b, 3), bytes.substr(100, 3)) << "back before the buffer";
    EXPECT_EQ(KoralStreamClose(s), 1);
}

TEST_F(StreamsTest, WrittenStreamSizeFollowsItsLargestPosition) {
    const std::string out = dir / "out.bin";
    void* s = KoralStreamCreate(out.c_str());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(KoralStreamWrite(s, bytes.data(), 100), 100);
    EXPECT_EQ(KoralStreamSize(s), 100);
    EXPECT_EQ(KoralStreamSeek(s, 10), 1);
    EXPECT_EQ(KoralStreamWrite(s, "xyz", 3), 3);
    EXPECT_EQ(KoralStreamTell(s), 13);
    EXPECT_EQ(KoralStreamSize(s), 100);
    EXPECT_EQ(KoralStreamSeek(s, 100), 1);
    EXPECT_EQ(KoralStreamWrite(s, bytes.data(), 50), 50);
    EXPECT_EQ(KoralStreamSize(s), 150);
    EXPECT_EQ(KoralStreamClose(s), 1);
    std::string expected = bytes.substr(0, 100) + bytes.substr(0, 50);
    expected.replace(10, 3, "xyz");
    EXPECT_EQ(dir.Read("out.bin"), expected);

    // Creating it again empties it.
    s = KoralStreamCreate(out.c_str());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(KoralStreamWrite(s, "ab", 2), 2);
    EXPECT_EQ(KoralStreamClose(s), 1);
    EXPECT_EQ(dir.Read("out.bin"), "ab");
}

TEST_F(StreamsTest, ConsoleNamesMissingFilesAndNullStreams) {
    EXPECT_EQ(KoralStreamOpen("con:"), nullptr);
    EXPECT_EQ(KoralStreamOpen("con:whatever"), nullptr);
    EXPECT_EQ(KoralStreamCreate("con:out"), nullptr);
    EXPECT_EQ(KoralStreamOpen((dir / "missing.bin").c_str()), nullptr);
    EXPECT_EQ(KoralStreamClose(nullptr), 1);
    char b[4];
    EXPECT_EQ(KoralStreamRead(nullptr, b, 4), 0);
    EXPECT_EQ(KoralStreamSize(nullptr), 0);
    void* s = KoralStreamOpen(Path().c_str());
    EXPECT_EQ(KoralStreamWrite(s, "ab", 2), 0) << "a read stream takes no writes";
    EXPECT_EQ(KoralStreamClose(s), 1);
}

}  // namespace
