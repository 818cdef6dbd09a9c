#include "character/AnimDevice.h"

#include "character/DirectXErrorText.h"
#include "framework/cDataFileCatalog.h"
#include "platform/Presenter.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::Rect;

std::vector<Rect> R(std::initializer_list<Rect> rects) { return rects; }

struct Screen {
    std::unique_ptr<platform::HeadlessPresenter> presenter = platform::HeadlessPresenter::Create(64, 48, platform::PixelLayout::Rgb565);
    AnimDevice device;
    Screen() {
        EXPECT_EQ(device.InitOwn(presenter.get(), false, false, 64, 48, 16, 1), kDDDOk);
        // Set-up damages everything for two frames; let them go by.
        device.Update();
        device.Update();
        presenter->ClearLog();
    }
};

class RecordingViewports : public iAnimDeviceViewports {
public:
    std::vector<cRZRect> rects;
    int frames = 0;
    void CollectDamage(std::vector<cRZRect>& out) override { out.insert(out.end(), rects.begin(), rects.end()); }
    void EndFrame() override { ++frames; }
};

TEST(AnimDevice, SetUpOwnsSurfacesOfAtLeastFiftyAndTheSoftwareDevice) {
    AnimDevice device;
    EXPECT_EQ(device.InitOwn(nullptr, false, false, 10, 20, 16, 1), kDDDOk);
    EXPECT_TRUE(device.IsAvailable());
    EXPECT_EQ(device.ChosenDevice().name, "RGB Emulation");
    ASSERT_NE(device.GetRenderTarget(), nullptr);
    EXPECT_EQ(device.GetRenderTarget()->Width(), 50);
    EXPECT_EQ(device.GetRenderTarget()->Height(), 50);
    ASSERT_NE(device.GetZBuffer(), nullptr);
    EXPECT_EQ(device.GetZBuffer()->Width(), 50);
    EXPECT_EQ(device.GetZBuffer()->Pixel16(49, 49), 0xFFFF);
    EXPECT_EQ(device.GetSoft3D().Target(), device.GetRenderTarget());
    EXPECT_EQ(device.GetSoft3D().DepthTarget(), device.GetZBuffer());
    EXPECT_EQ(device.CreateSurfaces(80, 3, false), kDDDOk);
    EXPECT_EQ(device.GetRenderTarget()->Width(), 80);
    EXPECT_EQ(device.GetRenderTarget()->Height(), 50);
    EXPECT_EQ(device.GetZBuffer(), nullptr);
    // Our screen has 16 bits a pixel, nothing else.
    AnimDevice deep;
    EXPECT_EQ(deep.InitOwn(nullptr, false, false, 64, 48, 24, 1), kDDDNoSuchDevice);
    EXPECT_EQ(deep.LastResult(), kDDDNoSuchDevice);
}

TEST(AnimDevice, UpdatePresentsExactlyTheDamage) {
    Screen s;
    platform::Surface& target = *s.device.GetRenderTarget();
    target.Fill(nullptr, 0x1234);
    RecordingViewports viewports;
    viewports.rects = {{40, 40, 48, 44}};
    s.device.SetViewports(&viewports);
    s.device.Damage().AddRect({4, 2, 12, 10});
    s.device.Damage().AddRect({60, 30, 90, 70});  // clipped to the device
    EXPECT_EQ(s.device.Update(), kDDDOk);
    ASSERT_EQ(s.presenter->Log().size(), 1u);
    EXPECT_EQ(s.presenter->Log()[0], R({{4, 2, 12, 10}, {60, 30, 64, 48}, {40, 40, 48, 44}}));
    EXPECT_EQ(s.device.RectsPresentedLast(), 3u);
    EXPECT_EQ(viewports.frames, 1);
    // Only the damage reached the screen.
    EXPECT_EQ(s.presenter->Shown().Pixel16(5, 3), 0x1234);
    EXPECT_EQ(s.presenter->Shown().Pixel16(20, 20), 0);
    // The next frame shows the last frame's damage again, then nothing.
    viewports.rects.clear();
    s.device.Update();
    EXPECT_EQ(s.presenter->Log()[1], R({{4, 2, 12, 10}, {60, 30, 64, 48}}));
    s.device.Update();
    EXPECT_EQ(s.presenter->Log().size(), 2u);
    EXPECT_EQ(s.device.RectsPresentedLast(), 0u);
    EXPECT_EQ(s.device.FrameCount(), 5u);
}

TEST(AnimDevice, APendingMoveComesFirstAndMovesTheScreen) {
    Screen s;
    s.device.GetRenderTarget()->Fill(nullptr, 0x00FF);
    s.device.Damage().AddRect({0, 0, 8, 8});
    s.device.Update();
    s.device.Update();
    s.presenter->ClearLog();
    s.device.GetRenderTarget()->Fill(nullptr, 0);
    s.device.SetClipRect({1, 2, 3, 4});
    EXPECT_TRUE(s.device.HasClipRect());
    s.device.SetPresentRects({0, 0, 8, 8}, {16, 0, 24, 8});
    s.device.Damage().AddRect({32, 0, 36, 4});
    s.device.Update();
    EXPECT_FALSE(s.device.HasClipRect());
    ASSERT_EQ(s.presenter->Log().size(), 1u);
    EXPECT_EQ(s.presenter->Log()[0], R({{16, 0, 24, 8}, {32, 0, 36, 4}}));
    EXPECT_EQ(s.presenter->Shown().Pixel16(20, 4), 0x00FF);  // moved on the screen
}

TEST(AnimDevice, BackgroundDamageAndTheDrawCallback) {
    Screen s;
    cGZDirtyRegion background;
    background.AddRect({8, 8, 16, 16});
    s.device.SetBackground(nullptr, nullptr, &background);
    s.device.Update();
    EXPECT_TRUE(s.presenter->Log().empty());  // not in use yet
    s.device.SetBackgroundInUse(true);
    s.device.Update();
    ASSERT_EQ(s.presenter->Log().size(), 1u);
    EXPECT_EQ(s.presenter->Log()[0], R({{8, 8, 16, 16}}));
    s.device.SetBackgroundInUse(false);

    static int calls;
    static void* seen;
    calls = 0;
    int viewer = 0;
    s.device.SetDrawCallback([](void* v) { ++calls, seen = v; }, &viewer);
    s.device.Update();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, &viewer);
    EXPECT_EQ(s.presenter->Log().back(), R({{0, 0, 64, 48}}));
}

TEST(AnimDevice, TimingTestCountsPresentsInAQuarterSecond) {
    Screen s;
    uint32_t now = 1000;
    s.device.SetClock([&now] { return now += 10; });
    // Read at the start, then before every present: 24 fit below 250 ms.
    // (The device is 64 x 50: no side below 50.)
    EXPECT_EQ(s.device.TimingTest(), 24);
    ASSERT_EQ(s.presenter->Log().size(), 25u);
    EXPECT_EQ(s.presenter->Log()[0].front(), (Rect{0, 0, 64, 48}));
    EXPECT_EQ(s.presenter->Log()[5], R({{0, 0, 32, 25}, {0, 0, 32, 25}}));  // this and the last frame's
}

class FourDevices : public AnimDevice {
protected:
    std::vector<DeviceRecord> EnumerateDevices() const override {
        std::vector<DeviceRecord> d(4);
        d[0].name = "Card A";
        d[0].hardware = true;
        d[1].name = "Card B";
        d[1].hardware = true;
        d[2].name = "RGB Emulation";
        d[3].name = "Reference Rasterizer";
        return d;
    }
};

class SoftwareOnly : public FourDevices {
protected:
    std::vector<DeviceRecord> EnumerateDevices() const override {
        auto d = FourDevices::EnumerateDevices();
        d.erase(d.begin(), d.begin() + 2);
        return d;
    }
};

TEST(AnimDevice, ChooseDeviceTable) {
    const struct {
        bool fourDevices;
        bool preferHardware;
        int32_t choice;
        uint32_t code;
        const char* name;
    } cases[] = {
        {true, true, 1, kDDDOk, "Card B"},  // the later hardware device wins
        {false, true, 1, kDDDOk, "RGB Emulation"},
        {false, true, 0, kDDDDeviceNameNotFound, ""},  // "Ramp Emulation" is not there
        {false, false, 2, kDDDOk, "Reference Rasterizer"},
        {false, false, 1, kDDDOk, "RGB Emulation"},
        {false, false, 0, kDDDDeviceNameNotFound, ""},
    };
    for (const auto& c : cases) {
        std::unique_ptr<AnimDevice> device = c.fourDevices ? std::unique_ptr<AnimDevice>(new FourDevices)
                                                           : std::unique_ptr<AnimDevice>(new SoftwareOnly);
        EXPECT_EQ(device->InitOwn(nullptr, false, c.preferHardware, 64, 48, 16, c.choice), c.code) << c.name;
        if (c.code == kDDDOk) {
            EXPECT_EQ(device->ChosenDevice().name, c.name);
        }
    }
    // Our own list has the software device alone.
    AnimDevice plain;
    EXPECT_EQ(plain.InitOwn(nullptr, false, false, 64, 48, 16, 2), kDDDDeviceNameNotFound);
    EXPECT_EQ(plain.ChooseDevice(true), kDDDOk);
    ASSERT_EQ(plain.Devices().size(), 1u);
    EXPECT_EQ(plain.ChosenDevice().name, "RGB Emulation");
}

TEST(AnimDevice, ClassifyPixelFormatTable) {
    const struct {
        AnimPixelFormat format;
        int32_t kind, second;
    } cases[] = {
        {{false, true, 16, 0x7C00, 0x03E0, 0x001F}, 5, 16}, {{false, true, 16, 0xF800, 0x07E0, 0x001F}, 7, 16},
        {{false, true, 16, 0xFC00, 0x03E0, 0x001F}, 6, 16}, {{false, true, 16, 0xF800, 0x07C0, 0x003F}, 8, 16},
        {{true, false, 16, 0, 0, 0}, 10, 16},              {{true, false, 24, 0, 0, 0}, 10, 24},
        {{false, true, 32, 0xFF0000, 0xFF00, 0xFF}, 0, 0}, {{false, true, 16, 0x001F, 0x07E0, 0xF800}, 0, 0},
        {{false, false, 8, 0, 0, 0}, 0, 0},
    };
    for (const auto& c : cases) {
        int32_t second = -1;
        EXPECT_EQ(AnimDevice::ClassifyPixelFormat(c.format, &second), c.kind);
        EXPECT_EQ(second, c.second);
    }
}

TEST(AnimDevice, SharedSetUpDrawsIntoTheGivenSurfaces) {
    auto target = platform::Surface::Create(80, 60, platform::PixelLayout::Rgb565);
    auto depth = platform::Surface::Create(80, 60, platform::PixelLayout::Depth16);
    AnimDevice device;
    EXPECT_EQ(device.InitShared(nullptr, target.get(), depth.get(), 80, 60, 16, false, false, nullptr, 1, 16), kDDDOk);
    EXPECT_EQ(device.GetRenderTarget(), target.get());
    EXPECT_EQ(device.GetZBuffer(), depth.get());
    EXPECT_EQ(device.GetSoft3D().Target(), target.get());
    AnimDevice made;
    EXPECT_EQ(made.InitShared(nullptr, target.get(), nullptr, 80, 60, 16, false, false, nullptr, 1, 16), kDDDOk);
    ASSERT_NE(made.GetZBuffer(), nullptr);
    EXPECT_EQ(made.GetZBuffer()->Pixel16(0, 0), 0xFFFF);
    auto small = platform::Surface::Create(8, 8, platform::PixelLayout::Depth16);
    EXPECT_EQ(made.InitShared(nullptr, target.get(), small.get(), 80, 60, 16, false, false, nullptr, 1, 16),
              kDDDBadParameter);
    EXPECT_EQ(made.InitShared(nullptr, nullptr, nullptr, 80, 60, 16, false, false, nullptr, 1, 16), kDDDNullPointer);
}

TEST(AnimDevice, LoadsTextureImagesByNameFromTheSearchPath) {
    tova_test::TempFolder t;
    const TexturePalette palette{{255, 0, 0}, {0, 0, 255}};
    const uint8_t indices[4] = {0, 1, 1, 0};
    const uint8_t rgb[12] = {255, 255, 255, 0, 0, 0, 0, 0, 0, 255, 255, 255};
    t.Write("Textures/Check.BMP", WriteBmp8(2, 2, indices, palette));
    t.Write("Textures/grey.ppm", WritePpm(2, 2, rgb));
    t.Write("Textures/bad.bmp", "GIF89a" + std::string(60, '\0'));
    t.Write("Textures/other.tga", "whatever");
    AnimDevice device;
    ASSERT_EQ(device.InitOwn(nullptr, false, false, 64, 48, 16, 1), kDDDOk);
    device.TexturePath() = cRZSearchPath((t / "Textures").c_str());
    TextureImage image;
    ASSERT_EQ(device.LoadTextureImage(image, "check", TexturePixelFormat::Rgb565()), kDDDOk);
    EXPECT_EQ(image.surface->Pixel16(0, 0), 0xF800);
    EXPECT_EQ(image.surface->Pixel16(1, 0), 0x001F);
    ASSERT_EQ(device.LoadTextureImage(image, "grey", TexturePixelFormat::Rgb565()), kDDDOk);
    EXPECT_EQ(image.surface->Pixel16(0, 0), 0xFFFF);
    EXPECT_EQ(device.LoadTextureImage(image, "bad", TexturePixelFormat::Rgb565()), kDDDUnknownFileVersion);
    EXPECT_EQ(device.LoadTextureImage(image, "missing", TexturePixelFormat::Rgb565()), kDDDBitmapNotFound);
    EXPECT_EQ(device.LastResult(), kDDDBitmapNotFound);
    // A sub-type the device cannot read.
    GetDataFileCatalog().AddSubType(MakeTypeCode("IMAG"), MakeTypeCode("TGA"));
    EXPECT_EQ(device.LoadTextureImage(image, "other", TexturePixelFormat::Rgb565()), kDDDImageKindNotReadable);
    // An indexed load is re-mapped to a given palette.
    const TexturePalette mono{{0, 0, 0}, {0, 0, 250}};
    ASSERT_EQ(device.LoadTextureImage(image, "check", TexturePixelFormat::Indexed8(), &mono), kDDDOk);
    EXPECT_EQ(image.palette, mono);
    EXPECT_EQ(image.surface->Pixel8(0, 0), 0);
    EXPECT_EQ(image.surface->Pixel8(1, 0), 1);
}

}  // namespace
