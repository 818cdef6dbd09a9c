#include "character/Device3D.h"

#include "character/Light.h"
#include "character/Material.h"
#include "character/MaterialLibrary.h"
#include "character/TextureCache.h"
#include "Device3DFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tova_test::Device3DFixture;

TEST(Device3D, ViewportTableOfTwelveRefusesTheThirteenth) {
    Device3DFixture f;
    std::vector<Viewport3D*> made;
    for (size_t i = 0; i < Device3D::kMaxViewports; ++i) made.push_back(f.MakeViewport());
    EXPECT_EQ(made[0]->ScreenRect().right, 64);
    EXPECT_EQ(made[0]->GetDevice(), &f.device);
    Viewport3D* extra = reinterpret_cast<Viewport3D*>(1);
    EXPECT_EQ(f.device.CreateViewport(nullptr, &extra), kDDDOutOfMemory);
    EXPECT_EQ(extra, nullptr);
    EXPECT_EQ(f.device.ViewportCount(), 12u);

    Viewport3D stranger;
    f.device.DeleteViewport(&stranger);  // not the device's: ignored
    EXPECT_EQ(f.device.ViewportCount(), 12u);
    f.device.DeleteViewport(made[3]);
    EXPECT_EQ(f.device.ViewportCount(), 11u);
    EXPECT_EQ(f.device.GetViewport(3), made[4]);
    delete made[5];  // not through the device: it still leaves the table
    EXPECT_EQ(f.device.ViewportCount(), 10u);
    const cRZRect part{8, 4, 40, 20};
    EXPECT_EQ(f.device.CreateViewport(&part, &extra), kDDDOk);
    EXPECT_EQ(extra->ScreenRect().left, 8);
    EXPECT_EQ(extra->Data().width, 32);
}

TEST(Device3D, ThirtyThirdLightTakesTheSlotOfOneOnlyTheTableHolds) {
    Device3DFixture f;
    std::vector<Light*> lights;
    for (size_t i = 0; i < Device3D::kMaxLights; ++i) {
        Light* light = nullptr;
        ASSERT_EQ(f.device.CreatePointLight(&light, false), kDDDOk);
        EXPECT_EQ(light->RefCount(), 2);
        lights.push_back(light);
    }
    // Every light still held by its creator: no room.
    Light* extra = nullptr;
    EXPECT_EQ(f.device.CreateDirectionalLight(&extra, false), kDDDOutOfMemory);
    EXPECT_EQ(extra, nullptr);
    EXPECT_EQ(f.device.LightCount(), 32u);

    lights[5]->Release();
    lights[9]->Release();
    ASSERT_EQ(f.device.CreateSpotLight(&extra, false), kDDDOk);
    EXPECT_EQ(f.device.LightCount(), 32u);
    EXPECT_EQ(f.device.GetLight(31), extra);
    EXPECT_EQ(f.device.GetLight(5), lights[6]);  // the first unused one left
    EXPECT_EQ(f.device.GetLight(8), lights[9]);  // the second stays
    EXPECT_EQ(extra->GetKind(), Light::Kind::Spot);
    for (size_t i = 0; i < lights.size(); ++i)
        if (i != 5 && i != 9) lights[i]->Release();
    extra->Release();
}

TEST(Device3D, LightsAddedToEveryViewportOrNone) {
    Device3DFixture f;
    Viewport3D* a = f.MakeViewport();
    Viewport3D* b = f.MakeViewport();
    Light* light = nullptr;
    ASSERT_EQ(f.device.CreateParallelPointLight(&light, true), kDDDOk);
    EXPECT_TRUE(a->HasLight(light));
    EXPECT_TRUE(b->HasLight(light));
    EXPECT_EQ(light->RefCount(), 4);
    light->Release();

    // b full: the new light is refused everywhere and gone.
    for (int i = 0; i < 15; ++i) {
        auto* filler = new PointLight;
        ASSERT_EQ(b->AddLight(filler), kDDDOk);
        filler->Release();
    }
    const size_t before = f.device.LightCount();
    Light* refused = reinterpret_cast<Light*>(1);
    EXPECT_EQ(f.device.CreateDirectionalLight(&refused, true), kDDDLightTableFull);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(a->LightCount(), 1u);
    EXPECT_EQ(f.device.LightCount(), before);
}

TEST(Device3D, SlowRenderTargetSwitchWritesOneDebugLine) {
    Device3DFixture f;
    std::vector<std::string> lines;
    f.device.SetDebugOutput([&](const std::string& text) { lines.push_back(text); });
    uint32_t now = 1000, step = 0;
    f.device.SetClock([&] {
        const uint32_t t = now;
        now += step;
        return t;
    });
    auto color = platform::Surface::Create(32, 16, platform::PixelLayout::Rgb565);
    auto depth = platform::Surface::Create(32, 16, platform::PixelLayout::Depth16);
    step = 600;
    ASSERT_EQ(f.device.SetRenderTarget(color.get(), depth.get()), kDDDOk);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Changing D3DRenderTarget took 600ms\n");
    EXPECT_EQ(f.device.Width(), 32);
    EXPECT_EQ(f.device.Height(), 16);
    EXPECT_EQ(f.device.Soft3D().Target(), color.get());
    step = 400;
    ASSERT_EQ(f.device.SetRenderTarget(f.anim.GetRenderTarget(), f.anim.GetZBuffer()), kDDDOk);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(f.device.Width(), 64);

    // A depth surface of another size is refused and nothing changes.
    auto odd = platform::Surface::Create(8, 8, platform::PixelLayout::Depth16);
    EXPECT_EQ(f.device.SetRenderTarget(color.get(), odd.get()), kDDDUnknownPixelFormat);
    EXPECT_EQ(f.device.GetRenderTarget(), f.anim.GetRenderTarget());
    EXPECT_EQ(f.device.SetRenderTarget(nullptr, nullptr), kDDDNullPointer);
}

TEST(Device3D, RenderTargetSwitchAndRestoreGiveMaterialsNewHandles) {
    Device3DFixture f;
    Material* plain = nullptr;
    Material* textured = nullptr;
    ASSERT_EQ(f.device.FindMaterial("red", &plain), kDDDOk);
    ASSERT_EQ(f.device.FindMaterial("checker", &textured), kDDDOk);
    const uint32_t handle = plain->Handle();
    EXPECT_NE(handle, 0u);
    EXPECT_NE(textured->Description().textureHandle, 0u);
    ASSERT_EQ(f.device.SetRenderTarget(f.anim.GetRenderTarget(), f.anim.GetZBuffer()), kDDDOk);
    EXPECT_NE(plain->Handle(), handle);

    ASSERT_EQ(RestoreCharacterDevice(f.device), kDDDOk);
    EXPECT_TRUE(textured->HasInterfaces());
    ASSERT_NE(textured->TextureSurface(), nullptr);
    EXPECT_EQ(textured->Description().textureHandle, textured->GetTexture()->Handle());

    // A texture that can no longer be read stops the restore at the reload.
    f.folder.Write("Textures/checker.bmp", "broken now");
    EXPECT_NE(RestoreCharacterDevice(f.device), kDDDOk);
    EXPECT_FALSE(textured->HasInterfaces());
    f.device.ReleaseMaterial(plain);
    f.device.ReleaseMaterial(textured);
}

TEST(Device3D, PresentsTheViewportsRectanglesForTwoFrames) {
    Device3DFixture f;
    const cRZRect part{0, 0, 16, 16};
    Viewport3D* viewport = f.MakeViewport(&part);
    f.device.EndFrame();
    f.device.EndFrame();  // the set-up rectangle has been cleared once
    std::vector<cRZRect> rects;
    f.device.CollectDamage(rects);
    EXPECT_TRUE(rects.empty());
    viewport->AddDirtyRect({4, 4, 8, 8});
    f.device.CollectDamage(rects);
    ASSERT_EQ(rects.size(), 1u);
    f.device.EndFrame();
    rects.clear();
    f.device.CollectDamage(rects);
    ASSERT_EQ(rects.size(), 1u);  // now from the clear list
    EXPECT_EQ(viewport->GetUpdateRects().Count(), 0u);
    EXPECT_EQ(viewport->GetClearRects().Count(), 1u);
    f.device.EndFrame();
    rects.clear();
    f.device.CollectDamage(rects);
    EXPECT_TRUE(rects.empty());
}

TEST(Device3D, CallsBeforeInitAreRefused) {
    Device3D device;
    Viewport3D* viewport = nullptr;
    EXPECT_EQ(device.CreateViewport(nullptr, &viewport), kDDDNotInitialized);
    Material* material = nullptr;
    EXPECT_EQ(device.FindMaterial("red", &material), kDDDNotInitialized);
    EXPECT_EQ(device.SetRenderTarget(nullptr, nullptr), kDDDNotInitialized);
    EXPECT_EQ(RestoreCharacterDevice(device), kDDDNotInitialized);
}
