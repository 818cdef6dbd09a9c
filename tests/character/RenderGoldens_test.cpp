// Pictures of the 3D layer drawn end to end: device, viewport, camera,
// lights from records, materials from the library and indexed meshes.
#include "character/Material.h"
#include "character/MeshText.h"
#include "character/RenderGroup.h"
#include "character/RenderMesh.h"
#include "Device3DFixture.h"
#include "support/GoldenImage.h"

#include <gtest/gtest.h>

#include <cstring>

using tova_test::Device3DFixture;

namespace {

constexpr int32_t kSide = 96;

RenderDIPVBMesh* MakeCube(Device3D& device, const char* material, float side) {
    auto* mesh = new RenderDIPVBMesh(device);
    Mesh3D& m = mesh->MarkChanged();
    m.SetMaterial(material);
    AddCube(m, side);
    EXPECT_EQ(mesh->BindMaterials(), kDDDOk);
    mesh->SetMode(1);
    return mesh;
}

// A square of n x n quads of side `size` in the plane z = 0, facing -z.
RenderDIPVBMesh* MakeFloor(Device3D& device, int n, float size) {
    auto* mesh = new RenderDIPVBMesh(device);
    Mesh3D& m = mesh->MarkChanged();
    m.SetMaterial("white");
    const float step = size / static_cast<float>(n), origin = -size / 2;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float x0 = origin + step * x, y0 = origin + step * y;
            const Vector3 a{x0, y0, 0}, b{x0 + step, y0, 0}, c{x0 + step, y0 + step, 0}, d{x0, y0 + step, 0};
            const MeshUV uv{0, 0};
            m.AddTriangle(a, uv, c, uv, b, uv, nullptr, true);
            m.AddTriangle(a, uv, d, uv, c, uv, nullptr, true);
        }
    m.ComputeNormals();
    EXPECT_EQ(mesh->BindMaterials(), kDDDOk);
    mesh->SetMode(1);
    return mesh;
}

LightRecord Directional(float x, float y, float z, float r, float g, float b) {
    LightRecord l;
    l.type = static_cast<int32_t>(LightRecordType::Directional);
    l.direction[0] = x, l.direction[1] = y, l.direction[2] = z;
    l.color[0] = r, l.color[1] = g, l.color[2] = b;
    return l;
}

LightRecord Ambient(float level) {
    LightRecord l;
    l.color[0] = l.color[1] = l.color[2] = level;
    return l;
}

const Transform kTurn = MultiplyTransforms(MakeRotationMatrix(1, 0.6f), MakeRotationMatrix(0, -0.5f));

::testing::AssertionResult Matches(Device3DFixture& f, const char* name) {
    return tova_test::MatchesGolden(platform::ImageFromSurface(*f.anim.GetRenderTarget()),
                                    std::string("character/golden/") + name);
}

}  // namespace

TEST(RenderGoldens, TexturedCubeUnderThreeLights) {
    Device3DFixture f(kSide, kSide);
    Viewport3D* viewport = f.SceneViewport(nullptr, 5);
    ASSERT_EQ(viewport->SetLights({Directional(0.6f, -0.8f, 0.5f, 0.9f, 0.85f, 0.75f),
                                   Directional(-0.9f, -0.2f, 0.6f, 0.3f, 0.4f, 0.7f),
                                   Directional(0.1f, 0.7f, 0.9f, 0.4f, 0.3f, 0.2f), Ambient(0.15f)}),
              kDDDOk);
    EXPECT_EQ(viewport->LightCount(), 3u);
    RenderDIPVBMesh* cube = MakeCube(f.device, "checker", 2);
    cube->SetTransform(kTurn);
    f.Clear(0x18E7);
    ASSERT_EQ(viewport->BeginScene(true), kDDDOk);
    ASSERT_EQ(cube->Render(*viewport, 0), kDDDOk);
    ASSERT_EQ(viewport->EndScene(), kDDDOk);
    EXPECT_FALSE(IsEmptyScreenRect(cube->ScreenRect()));
    EXPECT_TRUE(Matches(f, "cube_three_lights.png"));
    cube->Release();
}

TEST(RenderGoldens, SpotAndPointLightOnAFloor) {
    Device3DFixture f(kSide, kSide);
    Viewport3D* viewport = f.SceneViewport(nullptr, 5);
    LightRecord spot;
    spot.type = static_cast<int32_t>(LightRecordType::Spot);
    spot.position[0] = -0.8f, spot.position[1] = 0.6f, spot.position[2] = -2.5f;
    spot.direction[0] = 0, spot.direction[1] = 0, spot.direction[2] = 1;
    spot.color[0] = 1, spot.color[1] = 0.9f, spot.color[2] = 0.5f;
    spot.innerAngle = 25, spot.outerAngle = 40;
    LightRecord point;
    point.type = static_cast<int32_t>(LightRecordType::Point);
    point.position[0] = 1.2f, point.position[1] = -1.0f, point.position[2] = -0.6f;
    point.color[0] = 0.3f, point.color[1] = 0.5f, point.color[2] = 1;
    ASSERT_EQ(viewport->SetLights({spot, point, Ambient(0.08f)}), kDDDOk);
    RenderDIPVBMesh* floor = MakeFloor(f.device, 16, 3.6f);
    f.Clear();
    ASSERT_EQ(viewport->BeginScene(true), kDDDOk);
    ASSERT_EQ(floor->Render(*viewport, 0), kDDDOk);
    EXPECT_TRUE(Matches(f, "spot_and_point.png"));
    floor->Release();
}

TEST(RenderGoldens, GroupWithAChildOutsideTheView) {
    Device3DFixture f(kSide, kSide);
    Viewport3D* viewport = f.SceneViewport(nullptr, 5);
    ASSERT_EQ(viewport->SetLights({Directional(0.5f, -0.7f, 0.6f, 1, 1, 1), Ambient(0.2f)}), kDDDOk);
    RenderDIPVBMesh* near = MakeCube(f.device, "Jeans", 1);
    RenderDIPVBMesh* far = MakeCube(f.device, "red", 1);
    near->SetTransform(MultiplyTransforms(kTurn, MakeTranslationTransform({-0.6f, 0, 0})));
    far->SetTransform(MakeTranslationTransform({12, 0, 0}));
    auto* group = new VitaRenderGroup;
    ASSERT_EQ(group->AddChild(near), kDDDOk);
    ASSERT_EQ(group->AddChild(far), kDDDOk);
    group->SetTransform(MakeTranslationTransform({0.4f, 0.2f, 0}));
    f.Clear(0x2104);
    ASSERT_EQ(viewport->BeginScene(true), kDDDOk);
    ASSERT_EQ(group->Render(*viewport, 0), kDDDOk);
    EXPECT_TRUE(IsEmptyScreenRect(far->ScreenRect()));
    EXPECT_EQ(group->ScreenRect().left, near->ScreenRect().left);
    EXPECT_TRUE(Matches(f, "group_child_outside.png"));
    group->Release();
    near->Release();
    far->Release();
}

TEST(RenderGoldens, ModeTwoBlendedOverAnOpaqueCube) {
    Device3DFixture f(kSide, kSide);
    Viewport3D* viewport = f.SceneViewport(nullptr, 5);
    ASSERT_EQ(viewport->SetLights({Directional(0.3f, -0.6f, 0.8f, 1, 1, 1), Ambient(0.25f)}), kDDDOk);
    RenderDIPVBMesh* back = MakeCube(f.device, "yellow", 1.6f);
    back->SetTransform(MultiplyTransforms(kTurn, MakeTranslationTransform({0.5f, 0.3f, 1.5f})));
    RenderDIPVBMesh* front = MakeCube(f.device, "checker", 1.2f);
    front->SetTransform(MultiplyTransforms(MakeRotationMatrix(1, -0.4f), MakeTranslationTransform({-0.5f, -0.3f, 0})));
    front->SetMode(2);
    front->SetBlended(true);
    f.Clear(0x0010);
    ASSERT_EQ(viewport->BeginScene(true), kDDDOk);
    ASSERT_EQ(back->Render(*viewport, 0), kDDDOk);
    ASSERT_EQ(front->Render(*viewport, 0), kDDDOk);
    EXPECT_TRUE(Matches(f, "mode2_blended.png"));
    back->Release();
    front->Release();
}
