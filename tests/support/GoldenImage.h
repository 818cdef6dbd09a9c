// Golden pictures: a test renders a picture and compares it with a reference
// PNG checked in under tests/<folder>/golden/. Run the tests with
// TOVA_BLESS=1 to write (re-bless) the references from what is rendered now;
// the test then passes and the new PNG shows up in `git diff`.
#pragma once

#include "platform/PngFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

namespace tova_test {

// `relative` is the reference's path below tests/, e.g.
// "platform/golden/pattern.png".
inline ::testing::AssertionResult MatchesGolden(const platform::Image& image, const std::string& relative) {
    const std::filesystem::path path = std::filesystem::path(TOVA_SOURCE_DIR) / "tests" / relative;
    const char* bless = std::getenv("TOVA_BLESS");
    if (bless && std::string(bless) == "1") {
        std::filesystem::create_directories(path.parent_path());
        std::string error;
        if (!platform::WritePngFile(path.string(), image, &error))
            return ::testing::AssertionFailure() << "could not bless " << path << ": " << error;
        return ::testing::AssertionSuccess();
    }
    std::string error;
    auto golden = platform::ReadPngFile(path.string(), &error);
    if (!golden)
        return ::testing::AssertionFailure() << "no reference picture (" << error << "); run with TOVA_BLESS=1 to make it";
    if (golden->width != image.width || golden->height != image.height)
        return ::testing::AssertionFailure() << "size " << image.width << "x" << image.height << " differs from the reference's "
                                             << golden->width << "x" << golden->height;
    size_t differing = 0;
    int firstX = -1, firstY = -1;
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x) {
            const uint8_t* a = image.At(x, y);
            const uint8_t* b = golden->At(x, y);
            bool same = a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
            if (same && image.channels == 4 && golden->channels == 4) same = a[3] == b[3];
            if (!same && differing++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    if (differing == 0) return ::testing::AssertionSuccess();
    // Keep what was rendered next to the build for a look.
    const std::string actual = std::filesystem::path(relative).filename().replace_extension(".actual.png").string();
    platform::WritePngFile(actual, image);
    return ::testing::AssertionFailure() << differing << " pixels differ from " << path << ", the first at (" << firstX
                                         << ", " << firstY << "); rendered picture written to " << actual;
}

}  // namespace tova_test
