// Person bodies on the starter set: set-up, the update order's results,
// attachments, selection and render modes, and the people's view (practice
// records kept in step, suits by name, bones in world space).
#include "character/CharacterBody.h"

#include <cmath>

#include "character/CharacterLibrary.h"
#include "character/Material.h"
#include "character/Practice.h"
#include "character/RenderGroup.h"
#include "character/RenderMesh.h"
#include "character/Skeleton.h"
#include "character/Suit.h"
#include "Device3DFixture.h"
#include "StarterData.h"

#include <gtest/gtest.h>

using namespace tova;
using chr::CharacterBody;

namespace {

class CharacterBodyTest : public ::testing::Test {
protected:
    void SetUp() override { chartest::LoadStarter(library); }
    CharacterLibrary library;
    tova_test::Device3DFixture fx{64, 64};
};

bool SameColour(const platform::Soft3DColor& a, const platform::Soft3DColor& b) {
    return std::fabs(a.r - b.r) < 1e-6f && std::fabs(a.g - b.g) < 1e-6f && std::fabs(a.b - b.b) < 1e-6f &&
           std::fabs(a.a - b.a) < 1e-6f;
}

TEST_F(CharacterBodyTest, AnUnknownSkeletonLeavesAnEmptyBody) {
    CharacterBody body(library, &fx.device);
    EXPECT_NE(body.Init(nullptr, "nobody", "b001fa_fit", "a2o-wave"), 0);
    EXPECT_EQ(body.GetSkeleton(), nullptr);
    body.Update(kIdentityTransform, 100);
    body.DeformSkins();
    Viewport3D* viewport = fx.SceneViewport();
    body.DeformAndDraw(*viewport);
    float lo[3], hi[3];
    EXPECT_FALSE(body.Bounds(lo, hi));
    EXPECT_EQ(library.CreateBody("nobody", nullptr), nullptr);
    EXPECT_NE(library.CreateBody("adult", nullptr), nullptr);
}

TEST_F(CharacterBodyTest, InitDressesAndPlays) {
    CharacterBody body(library, &fx.device);
    int caller = 7;
    ASSERT_EQ(body.Init(&caller, "adult", "b001fa_fit", "a2o-wave"), 0);
    EXPECT_EQ(body.CallerValue(), &caller);
    ASSERT_EQ(body.GetSkeleton()->Dressings().size(), 1u);
    EXPECT_EQ(body.GetSkeleton()->Dressings()[0]->Attachments().size(), 12u);
    EXPECT_EQ(body.Group()->ChildCount(), 12u);
    ASSERT_EQ(body.GetSkeleton()->Practices().size(), 1u);
    // The clone is the body's: the library's skeleton keeps its rest pose.
    EXPECT_NE(body.GetSkeleton(), library.GetSkeleton("adult"));
    body.Update(kIdentityTransform, 0);
    body.Update(kIdentityTransform, 300);
    const Quaternion posed = body.GetSkeleton()->FindBone("R_UPPERARM")->rotation;
    EXPECT_NE(posed.x, 0.0f);
    EXPECT_EQ(library.GetSkeleton("adult")->FindBone("R_UPPERARM")->rotation.x, 0.0f);
    // The box holds the pelvis and the feet.
    float lo[3], hi[3];
    ASSERT_TRUE(body.Bounds(lo, hi));
    EXPECT_LT(lo[1], 0.2f);
    EXPECT_GT(hi[1], 0.9f);
    EXPECT_TRUE(body.GetSkeleton()->boneBoxesReady);
    const auto suits = library.ActiveSuits();
    ASSERT_EQ(suits.size(), 1u);
    EXPECT_EQ(suits[0], (std::pair<std::string, int32_t>{"b001fa_fit", 1}));
}

TEST_F(CharacterBodyTest, NoSuitWearsNothingAndNoSkillStandsAtRest) {
    CharacterBody body(library, &fx.device);
    ASSERT_EQ(body.Init(nullptr, "adult", "", ""), 0);
    EXPECT_TRUE(body.GetSkeleton()->Dressings().empty());
    EXPECT_TRUE(body.GetSkeleton()->Practices().empty());
    body.Update(kIdentityTransform, 500);
    const Bone* head = body.GetSkeleton()->FindBone("HEAD");
    EXPECT_NEAR(head->worldTranslation.y, 1.75f, 1e-5f);
}

TEST_F(CharacterBodyTest, ASuitOfAnotherTypeIsWornButNotDrawnByTheGroup) {
    library.GetSuit("b001fa_fit")->type = 1;
    CharacterBody body(library, &fx.device);
    ASSERT_EQ(body.Init(nullptr, "adult", "b001fa_fit", ""), 0);
    EXPECT_EQ(body.GetSkeleton()->Dressings()[0]->Attachments().size(), 12u);
    EXPECT_EQ(body.Group()->ChildCount(), 0u);
}

TEST_F(CharacterBodyTest, AttachmentsFollowTheBoneAndThePlacement) {
    CharacterBody body(library, &fx.device);
    ASSERT_EQ(body.Init(nullptr, "adult", "c001fa_round", ""), 0);
    EXPECT_FALSE(body.GetAttachment("HEAD", "Elbow").has_value());
    EXPECT_FALSE(body.GetAttachment("TAIL", "Palm").has_value());
    auto plain = body.GetAttachment("HEAD", "");
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->offset.kind, kTransformIdentity);
    auto fake = body.GetAttachment("HEAD", "HeadFake");
    ASSERT_TRUE(fake.has_value());
    body.Update(kIdentityTransform, 0);
    const Vector3 here = body.AttachmentPosition(*fake);
    // A quarter turn about z, then (0.8, 0, 100), then HEAD at (0, 1.75, 0).
    EXPECT_NEAR(here.x, 0.8f, 1e-4f);
    EXPECT_NEAR(here.y, 1.75f, 1e-4f);
    EXPECT_NEAR(here.z, 100.0f, 1e-4f);
    body.Update(MakeTranslationTransform(5, 0, -2), 10);
    const Vector3 there = body.AttachmentPosition(*fake);
    EXPECT_NEAR(there.x - here.x, 5.0f, 1e-4f);
    EXPECT_NEAR(there.z - here.z, -2.0f, 1e-4f);
    ASSERT_TRUE(body.MakeAttachmentPoint("hat", "HEAD", "Top"));
    float p[3];
    ASSERT_TRUE(body.AttachmentPosition("hat", p));
    EXPECT_NEAR(p[0], 5.8f, 1e-4f);
    EXPECT_FALSE(body.MakeAttachmentPoint("x", "HEAD", "Nowhere"));
    EXPECT_FALSE(body.AttachmentPosition("x", p));
}

TEST_F(CharacterBodyTest, SelectionColoursAndModes) {
    CharacterBody body(library, &fx.device);
    ASSERT_EQ(body.Init(nullptr, "adult", "c001fa_round", ""), 0);
    ASSERT_EQ(body.Group()->ChildCount(), 1u);
    auto* mesh = dynamic_cast<RenderMesh*>(body.Group()->GetChild(0));
    ASSERT_NE(mesh, nullptr);
    const platform::Soft3DColor selected{17 / 255.0f, 1.0f, 241 / 255.0f, 128 / 255.0f};
    mesh->SetMode(2);
    body.SetSelected(true);
    EXPECT_TRUE(mesh->IsBlended());
    const MaterialDescription& on = mesh->GetGroup(0).material->Description();
    EXPECT_TRUE(SameColour(on.diffuse, selected));
    EXPECT_TRUE(SameColour(on.emissive, selected));
    body.SetMeshRenderMode(0);
    EXPECT_EQ(mesh->GetMode(), 1);
    body.SetSelected(false);
    EXPECT_EQ(mesh->GetMode(), RenderMesh::GetDefaultMode());
    EXPECT_FALSE(mesh->IsBlended());
    const MaterialDescription& off = mesh->GetGroup(0).material->Description();
    EXPECT_TRUE(SameColour(off.ambient, selected));
    EXPECT_TRUE(SameColour(off.specular, {0, 0, 0, 0}));
    body.SetMeshRenderMode(0);
    EXPECT_EQ(mesh->GetMode(), 0);
}

TEST_F(CharacterBodyTest, ThePeoplesPracticeRecordsStayInStep) {
    std::unique_ptr<iCharacterBody> body = library.CreateBody("adult", nullptr);
    ASSERT_NE(body, nullptr);
    EXPECT_FALSE(body->AddDressing("no-such-suit", "", 0));
    ASSERT_TRUE(body->AddDressing("b001fa_fit", "b002fa_lgt", 0));
    const iSkill* walk = library.GetSkill("a2o-walkingloop");
    const iSkill* wave = library.GetSkill("a2o-wave");
    ASSERT_NE(walk, nullptr);
    PracticeRef* w = body->AddPractice(*walk, 1, 1.0f, 1.0f, 0);
    PracticeRef* v = body->AddPractice(*wave, 2, 1.0f, 1.0f, 0);
    ASSERT_NE(w, nullptr);
    ASSERT_NE(v, nullptr);
    auto skills = library.ActiveSkills();
    EXPECT_EQ(skills.size(), 2u);
    body->UpdatePractices(0);
    body->UpdatePractices(600);
    EXPECT_NEAR(v->time, 0.5f, 1e-5f);
    EXPECT_FALSE(v->finished);
    // The people move the wave back to its start and fade it out.
    v->time = 0;
    v->fadeTime = 200;
    v->fadeStart = 600;
    v->removeWhenFaded = true;
    body->UpdatePractices(700);
    EXPECT_NEAR(v->time, 100.0f / 1200.0f, 1e-5f);
    EXPECT_NEAR(v->weight, 0.5f, 1e-5f);
    body->UpdatePractices(900);
    EXPECT_EQ(library.ActiveSkills().size(), 1u);
    // The wave plays once: at its end it holds and is finished.
    PracticeRef* again = body->AddPractice(*wave, 2, 1.0f, 1.0f, 900);
    body->UpdatePractices(2500);
    EXPECT_TRUE(again->finished);
    EXPECT_FLOAT_EQ(again->time, 1.0f);
    body->RemovePractice(w);
    body->RemovePractice(again);
    EXPECT_TRUE(library.ActiveSkills().empty());
    const float at[3] = {2, 0, 3};
    body->SetPlacement(at, 0, 2500);
    body->UpdateTransforms();
    float head[3];
    ASSERT_TRUE(body->BonePosition("HEAD", head));
    EXPECT_NEAR(head[0], 2.0f, 1e-5f);
    EXPECT_NEAR(head[1], 1.75f, 1e-5f);
    EXPECT_NEAR(head[2], 3.0f, 1e-5f);
    EXPECT_FALSE(body->BonePosition("TAIL", head));
    body->UpdateSkins();
    EXPECT_EQ(body->DressingMeshes().size(), 12u);
    EXPECT_EQ(body->SuitVertices("b001fa_fit").size(), 12u * 8u);
    body->RemoveDressing("b001fa_fit");
    EXPECT_TRUE(body->DressingMeshes().empty());
    EXPECT_TRUE(library.ActiveSuits().empty());
}

TEST_F(CharacterBodyTest, TurnedBonesTurnOnTopOfThePose) {
    std::unique_ptr<iCharacterBody> body = library.CreateBody("adult", nullptr);
    ASSERT_TRUE(body->MakeAttachmentPoint("nose", "HEAD", "Shoulder"));
    body->UpdateTransforms();
    float before[3], after[3];
    ASSERT_TRUE(body->AttachmentPosition("nose", before));
    body->TurnBone("HEAD", 1.0f);
    body->UpdateTransforms();
    ASSERT_TRUE(body->AttachmentPosition("nose", after));
    EXPECT_GT(std::fabs(after[0] - before[0]) + std::fabs(after[2] - before[2]), 0.1f);
    body->TurnBone("HEAD", 0);
    body->UpdateTransforms();
    ASSERT_TRUE(body->AttachmentPosition("nose", after));
    EXPECT_NEAR(after[0], before[0], 1e-5f);
}

}  // namespace
