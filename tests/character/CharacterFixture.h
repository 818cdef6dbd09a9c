// A small character set built in code: skeleton "test-skel" (PELVIS root,
// SPINE under it, HEAD and L_HAND under SPINE), suit "test-suit" (one skin
// on PELVIS wearing mesh "cube"), skill "test-wave" (two motions of four
// frames, 400 ms, events at 0 and 200 ms) and the cube mesh, written with
// the project's own writers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "character/BodyMesh.h"
#include "character/CharacterFile.h"
#include "character/KeyframeFile.h"
#include "character/MeshFile.h"
#include "character/PropertyList.h"
#include "character/Skeleton.h"
#include "character/Skill.h"
#include "character/Suit.h"

namespace chartest {

using namespace tova;

inline PropertyList* Props(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    auto* list = new PropertyList;
    for (const auto& [k, v] : pairs) list->Set(k, v);
    return list;
}

inline Skeleton* MakeTestSkeleton() {
    auto* s = new Skeleton("test-skel");
    const char* bones[][2] = {{"PELVIS", "NULL"}, {"SPINE", "PELVIS"}, {"HEAD", "SPINE"}, {"L_HAND", "SPINE"}};
    float y = 0;
    for (const auto& b : bones) {
        auto bone = std::make_unique<Bone>(b[0], b[1]);
        bone->translation = {0, y, 0.5f};
        bone->rotation = {0, 0, 0.70710677f, 0.70710677f};
        bone->flags[2] = y > 1 ? 0 : 1;
        bone->SetWigglePower(static_cast<int32_t>(y * 2));
        bone->wiggleValue = y / 3;
        y += 1.25f;
        s->AddBone(std::move(bone));
    }
    PropertyList* p = Props({{"joint", "hip"}, {"empty", ""}});
    s->FindBone("PELVIS")->SetProperties(p);
    p->Release();
    return s;
}

inline BodyMesh MakeCubeMesh() {
    BodyMesh m;
    m.name = "cube";
    m.material = "checker";
    m.AddBoneName("PELVIS");
    m.AddBoneName("SPINE");
    for (int i = 0; i < 8; ++i) {
        const float x = (i & 1) ? 1.f : -1.f, y = (i & 2) ? 1.f : -1.f, z = (i & 4) ? 1.f : -1.f;
        m.vertices.push_back({x, y, z, x * 0.577f, y * 0.577f, z * 0.577f});
        m.texCoords.push_back({(i & 1) ? 1.f : 0.f, (i & 2) ? 1.f : 0.f});
    }
    m.vertices.push_back({0, 1.5f, 0, 0, 1, 0});
    m.vertices.push_back({0, -1.5f, 0, 0, -1, 0});
    const int faces[12][3] = {{0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5}, {0, 4, 5}, {0, 5, 1},
                              {2, 3, 7}, {2, 7, 6}, {0, 2, 6}, {0, 6, 4}, {1, 5, 7}, {1, 7, 3}};
    for (const auto& f : faces) m.faces.push_back({f[0], f[1], f[2]});
    m.bindings.push_back({0, 0, 4, 8, 1});
    m.bindings.push_back({1, 4, 4, 9, 1});
    m.blends.push_back({16384, 8});
    m.blends.push_back({8192, 9});
    return m;
}

inline Suit* MakeTestSuit() {
    auto* s = new Suit;
    s->name = "test-suit";
    s->type = 0;
    Skin* skin = s->AddSkin();
    skin->boneName = "PELVIS";
    skin->meshName = "cube";
    skin->flags = 3;
    PropertyList* p = Props({{"texture", "checker"}});
    skin->SetProperties(p);
    p->Release();
    return s;
}

// Four frames of two motions: ROOT travels along x, HEAD turns.
inline Skill* MakeTestSkill(const std::string& name = "test-wave") {
    auto* s = new Skill;
    s->name = name;
    s->motionDataName = name;
    s->duration = 400;
    s->distance = 3;
    s->moving = 1;
    s->translationCount = 4;
    s->rotationCount = 8;
    Motion* root = s->AddMotion();
    root->boneName = "ROOT";
    root->frameCount = 4;
    root->duration = 400;
    root->hasTranslations = 1;
    root->hasRotations = 1;
    root->firstTranslation = 0;
    root->firstRotation = 0;
    auto* events = new TimePropertyList;
    PropertyList* a = Props({{"anchor", "1"}});
    PropertyList* b = Props({{"anchor", "2"}, {"sound", "step"}});
    events->Insert(0, a);
    events->Insert(200, b);
    a->Release();
    b->Release();
    root->SetEvents(events);
    events->Release();
    Motion* head = s->AddMotion();
    head->boneName = "HEAD";
    head->frameCount = 4;
    head->duration = 400;
    head->hasRotations = 1;
    head->firstRotation = 4;
    return s;
}

inline void TestKeyframes(std::vector<Vector3>& t, std::vector<Quaternion>& r) {
    t = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
    r.clear();
    for (int i = 0; i < 8; ++i) r.push_back({0, 0.1f * i, 0, 1});
}

inline std::string TestKeyframeFile() {
    std::vector<Vector3> t;
    std::vector<Quaternion> r;
    TestKeyframes(t, r);
    return EncodeCompressedKeyframes(t, r);
}

// A store that keeps everything it is given, as a library would on a first
// read.
class KeepAllStore : public iCharacterStore {
public:
    ~KeepAllStore() override {
        for (auto* o : kept.skeletons) o->Release();
        for (auto* o : kept.suits) o->Release();
        for (auto* o : kept.skills) o->Release();
    }
    bool StoreSkeleton(Skeleton*, const std::string&, const std::string&) override { return true; }
    bool StoreSuit(Suit*, const std::string&, const std::string&, const CharacterFolders&) override { return true; }
    bool StoreSkill(Skill*, const std::string&, const std::string&, const CharacterFolders&) override { return true; }
    CharacterFileContents kept;
};

// The test objects as one file.
inline std::string TestCharacterFile(bool text) {
    Skeleton* skeleton = MakeTestSkeleton();
    Suit* suit = MakeTestSuit();
    Skill* skill = MakeTestSkill();
    CharacterFileContents c{{skeleton}, {suit}, {skill}};
    std::string bytes = WriteCharacterFile(c, text);
    skeleton->Release();
    suit->Release();
    skill->Release();
    return bytes;
}

}  // namespace chartest
