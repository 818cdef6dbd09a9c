#include "CharacterFixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace chartest;

TEST(CharacterModel, AnOrphanBoneBecomesTheRootWithTheFormerRootAsItsSibling) {
    Skeleton s("s");
    Bone* pelvis = s.AddBone(std::make_unique<Bone>("PELVIS", ""));
    Bone* spine = s.AddBone(std::make_unique<Bone>("SPINE", "PELVIS"));
    Bone* head = s.AddBone(std::make_unique<Bone>("HEAD", "SPINE"));
    Bone* hand = s.AddBone(std::make_unique<Bone>("L_HAND", "SPINE"));
    EXPECT_EQ(s.Root(), pelvis);
    EXPECT_EQ(spine->Parent(), pelvis);
    // A later child goes in front of its siblings.
    EXPECT_EQ(spine->FirstChild(), hand);
    EXPECT_EQ(hand->NextSibling(), head);

    Bone* orphan = s.AddBone(std::make_unique<Bone>("PROP", "NOBODY"));
    EXPECT_EQ(s.Root(), orphan);
    EXPECT_EQ(orphan->NextSibling(), pelvis);
    EXPECT_EQ(orphan->Parent(), nullptr);
    EXPECT_EQ(s.FindBone("HEAD"), head);
    EXPECT_EQ(s.FindBone("PELVIS"), pelvis);
    EXPECT_EQ(s.FindBone("head"), nullptr);
    EXPECT_EQ(s.BoneCount(), 5);
}

TEST(CharacterModel, KeyBonesAreKnownByTheirExactNames) {
    for (const char* name : {"HEAD", "PELVIS", "R_FOOT", "L_FOOT", "R_HAND", "L_HAND"}) {
        EXPECT_TRUE(Bone(name, "").IsKeyBone()) << name;
    }
    for (const char* name : {"SPINE", "head", "ROOT", "HEAD "}) EXPECT_FALSE(Bone(name, "").IsKeyBone()) << name;
}

TEST(CharacterModel, ARepeatedKeyKeepsOnePairWithTheNewValue) {
    PropertyList list;
    list.Set("a", "1");
    list.Set("b", "2");
    list.Set("a", "3");
    list.Set("A", "4");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Value(list.Find("a")), "3");
    EXPECT_EQ(list.Find("b"), 1);
    EXPECT_EQ(list.Find("c"), -1);
}

TEST(CharacterModel, TwoEventsAtOneTimeKeepTheSecondAndTheListStaysSorted) {
    auto* events = new TimePropertyList;
    PropertyList* first = Props({{"x", "first"}});
    PropertyList* second = Props({{"x", "second"}});
    PropertyList* early = Props({{"x", "early"}});
    events->Insert(200, first);
    events->Insert(200, second);
    events->Insert(-5, early);
    EXPECT_EQ(first->RefCount(), 1);  // released by the list
    EXPECT_EQ(second->RefCount(), 2);
    ASSERT_EQ(events->Count(), 2);
    EXPECT_EQ(events->At(0).time, -5);
    EXPECT_EQ(events->At(1).list, second);

    TimePropertyCursor cursor{events, 0};
    EXPECT_TRUE(cursor.Last());
    EXPECT_EQ(cursor.index, 1);
    EXPECT_FALSE(cursor.Next());
    EXPECT_TRUE(cursor.First());
    EXPECT_FALSE(cursor.Previous());
    for (PropertyList* p : {first, second, early}) p->Release();
    events->Release();
}

TEST(CharacterModel, ACloneSharesPropertyListsButHasItsOwnBones) {
    Skeleton* s = MakeTestSkeleton();
    PropertyList* props = s->FindBone("PELVIS")->Properties();
    ASSERT_NE(props, nullptr);
    EXPECT_EQ(props->RefCount(), 1);
    Skeleton* copy = s->Clone();
    EXPECT_EQ(props->RefCount(), 2);
    EXPECT_EQ(copy->FindBone("PELVIS")->Properties(), props);
    EXPECT_NE(copy->FindBone("PELVIS"), s->FindBone("PELVIS"));
    EXPECT_EQ(copy->FindBone("HEAD")->Parent(), copy->FindBone("SPINE"));
    EXPECT_EQ(copy->FindBone("L_HAND")->BlendFlag(), 0);
    EXPECT_FLOAT_EQ(copy->FindBone("HEAD")->translation.y, 2.5f);
    EXPECT_FALSE(copy->FindBone("HEAD")->boxValid);
    copy->Release();
    EXPECT_EQ(props->RefCount(), 1);
    s->Release();
}

TEST(CharacterModel, WiggleRecordsHaveThePowerAsTheirLength) {
    SeedWiggleRandom(7);
    Bone bone("HEAD", "");
    bone.SetWigglePower(100);
    for (const WiggleRecord& w : bone.Wiggles()) {
        const double length = std::sqrt(double(w.dx) * w.dx + double(w.dy) * w.dy);
        EXPECT_NEAR(length, 100, 1.0);
    }
    // The same seed draws the same records.
    SeedWiggleRandom(7);
    Bone again("HEAD", "");
    again.SetWigglePower(100);
    EXPECT_EQ(again.Wiggles()[3].words[1], bone.Wiggles()[3].words[1]);
}

TEST(CharacterModel, AddMotionStartsEmptyAndFindMotionTakesTheFirst) {
    Skill* skill = MakeTestSkill();
    Motion* m = skill->AddMotion();
    EXPECT_EQ(m->frameCount, 0);
    EXPECT_EQ(m->firstTranslation, -1);
    EXPECT_EQ(m->firstRotation, -1);
    EXPECT_EQ(m->Events(), nullptr);
    m->boneName = "ROOT";
    EXPECT_EQ(skill->FindMotion("ROOT"), skill->motions[0].get());
    EXPECT_EQ(skill->FindMotion("NONE"), nullptr);
    skill->Release();
}

TEST(CharacterModel, AWiggleWithNoDirectionPointsAlongX) {
    const struct {
        double x, y;
        int32_t power, dx, dy;
    } cases[] = {{0, 0, 50, 50, 0}, {3, 4, 10, 6, 8}, {0, 7, 9, 0, 9}, {0, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        int32_t dx = -1, dy = -1;
        ScaleWiggle(c.x, c.y, c.power, dx, dy);
        EXPECT_EQ(dx, c.dx) << c.x << "," << c.y;
        EXPECT_EQ(dy, c.dy) << c.x << "," << c.y;
    }
}
