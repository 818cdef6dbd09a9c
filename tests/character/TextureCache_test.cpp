#include "character/TextureCache.h"

#include "character/AnimDevice.h"
#include "character/DirectXErrorText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

struct Fixture {
    tova_test::TempFolder folder;
    AnimDevice device;
    Fixture() {
        const uint8_t rgb[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
        folder.Write("Textures/a.ppm", WritePpm(2, 2, rgb));
        folder.Write("Textures/b.ppm", WritePpm(1, 1, rgb));
        EXPECT_EQ(device.InitOwn(nullptr, false, false, 64, 48, 16, 1), kDDDOk);
        device.TexturePath() = cRZSearchPath((folder / "Textures").c_str());
    }
};

TEST(TextureCache, TwoRequestsShareOneTextureWithTwoReferences) {
    Fixture f;
    TextureCache cache(f.device);
    Texture* first = nullptr;
    Texture* second = nullptr;
    ASSERT_EQ(cache.GetTexture("a", &first), kDDDOk);
    ASSERT_EQ(cache.GetTexture("a", &second), kDDDOk);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->RefCount(), 2);
    EXPECT_EQ(cache.Count(), 1u);
    ASSERT_NE(first->Surface(), nullptr);
    EXPECT_EQ(first->Surface()->Layout(), platform::PixelLayout::Rgb565);
    EXPECT_EQ(first->Surface()->Pixel16(1, 1), 0xFFFF);
    // Names compare exactly.
    Texture* upper = nullptr;
    ASSERT_EQ(cache.GetTexture("A", &upper), kDDDOk);
    EXPECT_NE(upper, first);
    EXPECT_EQ(cache.Count(), 2u);
    upper->Release();
    first->Release();
    EXPECT_EQ(cache.Count(), 1u);
    second->Release();  // the last reference: out of the cache and gone
    EXPECT_EQ(cache.Count(), 0u);
}

TEST(TextureCache, FailedLoadsLeaveNothingBehind) {
    Fixture f;
    TextureCache cache(f.device);
    Texture* t = reinterpret_cast<Texture*>(1);
    EXPECT_EQ(cache.GetTexture("missing", &t), kDDDBitmapNotFound);
    EXPECT_EQ(t, nullptr);
    EXPECT_EQ(cache.Count(), 0u);
    EXPECT_EQ(cache.GetTexture(nullptr, &t), kDDDNullPointer);
}

TEST(TextureCache, ReleaseReloadAndRefresh) {
    Fixture f;
    TextureCache cache(f.device);
    Texture *a = nullptr, *b = nullptr;
    ASSERT_EQ(cache.GetTexture("a", &a), kDDDOk);
    ASSERT_EQ(cache.GetTexture("b", &b), kDDDOk);
    EXPECT_NE(a->Handle(), b->Handle());
    const uint32_t before = a->Handle();
    cache.RefreshHandles();
    EXPECT_NE(a->Handle(), before);
    cache.ReleaseAll();
    EXPECT_EQ(a->Surface(), nullptr);
    EXPECT_EQ(b->Handle(), 0u);
    ASSERT_EQ(cache.ReloadAll(), kDDDOk);
    ASSERT_NE(a->Surface(), nullptr);
    EXPECT_EQ(a->Surface()->Pixel16(0, 0), 0xF800);
    EXPECT_NE(b->Handle(), 0u);
    a->Release();
    b->Release();
}

class OfferedFormats : public TextureCache {
public:
    OfferedFormats(AnimDevice& d, int32_t bits, std::vector<Format> formats)
        : TextureCache(d, bits), formats_(std::move(formats)) {}

protected:
    std::vector<Format> EnumerateFormats() const override { return formats_; }

private:
    std::vector<Format> formats_;
};

TEST(TextureCache, ChooseFormatTable) {
    Fixture f;
    auto rgb = [](int r, int g, int b) {
        TextureCache::Format x;
        x.redBits = r, x.greenBits = g, x.blueBits = b;
        return x;
    };
    TextureCache::Format p4, p8;
    p4.palettized = p8.palettized = true;
    p4.paletteBits = 4;
    p8.paletteBits = 8;
    const struct {
        int32_t display;
        std::vector<TextureCache::Format> offered;
        uint32_t code;
        int32_t chosenBits;  // red + green + blue, or -8 for the 8-bit palette
    } cases[] = {
        {16, {rgb(5, 5, 5), rgb(8, 8, 8), rgb(5, 6, 5)}, kDDDOk, 16},
        {16, {rgb(5, 5, 5), rgb(8, 8, 8)}, kDDDOk, 15},
        {32, {rgb(5, 6, 5), rgb(8, 8, 8)}, kDDDOk, 24},
        {16, {p4, rgb(5, 6, 5), p8}, kDDDOk, -8},
        {8, {rgb(5, 6, 5)}, kDDDUnknownPixelFormat, 0},
    };
    for (const auto& c : cases) {
        OfferedFormats cache(f.device, c.display, c.offered);
        EXPECT_EQ(cache.ChooseFormat(), c.code);
        if (c.code != kDDDOk) continue;
        const auto& chosen = cache.ChosenFormat();
        EXPECT_EQ(chosen.palettized ? -chosen.paletteBits : chosen.redBits + chosen.greenBits + chosen.blueBits,
                  c.chosenBits);
    }
}

}  // namespace
