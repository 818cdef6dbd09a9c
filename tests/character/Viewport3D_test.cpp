#include "character/Viewport3D.h"

#include "character/Camera.h"
#include "character/DirectXErrorText.h"
#include "character/Light.h"
#include "character/Material.h"
#include "Device3DFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

bool Same(const Transform& a, const Transform& b) { return std::memcmp(a.m, b.m, sizeof a.m) == 0; }

}  // namespace

TEST(Viewport3D, SetupMakesTheDefaultCameraCurrent) {
    Viewport3D viewport;
    ASSERT_EQ(viewport.Setup({0, 0, 200, 100}), kDDDOk);
    Camera* camera = viewport.GetDefaultCamera();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(viewport.GetCurrentCamera(), camera);
    EXPECT_EQ(viewport.CameraCount(), 1u);
    EXPECT_EQ(camera->Position(), kDefaultCameraPosition);
    EXPECT_EQ(camera->Front(), 10.0f);
    EXPECT_EQ(camera->Back(), 200.0f);
    EXPECT_TRUE(Same(viewport.ViewTransform(), camera->InversePlacement()));
    EXPECT_TRUE(Same(viewport.ProjectionTransform(), camera->Projection(2.0f)));
    EXPECT_EQ(viewport.ProjectionTransform().m[1][1], 2.0f * viewport.ProjectionTransform().m[0][0]);
    EXPECT_TRUE(Same(viewport.WorldTransform(), kIdentityTransform));
}

TEST(Viewport3D, SeventeenthLightIsRefusedAndSixteenKept) {
    Viewport3D viewport;
    ASSERT_EQ(viewport.Setup({0, 0, 64, 64}), kDDDOk);
    std::vector<Light*> lights;
    for (int i = 0; i < 17; ++i) lights.push_back(new PointLight);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(viewport.AddLight(lights[i]), kDDDOk);
    EXPECT_EQ(viewport.AddLight(lights[16]), kDDDLightTableFull);
    EXPECT_EQ(viewport.LightCount(), 16u);
    EXPECT_EQ(lights[0]->RefCount(), 2);
    EXPECT_EQ(lights[16]->RefCount(), 1);
    EXPECT_EQ(viewport.RemoveLight(lights[16]), kDDDLightNotInViewport);
    EXPECT_EQ(viewport.RemoveLight(lights[3]), kDDDOk);
    EXPECT_EQ(viewport.LightCount(), 15u);
    EXPECT_EQ(viewport.GetLight(3), lights[4]);  // the table closes up
    EXPECT_EQ(lights[3]->RefCount(), 1);
    EXPECT_EQ(viewport.AddLight(lights[16]), kDDDOk);
    for (Light* light : lights) light->Release();  // the viewport still holds sixteen
    EXPECT_EQ(viewport.GetLight(0)->RefCount(), 1);
    viewport.RemoveAllLights();
    EXPECT_EQ(viewport.LightCount(), 0u);
}

TEST(Viewport3D, CameraTableOfFiveWithTheDefaultRefusesWhenFull) {
    Viewport3D viewport;
    ASSERT_EQ(viewport.Setup({0, 0, 64, 64}), kDDDOk);
    std::vector<Camera*> made;
    for (int i = 0; i < 4; ++i) {
        Camera* camera = nullptr;
        ASSERT_EQ(viewport.CreateCamera({0, 0, float(i)}, {0, 0, 1}, 1, 50, 1, &camera), kDDDOk);
        EXPECT_EQ(camera->RefCount(), 2);
        made.push_back(camera);
    }
    Camera* extra = reinterpret_cast<Camera*>(1);
    EXPECT_EQ(viewport.CreateCamera({}, {0, 0, 1}, 1, 50, 1, &extra), kDDDOutOfMemory);
    EXPECT_EQ(extra, nullptr);
    EXPECT_EQ(viewport.CameraCount(), 5u);
    EXPECT_EQ(viewport.CreateCamera({}, {0, 0, 0}, 1, 50, 1, &extra), kDDDOutOfMemory);
    ASSERT_EQ(viewport.ReleaseCamera(made[0]), kDDDOk);
    made[0]->Release();
    EXPECT_EQ(viewport.CreateCamera({}, {0, 0, 0}, 1, 50, 1, &extra), kDDDBadParameter);
    EXPECT_EQ(viewport.CameraCount(), 4u);
    for (size_t i = 1; i < made.size(); ++i) made[i]->Release();  // the table keeps them
    EXPECT_EQ(viewport.CameraCount(), 4u);
    EXPECT_EQ(made[1]->RefCount(), 1);
}

TEST(Viewport3D, OnlyTheCurrentCameraMovesTheTransforms) {
    Viewport3D viewport;
    ASSERT_EQ(viewport.Setup({0, 0, 100, 50}), kDDDOk);
    Camera* camera = nullptr;
    ASSERT_EQ(viewport.CreateCamera({0, 0, -50}, {0, 0, 1}, 1, 100, 1, &camera), kDDDOk);
    const Transform view = viewport.ViewTransform();
    ASSERT_EQ(camera->Place({0, 0, -80}, {0, 0, 1}), kDDDOk);  // not current yet
    EXPECT_TRUE(Same(viewport.ViewTransform(), view));
    ASSERT_EQ(viewport.SetCurrentCamera(camera), kDDDOk);
    EXPECT_TRUE(Same(viewport.ViewTransform(), camera->InversePlacement()));
    EXPECT_TRUE(Same(viewport.ProjectionTransform(), camera->Projection(2.0f)));
    ASSERT_EQ(camera->Place({0, 0, -20}, {0, 0, 1}), kDDDOk);
    EXPECT_NEAR(TransformPoint3({0, 0, 0}, viewport.ViewTransform()).z, 20.0f, 1e-5);
    ASSERT_EQ(camera->SetProjection(2, 300, 0.5f), kDDDOk);
    EXPECT_TRUE(Same(viewport.ProjectionTransform(), camera->Projection(2.0f)));

    Viewport3D other;
    ASSERT_EQ(other.Setup({0, 0, 10, 10}), kDDDOk);
    EXPECT_EQ(other.SetCurrentCamera(camera), kDDDBadParameter);

    // Releasing the current camera hands over to the default one; the
    // creator's reference keeps it alive, detached from the viewport.
    ASSERT_EQ(viewport.ReleaseCamera(camera), kDDDOk);
    EXPECT_EQ(viewport.GetCurrentCamera(), viewport.GetDefaultCamera());
    EXPECT_TRUE(Same(viewport.ViewTransform(), viewport.GetDefaultCamera()->InversePlacement()));
    EXPECT_EQ(camera->GetViewport(), nullptr);
    EXPECT_EQ(camera->Place({1, 1, 1}, {0, 0, 1}), kDDDOk);
    EXPECT_EQ(viewport.ReleaseCamera(camera), kDDDBadParameter);
    camera->Release();
}

TEST(Viewport3D, CamerasOutliveTheirViewportOnlyThroughTheirCreators) {
    Camera* camera = nullptr;
    {
        Viewport3D viewport;
        ASSERT_EQ(viewport.Setup({0, 0, 10, 10}), kDDDOk);
        ASSERT_EQ(viewport.CreateCamera({}, {1, 0, 0}, 1, 10, 1, &camera), kDDDOk);
    }
    EXPECT_EQ(camera->GetViewport(), nullptr);
    EXPECT_EQ(camera->RefCount(), 1);
    EXPECT_EQ(camera->SetProjection(1, 20, 1), kDDDOk);
    camera->Release();
}

TEST(Viewport3D, SetLightsFromRecords) {
    Viewport3D viewport;
    ASSERT_EQ(viewport.Setup({0, 0, 64, 64}), kDDDOk);
    auto* old = new PointLight;
    ASSERT_EQ(viewport.AddLight(old), kDDDOk);
    old->Release();

    LightRecord spot;
    spot.type = static_cast<int32_t>(LightRecordType::Spot);
    spot.position[1] = 50;
    spot.direction[0] = 0, spot.direction[1] = -2;
    spot.color[0] = 0.5f;
    spot.intensity = 2.0f;
    spot.innerAngle = 90, spot.outerAngle = 180;
    LightRecord directional;
    directional.type = static_cast<int32_t>(LightRecordType::Directional);
    LightRecord ambient;  // a new record is an ambient one
    ambient.color[0] = 1.0f, ambient.color[1] = 0.5f, ambient.color[2] = 0.0f, ambient.intensity = 1.0f;
    LightRecord unknown;
    unknown.type = 9;
    ASSERT_EQ(viewport.SetLights({spot, ambient, unknown, directional}), kDDDOk);
    ASSERT_EQ(viewport.LightCount(), 2u);
    const Light& first = *viewport.GetLight(0);
    EXPECT_EQ(first.GetKind(), Light::Kind::Spot);
    EXPECT_EQ(first.RefCount(), 1);
    EXPECT_EQ(first.Position(), (Vector3{0, 50, 0}));
    EXPECT_EQ(first.Direction(), (Vector3{0, -1, 0}));
    EXPECT_EQ(first.Block().color.r, 1.0f);
    EXPECT_NEAR(first.Block().theta, 3.14159265f / 2, 1e-6);
    EXPECT_NEAR(first.Block().phi, 3.14159265f, 1e-6);
    EXPECT_EQ(first.Block().falloff, 0.0f);
    EXPECT_EQ(viewport.GetLight(1)->GetKind(), Light::Kind::Directional);
    EXPECT_EQ(viewport.GetAmbientRGBA(), 0xFFFF7F00u);

    std::vector<LightRecord> many(17, directional);
    EXPECT_EQ(viewport.SetLights(many), kDDDLightTableFull);
    EXPECT_EQ(viewport.LightCount(), 16u);
    viewport.SetAmbientColor(2.0f, -1.0f, NAN, 0.0f);
    EXPECT_EQ(viewport.GetAmbientRGBA(), 0x00FF0000u);
}

TEST(Viewport3D, SetupFillsTheDataBlockStateAndBackground) {
    Viewport3D viewport;
    ASSERT_EQ(viewport.Setup({10, 20, 110, 70}), kDDDOk);
    const ViewportData& d = viewport.Data();
    EXPECT_EQ(d.size, 44u);
    EXPECT_EQ(d.x, 10);
    EXPECT_EQ(d.y, 20);
    EXPECT_EQ(d.width, 100);
    EXPECT_EQ(d.height, 50);
    EXPECT_EQ(d.scaleX, 50.0f);
    EXPECT_EQ(d.scaleY, 25.0f);
    EXPECT_EQ(viewport.GetRenderState(), ViewportRenderState{});
    EXPECT_EQ(viewport.GetRenderState().shadeMode, 2);
    EXPECT_EQ(viewport.GetRenderState().fogEnd, 11.0f);
    ASSERT_NE(viewport.GetBackgroundMaterial(), nullptr);
    EXPECT_EQ(viewport.GetBackgroundMaterial()->Description().power, 20.0f);
    viewport.SetBackgroundColor(76 / 255.0f, 130 / 255.0f, 35 / 255.0f, 1);
    EXPECT_EQ(viewport.GetBackgroundMaterial()->Description().diffuse.g, 130 / 255.0f);
    EXPECT_EQ(viewport.GetBackgroundMaterial()->Description().ambient.b, 0.5f);
    ASSERT_EQ(viewport.GetUpdateRects().Count(), 1u);
    EXPECT_EQ(viewport.GetUpdateRects()[0].right, 112);  // widened to a multiple of 4
    EXPECT_EQ(viewport.GetClearRects().Count(), 1u);

    ASSERT_EQ(viewport.SetSize(40, 30), kDDDOk);
    EXPECT_EQ(viewport.ScreenRect().left, 10);
    EXPECT_EQ(viewport.ScreenRect().bottom, 50);
    EXPECT_EQ(viewport.Data().scaleY, 15.0f);
    EXPECT_EQ(viewport.SetSize(-1, 3), kDDDBadParameter);
}

TEST(Viewport3D, TransformStackAndScreenTransform) {
    Viewport3D viewport;
    ASSERT_EQ(viewport.Setup({8, 4, 72, 36}), kDDDOk);
    EXPECT_EQ(viewport.TransformDepth(), 1u);
    const Transform a = MakeTranslationTransform({1, 2, 3});
    Transform b = MakeRotationMatrix(2, 1.5707964f);
    viewport.PushTransform(b);
    viewport.PushTransform(a);  // a, then b
    EXPECT_EQ(viewport.TransformDepth(), 3u);
    const Vector3 p = TransformPoint3({1, 0, 0}, viewport.WorldTransform());
    EXPECT_NEAR(p.x, -2, 1e-5);
    EXPECT_NEAR(p.y, 2, 1e-5);
    EXPECT_NEAR(p.z, 3, 1e-5);
    viewport.PopTransform();
    EXPECT_TRUE(Same(viewport.WorldTransform(), b));
    viewport.PopTransform();
    viewport.PopTransform();  // the bottom entry stays
    EXPECT_EQ(viewport.TransformDepth(), 1u);
    EXPECT_TRUE(Same(viewport.WorldTransform(), kIdentityTransform));

    // Clip-space corners land on the viewport's pixel corners, y down.
    const Transform s = viewport.ScreenTransform();
    const Vector4 topLeft = TransformPoint4({-1, 1, 0.5f, 1}, s);
    const Vector4 bottomRight = TransformPoint4({1, -1, 0.5f, 1}, s);
    EXPECT_EQ(topLeft.x, 8.0f);
    EXPECT_EQ(topLeft.y, 4.0f);
    EXPECT_EQ(bottomRight.x, 72.0f);
    EXPECT_EQ(bottomRight.y, 36.0f);
    EXPECT_EQ(topLeft.z, 0.0f);
}

TEST(Viewport3D, UnchangedRenderStateSendsNothing) {
    tova_test::Device3DFixture f;
    Viewport3D* viewport = f.MakeViewport();
    const uint32_t sent = f.device.RenderStateSends();
    EXPECT_EQ(sent, 1u);  // the set-up's defaults
    ViewportRenderState state = viewport->GetRenderState();
    viewport->SetRenderState(state);
    ASSERT_EQ(viewport->BeginScene(true), kDDDOk);
    EXPECT_EQ(f.device.RenderStateSends(), sent);
    state.zEnable = false;
    viewport->SetRenderState(state);
    viewport->ApplyRenderState();
    EXPECT_EQ(f.device.RenderStateSends(), sent + 1);
    viewport->ApplyRenderState();
    EXPECT_EQ(f.device.RenderStateSends(), sent + 1);
    viewport->ResetRenderState();
    viewport->ApplyRenderState();
    EXPECT_EQ(f.device.RenderStateSends(), sent + 2);
    EXPECT_EQ(viewport->EndScene(), kDDDOk);
    EXPECT_FALSE(viewport->InScene());
}

TEST(Viewport3D, BeginSceneOnALostSurfaceRestoresAndTriesAgain) {
    tova_test::Device3DFixture f;
    Viewport3D* viewport = f.MakeViewport();
    f.anim.GetRenderTarget()->MarkLost();
    ASSERT_EQ(viewport->BeginScene(true), kDDDOk);
    EXPECT_FALSE(f.anim.GetRenderTarget()->IsLost());
    EXPECT_TRUE(viewport->InScene());

    // A surface that stays lost fails the second attempt too.
    auto color = platform::Surface::Create(64, 64, platform::PixelLayout::Rgb565);
    ASSERT_EQ(f.device.SetRenderTarget(color.get(), nullptr), kDDDOk);
    color->MarkLost();
    color->SetRestoreCallback([&] { color->MarkLost(); });
    EXPECT_EQ(viewport->BeginScene(false), Viewport3D::kSurfaceLost);
    EXPECT_EQ(viewport->LastResult(), Viewport3D::kSurfaceLost);
}
