#include "character/MeshFile.h"

#include "character/BodyMesh.h"
#include "character/CharacterStreams.h"

namespace tova {

std::unique_ptr<BodyMesh> ReadBodyMesh(std::string_view bytes, bool text, std::string* error) {
    CharacterTextIn textIn(bytes);
    CharacterBinaryIn binaryIn(bytes);
    CharacterIn& in = text ? static_cast<CharacterIn&>(textIn) : binaryIn;
    auto mesh = std::make_unique<BodyMesh>();
    auto fail = [&](const char* why) -> std::unique_ptr<BodyMesh> {
        if (error != nullptr) *error = why;
        return nullptr;
    };
    const size_t limit = text ? kLongNameBuffer : kShortNameBuffer;
    int32_t count = 0;
    if (!in.Name(mesh->name, limit) || !in.Name(mesh->material, limit) || !in.Count(count, 1)) {
        return fail("truncated mesh header");
    }
    for (int32_t i = 0; i < count; ++i) {
        std::string bone;
        if (!in.Name(bone, limit)) return fail("truncated bone names");
        mesh->AddBoneName(bone);
    }
    if (!in.Count(count, 12)) return fail("truncated faces");
    mesh->faces.resize(count);
    for (auto& f : mesh->faces) {
        if (!in.Int(f[0]) || !in.Int(f[1]) || !in.Int(f[2])) return fail("truncated faces");
    }
    if (!in.Count(count, 20)) return fail("truncated bindings");
    mesh->bindings.resize(count);
    for (MeshBinding& b : mesh->bindings) {
        if (!in.Int(b.bone) || !in.Int(b.firstVertex) || !in.Int(b.vertexCount) || !in.Int(b.firstBlended) ||
            !in.Int(b.blendedCount)) {
            return fail("truncated bindings");
        }
    }
    if (!in.Count(count, 8)) return fail("truncated texture coordinates");
    if (count > BodyMesh::kMaxVertices) return fail("more than 65535 vertices");
    mesh->texCoords.resize(count);
    for (auto& uv : mesh->texCoords) {
        if (!in.Float(uv[0]) || !in.Float(uv[1])) return fail("truncated texture coordinates");
    }
    if (!in.Count(count, 8)) return fail("truncated blends");
    mesh->blends.resize(count);
    for (MeshBlend& b : mesh->blends) {
        const bool ok = text ? (in.Int(b.vertex) && in.Int(b.weight)) : (in.Int(b.weight) && in.Int(b.vertex));
        if (!ok) return fail("truncated blends");
    }
    if (!in.Count(count, 24)) return fail("truncated vertices");
    if (count > BodyMesh::kMaxVertices) return fail("more than 65535 vertices");
    mesh->vertices.resize(count);
    for (auto& v : mesh->vertices) {
        for (float& f : v) {
            if (!in.Float(f)) return fail("truncated vertices");
        }
    }
    const std::string wrong = mesh->Check();
    if (!wrong.empty()) {
        if (error != nullptr) *error = wrong;
        return nullptr;
    }
    return mesh;
}

std::string WriteBodyMesh(const BodyMesh& mesh, bool text) {
    CharacterTextOut textOut;
    CharacterBinaryOut binaryOut;
    CharacterOut& out = text ? static_cast<CharacterOut&>(textOut) : binaryOut;
    out.Name(mesh.name);
    out.Name(mesh.material);
    out.Int(static_cast<int32_t>(mesh.boneNames.size()));
    for (const std::string& b : mesh.boneNames) out.Name(b);
    out.Int(static_cast<int32_t>(mesh.faces.size()));
    for (const auto& f : mesh.faces) {
        for (int32_t v : f) out.Int(v);
    }
    out.Int(static_cast<int32_t>(mesh.bindings.size()));
    for (const MeshBinding& b : mesh.bindings) {
        out.Int(b.bone);
        out.Int(b.firstVertex);
        out.Int(b.vertexCount);
        out.Int(b.firstBlended);
        out.Int(b.blendedCount);
    }
    out.Int(static_cast<int32_t>(mesh.texCoords.size()));
    for (const auto& uv : mesh.texCoords) {
        out.Float(uv[0]);
        out.Float(uv[1]);
    }
    out.Int(static_cast<int32_t>(mesh.blends.size()));
    for (const MeshBlend& b : mesh.blends) {
        out.Int(text ? b.vertex : b.weight);
        out.Int(text ? b.weight : b.vertex);
    }
    out.Int(static_cast<int32_t>(mesh.vertices.size()));
    for (const auto& v : mesh.vertices) {
        for (float f : v) out.Float(f);
    }
    return out.Bytes();
}

}  // namespace tova
