#include "tools/contentc/CharacterSources.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

#include "character/BodyMesh.h"
#include "character/CharacterFile.h"
#include "character/CharacterIndexFile.h"
#include "character/KeyframeFile.h"
#include "character/MeshFile.h"
#include "character/PropertyList.h"
#include "character/Skeleton.h"
#include "character/Skill.h"
#include "character/Suit.h"
#include "platform/AtomicFile.h"
#include "tools/contentc/KeywordLines.h"

namespace {

using namespace tova;

bool ReadCharacterFloats(std::istringstream& words, float* out, int n) {
    for (int i = 0; i < n; ++i)
        if (!(words >> out[i]) || !std::isfinite(out[i])) return false;
    return true;
}

// A box around the segment from the bone's origin to `reach` (its first
// child's offset, or nothing), `size` thick on the other axes, all bound to
// the bone: a limb, a trunk, or a cube where nothing hangs below.
BodyMesh MakeCharacterBoxMesh(const CharacterSkinSource& skin, const std::array<float, 3>& reach) {
    BodyMesh m;
    m.name = skin.mesh;
    m.material = skin.texture;
    m.AddBoneName(skin.bone);
    const float s = skin.size;
    float lo[3], hi[3];
    for (int a = 0; a < 3; ++a) {
        const bool along = std::fabs(reach[a]) > s;
        lo[a] = along ? std::min(0.0f, reach[a]) : -s;
        hi[a] = along ? std::max(0.0f, reach[a]) : s;
    }
    for (int i = 0; i < 8; ++i) {
        const float x = (i & 1) ? hi[0] : lo[0], y = (i & 2) ? hi[1] : lo[1], z = (i & 4) ? hi[2] : lo[2];
        const float n = 0.57735026f;
        m.vertices.push_back({x, y, z, (i & 1) ? n : -n, (i & 2) ? n : -n, (i & 4) ? n : -n});
        m.texCoords.push_back({(i & 1) ? 1.f : 0.f, (i & 2) ? 1.f : 0.f});
    }
    const int faces[12][3] = {{0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5}, {0, 4, 5}, {0, 5, 1},
                              {2, 3, 7}, {2, 7, 6}, {0, 2, 6}, {0, 6, 4}, {1, 5, 7}, {1, 7, 3}};
    for (const auto& f : faces) m.faces.push_back({f[0], f[1], f[2]});
    m.bindings.push_back({0, 0, 8, 0, 0});
    return m;
}

Quaternion CharacterAxisTurn(int axis, float radians) {
    Quaternion q;
    const float s = std::sin(radians / 2);
    if (axis == 0) q.x = s;
    if (axis == 1) q.y = s;
    q.w = std::cos(radians / 2);
    return q;
}

// The skill with its keyframes: the root travels and turns, swinging bones
// swing, and bones that only carry events hold still.
Skill* MakeCharacterSkill(const CharacterSkillSource& src, std::vector<Vector3>& translations,
                          std::vector<Quaternion>& rotations) {
    const float pi = 3.14159265f;
    auto* skill = new Skill;
    skill->name = src.name;
    skill->motionDataName = src.name;
    skill->duration = src.duration;
    skill->distance = std::sqrt(src.travel[0] * src.travel[0] + src.travel[1] * src.travel[1] +
                                src.travel[2] * src.travel[2]);
    skill->moving = skill->distance > 0 ? 1 : 0;
    const int frames = src.frames;
    const float last = frames > 1 ? static_cast<float>(frames - 1) : 1.0f;
    translations.clear();
    rotations.clear();
    std::vector<std::string> bones{"ROOT"};
    for (const auto& [bone, degrees] : src.swings) bones.push_back(bone);
    for (const CharacterEventSource& e : src.events) {
        if (std::find(bones.begin(), bones.end(), e.bone) == bones.end()) bones.push_back(e.bone);
    }
    std::map<std::string, Motion*> motions;
    for (const std::string& bone : bones) {
        Motion* m = skill->AddMotion();
        m->boneName = bone;
        m->frameCount = frames;
        m->duration = src.duration;
        m->hasRotations = 1;
        m->firstRotation = static_cast<int32_t>(rotations.size());
        float swing = 0;
        for (const auto& [b, degrees] : src.swings) {
            if (b == bone) swing = degrees * pi / 180;
        }
        for (int f = 0; f < frames; ++f) {
            if (bone == "ROOT") {
                rotations.push_back(CharacterAxisTurn(1, src.turn * pi / 180 * f / last));
            } else {
                rotations.push_back(CharacterAxisTurn(0, swing * std::sin(2 * pi * f / frames)));
            }
        }
        if (bone == "ROOT") {
            m->hasTranslations = 1;
            m->firstTranslation = 0;
            for (int f = 0; f < frames; ++f) {
                const float k = f / last;
                translations.push_back({src.travel[0] * k, src.travel[1] * k, src.travel[2] * k});
            }
        }
        motions[bone] = m;
    }
    for (const CharacterEventSource& e : src.events) {
        Motion* m = motions[e.bone];
        if (m->Events() == nullptr) {
            auto* list = new TimePropertyList;
            m->SetEvents(list);
            list->Release();
        }
        auto* props = new PropertyList;
        for (const auto& [k, v] : e.pairs) props->Set(k, v);
        const auto time = static_cast<int32_t>(std::lround(e.frame * src.duration / frames));
        m->Events()->Insert(time, props);
        props->Release();
    }
    skill->translationCount = static_cast<int32_t>(translations.size());
    skill->rotationCount = static_cast<int32_t>(rotations.size());
    return skill;
}

bool SaveCharacterOutput(const std::filesystem::path& path, const std::string& bytes, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (platform::SaveFileAtomically(path, bytes, &error)) return true;
    error = "cannot write " + path.string() + ": " + error;
    return false;
}

}  // namespace

bool ParseCharacterSource(const std::string& name, const std::string& text, CharacterSource& out,
                          std::string& error) {
    out.file = std::filesystem::path(name).stem().string();
    int number = 0;
    const bool read = ForEachKeywordLine(name, text, number, error, [&](const std::string& key,
                                                                        std::istringstream& words) {
        bool ok = true;
        CharacterSkillSource* skill = out.skills.empty() ? nullptr : &out.skills.back();
        if (key == "skeleton") {
            ok = static_cast<bool>(words >> out.skeleton);
        } else if (key == "bone") {
            CharacterSource::BoneSource b;
            ok = (words >> b.name >> b.parent) && ReadCharacterFloats(words, b.offset.data(), 3);
            // Text name lines cannot be empty: a root names no bone there is.
            if (b.parent == "-") b.parent = "NULL";
            out.bones.push_back(b);
        } else if (key == "suit") {
            CharacterSuitSource s;
            ok = static_cast<bool>(words >> s.name);
            if (!(words >> s.type)) s.type = 0;
            out.suits.push_back(s);
        } else if (key == "skin") {
            CharacterSkinSource s;
            ok = !out.suits.empty() && (words >> s.bone >> s.mesh) && ReadCharacterFloats(words, &s.size, 1) &&
                 (words >> s.texture);
            if (ok) out.suits.back().skins.push_back(s);
        } else if (key == "skill") {
            CharacterSkillSource s;
            ok = (words >> s.name >> s.frames) && s.frames > 0 && s.frames <= 1000 &&
                 ReadCharacterFloats(words, &s.duration, 1) && s.duration > 0;
            out.skills.push_back(s);
        } else if (key == "travel") {
            ok = skill != nullptr && ReadCharacterFloats(words, skill->travel.data(), 3);
        } else if (key == "turn") {
            ok = skill != nullptr && ReadCharacterFloats(words, &skill->turn, 1);
        } else if (key == "swing") {
            std::string bone;
            float degrees = 0;
            ok = skill != nullptr && (words >> bone) && ReadCharacterFloats(words, &degrees, 1);
            if (ok) skill->swings.emplace_back(bone, degrees);
        } else if (key == "event") {
            CharacterEventSource e;
            ok = skill != nullptr && (words >> e.bone >> e.frame) && e.frame >= 0 && e.frame < skill->frames;
            std::string pair;
            while (ok && words >> pair) {
                const size_t eq = pair.find('=');
                ok = eq != std::string::npos && eq > 0;
                if (ok) e.pairs.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
            }
            if (ok) skill->events.push_back(e);
        } else {
            return KeywordResult::kUnknown;
        }
        return ok ? KeywordResult::kTaken : KeywordResult::kBadValue;
    });
    if (!read) return false;
    if (out.skeleton.empty() || out.bones.empty()) {
        error = name + ": no skeleton";
        return false;
    }
    return true;
}

bool WriteCharacterSource(const CharacterSource& source, const std::string& root, std::string& error) {
    const std::filesystem::path base(root);
    CharacterFileContents all, skillsOnly;
    auto* skeleton = new Skeleton(source.skeleton);
    for (const auto& b : source.bones) {
        auto bone = std::make_unique<Bone>(b.name, b.parent);
        bone->translation = {b.offset[0], b.offset[1], b.offset[2]};
        skeleton->AddBone(std::move(bone));
    }
    all.skeletons.push_back(skeleton);
    std::map<std::string, BodyMesh> meshes;
    for (const CharacterSuitSource& s : source.suits) {
        auto* suit = new Suit;
        suit->name = s.name;
        suit->type = s.type;
        for (const CharacterSkinSource& k : s.skins) {
            Skin* skin = suit->AddSkin();
            skin->boneName = k.bone;
            skin->meshName = k.mesh;
            skin->flags = 1;
            if (meshes.count(k.mesh) == 0) {
                std::array<float, 3> reach{};
                for (const auto& b : source.bones) {
                    if (b.parent == k.bone) {
                        reach = b.offset;
                        break;
                    }
                }
                meshes.emplace(k.mesh, MakeCharacterBoxMesh(k, reach));
            }
        }
        all.suits.push_back(suit);
    }
    bool ok = true;
    for (const CharacterSkillSource& s : source.skills) {
        std::vector<Vector3> translations;
        std::vector<Quaternion> rotations;
        Skill* skill = MakeCharacterSkill(s, translations, rotations);
        all.skills.push_back(skill);
        ok = ok && SaveCharacterOutput(base / "Animation" / (s.name + ".cfp"),
                                       EncodeCompressedKeyframes(translations, rotations), error);
    }
    skillsOnly.skills = all.skills;
    for (const auto& [name, mesh] : meshes) {
        ok = ok && SaveCharacterOutput(base / "Skins" / (name + ".skn"), WriteBodyMesh(mesh, true), error);
    }
    ok = ok && SaveCharacterOutput(base / "Skins" / (source.file + ".cmx"), WriteCharacterFile(all, true), error);
    const std::string skillsFile = source.file + "-skills";
    ok = ok && SaveCharacterOutput(base / "cmx" / (skillsFile + ".bcf"), WriteCharacterFile(skillsOnly, false), error);
    CharacterIndex index;
    for (const Skill* s : all.skills) index.skills.emplace_back(s->name, skillsFile);
    ok = ok && SaveCharacterOutput(base / "cmx" / (skillsFile + ".ndx"), WriteCharacterIndex(index), error);
    for (auto* o : all.skeletons) o->Release();
    for (auto* o : all.suits) o->Release();
    for (auto* o : all.skills) o->Release();
    return ok;
}
