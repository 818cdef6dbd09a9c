// A software 3D device for the character tests: an AnimDevice with its own
// small screen, a Device3D over it and a texture folder with a checker.
#pragma once

#include "character/AnimDevice.h"
#include "character/Camera.h"
#include "character/Device3D.h"
#include "character/DirectXErrorText.h"
#include "character/TextureImage.h"
#include "character/Viewport3D.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace tova_test {

// A two-colour checker of 8 x 8 pixels in 2 x 2 cells, as a 24-bit BMP.
inline std::string CheckerBmp() {
    std::vector<uint8_t> rgb;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool dark = (x / 2 + y / 2) % 2;
            rgb.insert(rgb.end(), {uint8_t(dark ? 40 : 240), uint8_t(dark ? 90 : 220), uint8_t(dark ? 160 : 120)});
        }
    return WriteBmp24(8, 8, rgb.data());
}

struct Device3DFixture {
    TempFolder folder;
    AnimDevice anim;
    Device3D device;

    explicit Device3DFixture(int32_t width = 64, int32_t height = 64) {
        folder.Write("Textures/checker.bmp", CheckerBmp());
        folder.Write("Textures/broken.bmp", "BM not really");
        EXPECT_EQ(anim.InitOwn(nullptr, false, false, width, height, 16, 1), kDDDOk);
        anim.TexturePath() = cRZSearchPath((folder / "Textures").c_str());
        EXPECT_EQ(device.Init(anim), kDDDOk);
    }

    Viewport3D* MakeViewport(const cRZRect* rect = nullptr) {
        Viewport3D* viewport = nullptr;
        EXPECT_EQ(device.CreateViewport(rect, &viewport), kDDDOk);
        return viewport;
    }

    // A viewport (the whole target when null) whose current camera stands
    // `distance` before the origin looking along +z.
    Viewport3D* SceneViewport(const cRZRect* rect = nullptr, float distance = 4.0f) {
        Viewport3D* viewport = MakeViewport(rect);
        Camera* camera = nullptr;
        EXPECT_EQ(viewport->CreateCamera({0, 0, -distance}, {0, 0, 1}, 1, 20, 0.7853982f, &camera), kDDDOk);
        EXPECT_EQ(viewport->SetCurrentCamera(camera), kDDDOk);
        camera->Release();
        return viewport;
    }

    // Clears the target to one colour and the depth to the farthest value.
    void Clear(uint16_t colour = 0) {
        anim.GetRenderTarget()->Fill(nullptr, colour);
        if (anim.GetZBuffer()) anim.GetZBuffer()->Fill(nullptr, 0xFFFF);
    }
};

}  // namespace tova_test
