#include "character/CharacterDump.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "character/BodyMesh.h"
#include "character/PropertyList.h"
#include "character/Skeleton.h"
#include "character/Skill.h"
#include "character/Suit.h"

namespace tova {

namespace {

std::string DumpNumber(double v) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.6f", v);
    return buffer;
}

std::string DumpVector(const Vector3& v) { return DumpNumber(v.x) + " " + DumpNumber(v.y) + " " + DumpNumber(v.z); }

std::string DumpQuaternion(const Quaternion& q) {
    return DumpNumber(q.x) + " " + DumpNumber(q.y) + " " + DumpNumber(q.z) + " " + DumpNumber(q.w);
}

std::string DumpProperties(const PropertyList* list, const std::string& indent) {
    std::string out;
    if (list == nullptr) return out;
    for (int i = 0; i < list->Count(); ++i) out += indent + "prop " + list->Key(i) + "=" + list->Value(i) + "\n";
    return out;
}

// Siblings by name: their order turns over each time a file is written and
// read again.
void DumpBones(const Bone* first, const std::string& indent, std::string& out) {
    std::vector<const Bone*> siblings;
    for (const Bone* b = first; b != nullptr; b = b->NextSibling()) siblings.push_back(b);
    std::stable_sort(siblings.begin(), siblings.end(),
                     [](const Bone* a, const Bone* b) { return a->Name() < b->Name(); });
    for (const Bone* bone : siblings) {
        out += indent + "bone " + bone->Name() + " parent " + bone->ParentName() + " flags " +
               std::to_string(bone->flags[0]) + " " + std::to_string(bone->flags[1]) + " " +
               std::to_string(bone->flags[2]) + " wiggle " + std::to_string(bone->WigglePower()) + " " +
               DumpNumber(bone->wiggleValue) + (bone->IsKeyBone() ? " key" : "") + "\n";
        out += indent + "  t " + DumpVector(bone->translation) + "\n";
        out += indent + "  r " + DumpQuaternion(bone->rotation) + "\n";
        out += DumpProperties(bone->Properties(), indent + "  ");
        DumpBones(bone->FirstChild(), indent + "  ", out);
    }
}

}  // namespace

std::string DumpSkeleton(const Skeleton& skeleton) {
    std::string out = "skeleton " + skeleton.name + " bones " + std::to_string(skeleton.BoneCount()) + "\n";
    DumpBones(skeleton.Root(), "  ", out);
    return out;
}

std::string DumpBodyMesh(const BodyMesh& mesh, const std::string& indent) {
    std::string out = indent + "mesh " + mesh.name + " material " + mesh.material + "\n";
    out += indent + "  bones";
    for (const std::string& b : mesh.boneNames) out += " " + b;
    out += "\n";
    for (const auto& f : mesh.faces) {
        out += indent + "  face " + std::to_string(f[0]) + " " + std::to_string(f[1]) + " " + std::to_string(f[2]) + "\n";
    }
    for (const MeshBinding& b : mesh.bindings) {
        out += indent + "  binding " + std::to_string(b.bone) + " " + std::to_string(b.firstVertex) + " " +
               std::to_string(b.vertexCount) + " " + std::to_string(b.firstBlended) + " " +
               std::to_string(b.blendedCount) + "\n";
    }
    for (const auto& uv : mesh.texCoords) out += indent + "  uv " + DumpNumber(uv[0]) + " " + DumpNumber(uv[1]) + "\n";
    for (const MeshBlend& b : mesh.blends) {
        out += indent + "  blend " + std::to_string(b.weight) + " " + std::to_string(b.vertex) + "\n";
    }
    for (const auto& v : mesh.vertices) {
        out += indent + "  vertex";
        for (float f : v) out += " " + DumpNumber(f);
        out += "\n";
    }
    return out;
}

std::string DumpSuit(const Suit& suit) {
    std::string out = "suit " + suit.name + " type " + std::to_string(suit.type) + " skins " +
                      std::to_string(suit.skins.size()) + "\n";
    out += DumpProperties(suit.Properties(), "  ");
    for (const auto& skin : suit.skins) {
        out += "  skin " + skin->boneName + " mesh " + skin->meshName + " flags " + std::to_string(skin->flags) + "\n";
        out += DumpProperties(skin->Properties(), "    ");
        if (skin->Mesh() != nullptr) out += DumpBodyMesh(*skin->Mesh(), "    ");
    }
    return out;
}

std::string DumpSkill(const Skill& skill) {
    std::string out = "skill " + skill.name + " data " + skill.motionDataName + " duration " +
                      DumpNumber(skill.duration) + " distance " + DumpNumber(skill.distance) + " moving " +
                      std::to_string(skill.moving) + " translations " + std::to_string(skill.translationCount) +
                      " rotations " + std::to_string(skill.rotationCount) + "\n";
    for (const auto& m : skill.motions) {
        out += "  motion " + m->boneName + " frames " + std::to_string(m->frameCount) + " duration " +
               DumpNumber(m->duration) + " translations " + std::to_string(m->hasTranslations) + " " +
               std::to_string(m->firstTranslation) + " rotations " + std::to_string(m->hasRotations) + " " +
               std::to_string(m->firstRotation) + "\n";
        out += DumpProperties(m->Properties(), "    ");
        if (const TimePropertyList* events = m->Events()) {
            for (int i = 0; i < events->Count(); ++i) {
                out += "    event " + std::to_string(events->At(i).time) + "\n";
                out += DumpProperties(events->At(i).list, "      ");
            }
        }
    }
    if (skill.motionDataLoaded) {
        for (const Vector3& t : skill.translations) out += "  key t " + DumpVector(t) + "\n";
        for (const Quaternion& q : skill.rotations) out += "  key r " + DumpQuaternion(q) + "\n";
    }
    return out;
}

}  // namespace tova
