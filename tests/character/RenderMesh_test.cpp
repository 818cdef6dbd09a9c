#include "character/RenderMesh.h"

#include "character/Light.h"
#include "character/Material.h"
#include "character/MaterialLibrary.h"
#include "character/MeshText.h"
#include "Device3DFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using tova_test::Device3DFixture;

namespace {

// A textured cube of side 2 at the origin, built and bound.
RenderDIPVBMesh* MakeCube(Device3D& device, const char* material = "checker") {
    auto* mesh = new RenderDIPVBMesh(device);
    Mesh3D& m = mesh->MarkChanged();
    m.SetMaterial(material);
    AddCube(m, 2);
    EXPECT_EQ(mesh->BindMaterials(), kDDDOk);
    EXPECT_FALSE(mesh->NeedsBuild());
    return mesh;
}

std::vector<LightRecord> ThreeLights() {
    std::vector<LightRecord> records(4);
    const float directions[3][3] = {{0.6f, -0.8f, 0.5f}, {-0.9f, -0.2f, 0.6f}, {0.1f, 0.7f, 0.9f}};
    for (int i = 0; i < 3; ++i) {
        records[i].type = static_cast<int32_t>(LightRecordType::Directional);
        std::memcpy(records[i].direction, directions[i], sizeof records[i].direction);
        records[i].color[0] = 0.9f - 0.2f * i;
        records[i].color[2] = 0.5f + 0.2f * i;
    }
    records[3].color[0] = records[3].color[1] = records[3].color[2] = 0.2f;  // ambient
    return records;
}

std::vector<uint16_t> Pixels(const platform::Surface& s) {
    std::vector<uint16_t> out;
    for (int32_t y = 0; y < s.Height(); ++y)
        for (int32_t x = 0; x < s.Width(); ++x) out.push_back(s.Pixel16(x, y));
    return out;
}

}  // namespace

TEST(RenderMesh, CubeThroughTheMeshEqualsTheSameDataSentStraightToTheDevice) {
    Device3DFixture f;
    Viewport3D* viewport = f.SceneViewport();
    ASSERT_EQ(viewport->SetLights(ThreeLights()), kDDDOk);
    RenderDIPVBMesh* cube = MakeCube(f.device);
    cube->SetMode(1);
    Transform turn = MultiplyTransforms(MakeRotationMatrix(1, 0.6f), MakeRotationMatrix(0, -0.5f));
    cube->SetTransform(turn);

    f.Clear();
    ASSERT_EQ(viewport->BeginScene(true), kDDDOk);
    ASSERT_EQ(cube->Render(*viewport, 0), kDDDOk);
    ASSERT_EQ(viewport->EndScene(), kDDDOk);
    const std::vector<uint16_t> viaMesh = Pixels(*f.anim.GetRenderTarget());
    const cRZRect rect = cube->ScreenRect();
    ASSERT_FALSE(IsEmptyScreenRect(rect));

    // The same mesh as plain vertices and indices, straight to the device.
    f.Clear();
    const Mesh3D& mesh = cube->GetMesh();
    std::vector<platform::Soft3DVertex> vertices;
    for (const MeshVertex& v : mesh.Vertices()) {
        const Vector3& p = mesh.Positions()[v.position];
        const MeshUV& uv = mesh.TexCoords()[v.texCoord];
        vertices.push_back({p.x, p.y, p.z, v.normal.x, v.normal.y, v.normal.z, uv.u, uv.v});
    }
    std::vector<uint16_t> indices;
    for (const MeshTriangle& t : mesh.Triangles())
        for (uint32_t i : t.vertex) indices.push_back(static_cast<uint16_t>(i));
    platform::Soft3DDevice& d = f.device.Soft3D();
    platform::Soft3DLight lights[16];
    for (size_t i = 0; i < viewport->LightCount(); ++i) lights[i] = viewport->GetLight(i)->Block();
    d.SetLights(lights, viewport->LightCount());
    d.SetAmbient(viewport->GetAmbientRGBA());
    platform::Soft3DMatrix world, view, projection;
    std::memcpy(world.m, turn.m, sizeof world.m);
    std::memcpy(view.m, viewport->ViewTransform().m, sizeof view.m);
    std::memcpy(projection.m, viewport->ProjectionTransform().m, sizeof projection.m);
    d.SetTransform(platform::Soft3DTransform::World, world);
    d.SetTransform(platform::Soft3DTransform::View, view);
    d.SetTransform(platform::Soft3DTransform::Projection, projection);
    d.SetViewport({0, 0, 64, 64});
    d.SetMaterial(cube->GetGroup(0).material->DeviceMaterial());
    d.SetTexture(cube->GetGroup(0).material->TextureSurface(), platform::Soft3DTextureOp::Modulate,
                 platform::Soft3DFilter::Point);
    const platform::Rect direct = d.DrawIndexed(vertices.data(), 0, static_cast<uint32_t>(vertices.size()),
                                                indices.data(), indices.size(), true);
    EXPECT_EQ(Pixels(*f.anim.GetRenderTarget()), viaMesh);
    EXPECT_EQ(rect.left, direct.left);
    EXPECT_EQ(rect.top, direct.top);
    EXPECT_EQ(rect.right, direct.right);
    EXPECT_EQ(rect.bottom, direct.bottom);
    cube->Release();
}

TEST(RenderMesh, WhollyLeftOfTheViewDrawsNothingInPassesZeroAndTwo) {
    Device3DFixture f;
    Viewport3D* viewport = f.SceneViewport();
    RenderDIPVBMesh* cube = MakeCube(f.device);
    cube->SetTransform(MakeTranslationTransform({-20, 0, 0}));
    ASSERT_EQ(viewport->BeginScene(true), kDDDOk);
    viewport->GetUpdateRects().Clear();
    for (int pass : {0, 2}) {
        const uint32_t draws = f.device.DrawCount();
        ASSERT_EQ(cube->Render(*viewport, pass), kDDDOk);
        EXPECT_EQ(f.device.DrawCount(), draws) << pass;
        EXPECT_TRUE(IsEmptyScreenRect(cube->ScreenRect())) << pass;
    }
    // Pass 1 trusts the caller: the draw is made (and covers nothing).
    const uint32_t draws = f.device.DrawCount();
    ASSERT_EQ(cube->Render(*viewport, 1), kDDDOk);
    EXPECT_EQ(f.device.DrawCount(), draws + 1);
    EXPECT_TRUE(IsEmptyScreenRect(cube->ScreenRect()));
    EXPECT_EQ(viewport->GetUpdateRects().Count(), 0u);

    // In view again: drawn, and its rectangle reaches the update list.
    cube->SetTransform(kIdentityTransform);
    ASSERT_EQ(cube->Render(*viewport, 0), kDDDOk);
    EXPECT_FALSE(IsEmptyScreenRect(cube->ScreenRect()));
    EXPECT_EQ(viewport->GetUpdateRects().Count(), 1u);
    cube->Release();
}

TEST(RenderMesh, MaterialsThatCannotBeMadeBindFlesh) {
    Device3DFixture f;
    auto* mesh = new RenderDIPMesh(f.device);
    Mesh3D& m = mesh->MarkChanged();
    const MeshUV uv{0, 0};
    for (const char* name : {"broken", "absent", "Jeans"})
        m.AddTriangle({0, 0, 0}, uv, {1, 0, 0}, uv, {0, 1, 0}, uv, name, true);
    ASSERT_EQ(mesh->BindMaterials(), kDDDOk);
    ASSERT_EQ(mesh->GroupCount(), 3u);
    EXPECT_EQ(mesh->GetGroup(0).material->Name(), "Flesh");
    EXPECT_EQ(mesh->GetGroup(1).material->Name(), "Flesh");
    EXPECT_EQ(mesh->GetGroup(2).material->Name(), "Jeans");
    EXPECT_EQ(mesh->GetGroup(2).indices.size(), 3u);
    EXPECT_EQ(mesh->GetGroup(2).first, 6u);
    EXPECT_EQ(mesh->GetGroup(2).last, 8u);
    // Binding again replaces (and releases) the materials.
    Material* jeans = mesh->GetGroup(2).material;
    jeans->AddRef();
    ASSERT_EQ(mesh->BindMaterials(), kDDDOk);
    EXPECT_NE(mesh->GetGroup(2).material, jeans);
    EXPECT_EQ(jeans->RefCount(), 2);  // the test's and the library's
    const size_t listed = f.device.Materials().Count();
    jeans->Release();
    EXPECT_EQ(f.device.Materials().Count(), listed - 1);

    auto* plain = new RenderDIPMesh(f.device);
    plain->MarkChanged().AddTriangle({0, 0, 0}, uv, {1, 0, 0}, uv, {0, 1, 0}, uv, nullptr, true);
    ASSERT_EQ(plain->BindMaterials(), kDDDOk);
    EXPECT_EQ(plain->GetGroup(0).material->Name(), "default");
    mesh->Release();
    plain->Release();
}

TEST(RenderMesh, MoreGroupsOrVerticesThanTheLimitsAreRefused) {
    Device3DFixture f;
    const MeshUV uv{0, 0};
    auto* groups = new RenderDIPVBMesh(f.device);
    Mesh3D& g = groups->MarkChanged();
    for (int i = 0; i < 25; ++i)
        g.AddTriangle({0, 0, 0}, uv, {1, 0, 0}, uv, {0, float(i), 1}, uv, ("m" + std::to_string(i)).c_str(), true);
    EXPECT_EQ(groups->Build(), kDDDBadParameter);
    EXPECT_EQ(groups->BindMaterials(), kDDDBadParameter);
    EXPECT_EQ(groups->GroupCount(), 0u);

    auto* big = new RenderDIPVBMesh(f.device);
    Mesh3D& b = big->MarkChanged();
    for (int i = 0; i < 21846; ++i)  // 65538 vertices
        b.AddTriangle({float(i), 0, 0}, uv, {float(i), 1, 0}, uv, {float(i), 0, 1}, uv, nullptr, false);
    EXPECT_EQ(big->Build(), kDDDBadParameter);
    EXPECT_FALSE(big->ReserveVertices(65537));
    EXPECT_TRUE(big->ReserveVertices(4));
    EXPECT_FALSE(big->ReserveGroupIndices(3, 24));
    EXPECT_TRUE(big->ReserveGroupIndices(3, 23));
    EXPECT_EQ(big->GroupCount(), 24u);
    groups->Release();
    big->Release();
}

TEST(RenderMesh, ModeZeroShowsTheTextureUnlit) {
    Device3DFixture f;
    Viewport3D* viewport = f.SceneViewport();  // no lights, no ambient: lit faces are black
    RenderDIPVBMesh* cube = MakeCube(f.device);
    for (int mode : {0, 1}) {
        f.Clear();
        cube->SetMode(mode);
        ASSERT_EQ(viewport->BeginScene(true), kDDDOk);
        ASSERT_EQ(cube->Render(*viewport, 0), kDDDOk);
        const uint16_t centre = f.anim.GetRenderTarget()->Pixel16(32, 32);
        if (mode == 0)
            EXPECT_NE(centre, 0) << "unlit texture";
        else
            EXPECT_EQ(centre, 0) << "lit by nothing";
    }
    RenderMesh::SetDefaultMode(2);
    auto* later = new RenderDIPMesh(f.device);
    EXPECT_EQ(later->GetMode(), 2);
    RenderMesh::SetDefaultMode(0);
    later->Release();
    cube->Release();
}
