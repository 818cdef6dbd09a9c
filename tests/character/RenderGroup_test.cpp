#include "character/RenderGroup.h"

#include "character/MeshText.h"
#include "character/RenderMesh.h"
#include "Device3DFixture.h"

#include <gtest/gtest.h>

using tova_test::Device3DFixture;

namespace {

RenderDIPMesh* MakeCube(Device3D& device, const Vector3& at) {
    auto* mesh = new RenderDIPMesh(device);
    AddCube(mesh->MarkChanged(), 1);
    EXPECT_EQ(mesh->BindMaterials(), kDDDOk);
    mesh->SetTransform(MakeTranslationTransform(at));
    return mesh;
}

}  // namespace

TEST(RenderGroup, ChildOutsideTheViewDrawsNothingAndTheGroupReportsOnce) {
    Device3DFixture f;
    Viewport3D* viewport = f.SceneViewport();
    RenderDIPMesh* inside = MakeCube(f.device, {0, 0, 0});
    RenderDIPMesh* outside = MakeCube(f.device, {-30, 0, 0});
    auto* group = new RenderGroup(2);
    ASSERT_EQ(group->AddChild(inside), kDDDOk);
    ASSERT_EQ(group->AddChild(outside), kDDDOk);
    EXPECT_EQ(inside->RefCount(), 2);
    EXPECT_FALSE(inside->Changed());
    EXPECT_FALSE(group->NeedsBoundsUpdate());
    EXPECT_EQ(group->GetBounds().minX, -30.5f);
    EXPECT_EQ(group->GetBounds().maxX, 0.5f);

    ASSERT_EQ(viewport->BeginScene(true), kDDDOk);
    viewport->GetUpdateRects().Clear();
    ASSERT_EQ(group->Render(*viewport, 0), kDDDOk);  // partly inside: children clip
    EXPECT_TRUE(IsEmptyScreenRect(outside->ScreenRect()));
    ASSERT_FALSE(IsEmptyScreenRect(inside->ScreenRect()));
    const cRZRect r = group->ScreenRect();
    EXPECT_EQ(r.left, inside->ScreenRect().left);
    EXPECT_EQ(r.bottom, inside->ScreenRect().bottom);
    EXPECT_EQ(viewport->GetUpdateRects().Count(), 1u);
    EXPECT_TRUE(viewport->TracksDirty());

    // Moved wholly out of view: nothing drawn, every rectangle empty.
    group->SetTransform(MakeTranslationTransform({0, 40, 0}));
    const uint32_t draws = f.device.DrawCount();
    ASSERT_EQ(group->Render(*viewport, 0), kDDDOk);
    EXPECT_EQ(f.device.DrawCount(), draws);
    EXPECT_TRUE(IsEmptyScreenRect(group->ScreenRect()));
    EXPECT_TRUE(IsEmptyScreenRect(inside->ScreenRect()));
    group->Release();
    EXPECT_EQ(inside->RefCount(), 1);
    inside->Release();
    outside->Release();
}

TEST(RenderGroup, RemovingAStrangerChangesNothing) {
    Device3DFixture f;
    RenderDIPMesh* child = MakeCube(f.device, {0, 0, 0});
    RenderDIPMesh* stranger = MakeCube(f.device, {1, 0, 0});
    auto* group = new VitaRenderGroup;
    ASSERT_EQ(group->AddChild(child), kDDDOk);
    EXPECT_EQ(group->RemoveChild(stranger), 0x9B0B001Fu);
    EXPECT_EQ(group->ChildCount(), 1u);
    EXPECT_EQ(stranger->RefCount(), 1);
    // A person's group follows its own flag only and answers no query.
    child->SetChanged(true);
    EXPECT_FALSE(group->NeedsBoundsUpdate());
    EXPECT_FALSE(group->QueryState());
    auto* plain = new RenderGroup;
    ASSERT_EQ(plain->AddChild(child), kDDDOk);
    child->SetChanged(true);
    EXPECT_TRUE(plain->NeedsBoundsUpdate());
    EXPECT_TRUE(plain->Changed());
    EXPECT_EQ(group->RemoveChild(child), kDDDOk);
    EXPECT_EQ(group->ChildCount(), 0u);
    EXPECT_EQ(child->RefCount(), 2);
    group->Release();
    plain->Release();
    child->Release();
    stranger->Release();
}
