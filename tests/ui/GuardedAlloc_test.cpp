#include "ui/graphics/GuardedAlloc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(GuardedAlloc, SizeZeroIsRefusedWithItsMessage) {
    CaptureStdout();
    EXPECT_EQ(galloc(0), nullptr);
    EXPECT_EQ(galloc(-5), nullptr);
    EXPECT_EQ(GetCapturedStdout(), "galloc - INVALID SIZE 0\ngalloc - INVALID SIZE -5\n");
}

TEST(GuardedAlloc, BlockCarriesItsMarksAndIsCounted) {
    const int32_t before = GallocLiveCount();
    auto* p = static_cast<uint8_t*>(galloc(10));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::memcmp(p - 8, "GMEM", 4), 0);
    int32_t size = 0;
    std::memcpy(&size, p - 4, 4);
    EXPECT_EQ(size, 10);
    EXPECT_EQ(std::memcmp(p + 10, "GEND", 4), 0);
    EXPECT_EQ(GallocLiveCount(), before + 1);
    EXPECT_EQ(gfree(p), 1);
    EXPECT_EQ(GallocLiveCount(), before);
}

TEST(GuardedAlloc, SecondReleaseIsReportedAndAnswersZero) {
    const int32_t before = GallocLiveCount();
    void* p = galloc(32);
    ASSERT_EQ(gfree(p), 1);
    CaptureStdout();
    EXPECT_EQ(gfree(p), 0);
    EXPECT_EQ(GetCapturedStdout(), "gfree - ATTEMPT TO FREE MEMORY TWICE\n");
    EXPECT_EQ(GallocLiveCount(), before);
}

TEST(GuardedAlloc, OverwrittenTrailerIsCorruptionAndTheBlockStays) {
    const int32_t before = GallocLiveCount();
    auto* p = static_cast<uint8_t*>(galloc(16));
    std::memset(p, 0xAB, 17);  // one byte too many
    CaptureStdout();
    EXPECT_EQ(gfree(p), 0);
    EXPECT_EQ(GetCapturedStdout(), "gfree - SENTINAL CORRUPTED; PROBABLE MEMORY DATA CORRUPTION\n");
    EXPECT_EQ(GallocLiveCount(), before + 1);
    // Mended, it can be released after all.
    std::memcpy(p + 16, "GEND", 4);
    EXPECT_EQ(gfree(p), 1);
    EXPECT_EQ(GallocLiveCount(), before);
}

TEST(GuardedAlloc, NullAndStrayPointers) {
    int32_t local = 0;
    CaptureStdout();
    EXPECT_EQ(gfree(nullptr), 0);
    EXPECT_EQ(gfree(reinterpret_cast<void*>(100)), 0);
    EXPECT_EQ(gfree(&local), 0);
    EXPECT_EQ(GetCapturedStdout(),
              "gfree - ATTEMPT TO FREE NULL POINTER\n"
              "gfree - ATTEMPT TO FREE NULL POINTER\n"
              "gfree - SENTINAL CORRUPTED; PROBABLE MEMORY DATA CORRUPTION\n");
}

TEST(GuardedAlloc, SizesBeyondTheLimitAreRefused) {
    CaptureStdout();
    EXPECT_EQ(galloc(kGallocMaxSize + 1), nullptr);
    EXPECT_NE(GetCapturedStdout().find("INVALID SIZE"), std::string::npos);
}

}  // namespace
