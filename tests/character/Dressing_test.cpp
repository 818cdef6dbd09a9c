// Dressings and skin instances: which skins a suit puts on, the material
// override, the rigid and blended deformation into render vertices, the
// bone boxes, and meshes that cannot be worn.
#include "character/Dressing.h"

#include <cmath>
#include <memory>

#include "character/BodyMesh.h"
#include "character/Material.h"
#include "character/RenderMesh.h"
#include "character/Skeleton.h"
#include "character/SkinInstance.h"
#include "character/Suit.h"
#include "Device3DFixture.h"

#include <gtest/gtest.h>

using namespace tova;

namespace {

// ROOT at the origin with ARM one up.
Skeleton* MakeArmSkeleton() {
    auto* s = new Skeleton("arm");
    s->AddBone(std::make_unique<Bone>("ROOT", "NULL"));
    auto arm = std::make_unique<Bone>("ARM", "ROOT");
    arm->translation = {0, 1, 0};
    s->AddBone(std::move(arm));
    return s;
}

// Four plain vertices on ROOT, four on ARM, and one blended vertex on ARM
// (at ARM's origin, normal up) pulling vertex 0 half way to it.
std::unique_ptr<BodyMesh> MakeArmMesh(const std::string& name = "arm_mesh", const std::string& secondBone = "ARM") {
    auto m = std::make_unique<BodyMesh>();
    m->name = name;
    m->material = "checker";
    m->AddBoneName("ROOT");
    m->AddBoneName(secondBone);
    for (int i = 0; i < 8; ++i) {
        m->vertices.push_back({i % 4 == 0 ? 1.f : 0.f, static_cast<float>(i % 4) * 0.1f, 0, 1, 0, 0});
        m->texCoords.push_back({0.1f * i, 0.5f});
    }
    m->vertices.push_back({0, 0, 0, 0, 1, 0});
    m->faces = {{0, 1, 2}, {4, 5, 6}};
    m->bindings.push_back({0, 0, 4, 0, 0});
    m->bindings.push_back({1, 4, 4, 0, 1});
    m->blends.push_back({16384, 0});
    return m;
}

// Skins with flags 1 and 2, each holding its mesh.
Suit* MakeTwoSkinSuit() {
    auto* suit = new Suit;
    suit->name = "pair";
    const char* meshes[] = {"pair_top", "pair_bottom"};
    for (int i = 0; i < 2; ++i) {
        Skin* skin = suit->AddSkin();
        skin->boneName = i == 0 ? "ARM" : "ROOT";
        skin->meshName = meshes[i];
        skin->flags = 1 << i;
        skin->SetMesh(MakeArmMesh(meshes[i]));
    }
    return suit;
}

TEST(Dressing, TheMaskChoosesTheSkins) {
    Skeleton* skeleton = MakeArmSkeleton();
    Suit* suit = MakeTwoSkinSuit();
    chr::Dressing* some = skeleton->AddDressing(*suit, "", 0x2);
    ASSERT_EQ(some->Attachments().size(), 1u);
    EXPECT_EQ(some->Attachments()[0].skin->flags, 2);
    EXPECT_EQ(some->Attachments()[0].bone->Name(), "ROOT");
    chr::Dressing* all = skeleton->AddDressing(*suit, "", -1);
    EXPECT_EQ(all->Attachments().size(), 2u);
    EXPECT_EQ(suit->dressings, 2);
    EXPECT_EQ(suit->RefCount(), 3);
    skeleton->clock = 777;
    skeleton->RemoveDressing(some);
    skeleton->RemoveDressing(all);
    EXPECT_EQ(suit->dressings, 0);
    EXPECT_EQ(suit->idleSince, 777u);
    EXPECT_EQ(suit->RefCount(), 1);
    skeleton->Release();
    suit->Release();
}

TEST(Dressing, AMeshNamingAMissingBoneIsLeftOutAndTheRestIsWorn) {
    Skeleton* skeleton = MakeArmSkeleton();
    Suit* suit = MakeTwoSkinSuit();
    suit->skins[0]->SetMesh(MakeArmMesh("pair_top", "TAIL"));
    chr::Dressing* d = skeleton->AddDressing(*suit, "", -1);
    ASSERT_EQ(d->Attachments().size(), 1u);
    EXPECT_EQ(d->Attachments()[0].skin->meshName, "pair_bottom");
    skeleton->Release();  // takes the dressing with it
    EXPECT_EQ(suit->RefCount(), 1);
    suit->Release();
}

TEST(SkinInstance, MeshesWhoseIndicesLeaveTheirVerticesMakeNoInstance) {
    Skeleton* skeleton = MakeArmSkeleton();
    struct Case {
        const char* what;
        void (*spoil)(BodyMesh&);
    } cases[] = {
        {"face", [](BodyMesh& m) { m.faces.push_back({0, 1, 9}); }},
        {"binding", [](BodyMesh& m) { m.bindings[0].vertexCount = 12; }},
        {"blended range", [](BodyMesh& m) { m.bindings[1].blendedCount = 2; }},
        {"blend target", [](BodyMesh& m) { m.blends[0].vertex = -1; }},
        {"blend source", [](BodyMesh& m) { m.blends.push_back({100, 1}); }},
    };
    for (const Case& c : cases) {
        auto mesh = MakeArmMesh();
        EXPECT_NE(mesh->CreateInstance(*skeleton, "", nullptr), nullptr) << c.what;
        c.spoil(*mesh);
        EXPECT_EQ(mesh->CreateInstance(*skeleton, "", nullptr), nullptr) << c.what;
    }
    skeleton->Release();
}

TEST(SkinInstance, DeformsRigidlyAndBlendsHalfWayWithAUnitNormal) {
    Skeleton* skeleton = MakeArmSkeleton();
    const float h = std::sqrt(0.5f);
    skeleton->FindBone("ARM")->rotation = {0, 0, h, h};
    skeleton->UpdateTransforms();
    auto mesh = MakeArmMesh();
    auto instance = mesh->CreateInstance(*skeleton, "", nullptr);
    ASSERT_NE(instance, nullptr);
    instance->Update(false);
    const auto& v = instance->Vertices();
    ASSERT_EQ(v.size(), 9u);
    // Vertex 4, (1, 0, 0) on ARM: turned a quarter clockwise and moved up.
    EXPECT_NEAR(v[4].x, 0, 1e-6);
    EXPECT_NEAR(v[4].y, 0, 1e-6);
    EXPECT_NEAR(v[4].ny, -1, 1e-6);
    // The blended vertex sits at ARM's origin, its normal turned to +x.
    EXPECT_NEAR(v[8].y, 1, 1e-6);
    EXPECT_NEAR(v[8].nx, 1, 1e-6);
    // Vertex 0 half way between (1, 0, 0) and (0, 1, 0).
    EXPECT_NEAR(v[0].x, 0.5f, 1e-6);
    EXPECT_NEAR(v[0].y, 0.5f, 1e-6);
    EXPECT_NEAR(std::hypot(v[0].nx, v[0].ny, v[0].nz), 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(v[0].u, 0.0f);
    EXPECT_FLOAT_EQ(v[5].u, 0.5f);
    // The bind pose leaves the rigid vertices where the mesh has them.
    instance->Update(true);
    EXPECT_NEAR(v[4].x, 1, 1e-6);
    EXPECT_NEAR(v[4].y, 0, 1e-6);
    instance.reset();  // an instance goes before the skeleton it is worn on
    skeleton->Release();
}

TEST(SkinInstance, BoneBoxesComeFromTheVerticesBoundToKeyBones) {
    auto* skeleton = new Skeleton("keys");
    skeleton->AddBone(std::make_unique<Bone>("PELVIS", "NULL"));
    auto head = std::make_unique<Bone>("HEAD", "PELVIS");
    head->translation = {0, 2, 0};
    skeleton->AddBone(std::move(head));
    auto* suit = new Suit;
    Skin* skin = suit->AddSkin();
    skin->boneName = "HEAD";
    skin->meshName = "head";
    auto mesh = MakeArmMesh("head", "HEAD");
    mesh->boneNames[0] = "PELVIS";
    skin->SetMesh(std::move(mesh));
    skeleton->AddDressing(*suit, "", -1);
    EXPECT_FALSE(skeleton->boneBoxesReady);
    skeleton->ComputeBoneBoxes();
    EXPECT_TRUE(skeleton->boneBoxesReady);
    const Bone* h = skeleton->FindBone("HEAD");
    EXPECT_TRUE(h->boxValid);
    EXPECT_FLOAT_EQ(h->box.maxX, 1.0f);
    EXPECT_FLOAT_EQ(h->box.maxY, 0.3f);
    skeleton->UpdateTransforms();
    EXPECT_FLOAT_EQ(skeleton->box.minY, 0.0f);
    EXPECT_FLOAT_EQ(skeleton->box.maxY, 2.3f);
    skeleton->RemoveDressing(skeleton->Dressings().front());
    EXPECT_FALSE(skeleton->boneBoxesReady);
    EXPECT_FALSE(h->boxValid);
    skeleton->Release();
    suit->Release();
}

TEST(SkinInstance, TheOverrideNamesTheMaterialOfTheSkinsItMatches) {
    tova_test::Device3DFixture fx;
    fx.folder.Write("Textures/plaid.bmp", tova_test::CheckerBmp());
    Skeleton* skeleton = MakeArmSkeleton();
    struct Case {
        const char* override;
        const char* mesh;
        const char* material;
    } cases[] = {
        {"top=plaid", "pair_top", "plaid"},
        {"top=plaid", "pair_bottom", "checker"},
        {"plaid", "pair_top", "checker"},
        {"", "pair_top", "checker"},
    };
    for (const Case& c : cases) {
        auto mesh = MakeArmMesh(c.mesh);
        auto instance = mesh->CreateInstance(*skeleton, c.override, &fx.device);
        ASSERT_NE(instance, nullptr);
        RenderDIPMesh* rm = instance->GetRenderMesh();
        ASSERT_NE(rm, nullptr);
        ASSERT_GE(rm->GroupCount(), 1u);
        ASSERT_NE(rm->GetGroup(0).material, nullptr);
        EXPECT_EQ(rm->GetGroup(0).material->Name(), c.material) << c.override << " " << c.mesh;
        EXPECT_EQ(rm->GetGroup(0).indices.size(), 6u);
        EXPECT_EQ(rm->GetGroup(0).last, 7u);
        EXPECT_EQ(rm->DeviceVertices().size(), 9u);
    }
    skeleton->Release();
}

}  // namespace
