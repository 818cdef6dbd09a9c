#include "character/DirectXErrorText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(GetDirectXErrorText, Rows) {
    const struct {
        uint32_t code;
        const char* text;
    } rows[] = {
        {0, "No error."},
        {0x12345678, "Unrecognized error value."},
        {0x80004005, "Generic failure."},
        {0x80070057, "One or more of the parameters passed to the function are incorrect."},
        {0x887601AE, "Access to this surface is being refused because the surface is already locked by another thread."},
        {0x88760313, "The file was not found."},
        {0x8004027C, "VFW_E_DDRAW_VERSION_NOT_SUITABLE "},
        {0x9B0B0001, "Out of memory"},
        {0x9B0B0005, "RenderRef type problem:  check your types"},
        {0x9B0B0006, "Bad header in PPM file"},
        {0x9B0B0017, "DDD_UNKNOWN_FILE_VERSION_ERROR"},
        {0x9B0B0019, "DDD_PALETTE_BURST_ERROR"},
        {0x9B0B001E, "DDD_ERR_NO_SUCH_DEVICE: No device for this width, height, bitdepth combo"},
        {0x9B0C0001, "BodyPart ID not found, or unknown"},
        // Layer codes without a row of their own.
        {0x9B0B001B, "Unrecognized error value."},
        {0x9B0B001C, "Unrecognized error value."},
        {0x9B0B001D, "Unrecognized error value."},
        {0x9B0B001F, "Unrecognized error value."},
        {0x9B0B0020, "Unrecognized error value."},
        {0x9B0D0010, "Unrecognized error value."},
        {0x9B0D0012, "Unrecognized error value."},
        {0x9B0D0017, "Unrecognized error value."},
    };
    for (const auto& row : rows) EXPECT_STREQ(GetDirectXErrorText(row.code), row.text) << std::hex << row.code;
}

TEST(GetDirectXErrorText, EveryOwnDeviceCodeUpToTheMissingOnesHasText) {
    for (uint32_t code = 0x9B0B0001; code <= 0x9B0B001A; ++code)
        EXPECT_STRNE(GetDirectXErrorText(code), "Unrecognized error value.") << std::hex << code;
}

TEST(GetDirectXErrorText, OutOfMemoryCodesShareTheirText) {
    EXPECT_EQ(std::string(GetDirectXErrorText(0x8876017C)), GetDirectXErrorText(0x8007000E));
    EXPECT_STREQ(GetDirectXErrorText(0x8007000E), "DirectDraw does not have enough memory to perform the operation.");
}

}  // namespace
