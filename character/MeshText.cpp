#include "character/MeshText.h"

#include "framework/cDataFileCatalog.h"
#include "framework/cRZSearchPath.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <istream>
#include <vector>

namespace {

std::string& MeshFolders() {
    static std::string path = "Meshes; ../Meshes";
    return path;
}

// The blank-separated words of a line.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool ToFloat(std::string_view word, float& out) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), out);
    return error == std::errc() && end == word.data() + word.size() && std::isfinite(out);
}

bool ToIndex(std::string_view word, size_t limit, uint32_t& out) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), out);
    return error == std::errc() && end == word.data() + word.size() && out < limit;
}

}  // namespace

uint32_t ReadMeshText(std::string_view text, Mesh3D& out, int* line) {
    if (line) *line = 0;
    std::vector<Vector3> positions;
    std::vector<MeshUV> uvs;
    int number = 0;
    const auto fail = [&] {
        if (line) *line = number;
        return kMeshReadError;
    };
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view content = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (const size_t hash = content.find('#'); hash != std::string_view::npos) content = content.substr(0, hash);
        const std::vector<std::string_view> w = Words(content);
        if (w.empty()) continue;
        if (w[0] == "p" && w.size() == 4) {
            Vector3 p;
            if (!ToFloat(w[1], p.x) || !ToFloat(w[2], p.y) || !ToFloat(w[3], p.z)) return fail();
            positions.push_back(p);
        } else if (w[0] == "t" && w.size() == 3) {
            MeshUV uv;
            if (!ToFloat(w[1], uv.u) || !ToFloat(w[2], uv.v)) return fail();
            uvs.push_back(uv);
        } else if (w[0] == "m" && w.size() == 2) {
            // A render mesh draws at most this many material groups.
            const std::string name(w[1]);
            const auto& names = out.MaterialNames();
            if (names.size() >= kMaxMeshMaterials && std::find(names.begin(), names.end(), name) == names.end())
                return fail();
            out.SetMaterial(name.c_str());
        } else if (w[0] == "f" && w.size() == 7) {
            uint32_t p[3], t[3];
            for (int k = 0; k < 3; ++k)
                if (!ToIndex(w[1 + 2 * k], positions.size(), p[k]) || !ToIndex(w[2 + 2 * k], uvs.size(), t[k]))
                    return fail();
            out.AddTriangle(positions[p[0]], uvs[t[0]], positions[p[1]], uvs[t[1]], positions[p[2]], uvs[t[2]],
                            nullptr, true);
        } else {
            return fail();
        }
    }
    out.ComputeNormals();
    out.ComputeBounds();
    return 0;
}

std::string WriteMeshText(const Mesh3D& mesh) {
    std::string text;
    char buffer[128];
    for (const Vector3& p : mesh.Positions()) {
        std::snprintf(buffer, sizeof buffer, "p %.9g %.9g %.9g\n", p.x, p.y, p.z);
        text += buffer;
    }
    for (const MeshUV& uv : mesh.TexCoords()) {
        std::snprintf(buffer, sizeof buffer, "t %.9g %.9g\n", uv.u, uv.v);
        text += buffer;
    }
    int current = -1;
    const auto& names = mesh.MaterialNames();
    for (const MeshTriangle& t : mesh.Triangles()) {
        if (t.material != current && t.material < names.size()) {
            text += "m " + names[t.material] + "\n";
            current = t.material;
        }
        text += "f";
        for (uint32_t v : t.vertex) {
            const MeshVertex& vertex = mesh.Vertices()[v];
            text += " " + std::to_string(vertex.position) + " " + std::to_string(vertex.texCoord);
        }
        text += "\n";
    }
    return text;
}

void AddCube(Mesh3D& mesh, float side) {
    const float h = side / 2;
    // Per face: the outward axis and its sign, then two axes across it.
    static const int kFaces[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {1, 0, 2}, {2, 1, 0}};
    for (int f = 0; f < 6; ++f) {
        const float sign = f < 3 ? 1.0f : -1.0f;
        Vector3 corner[4];
        static const float kSpan[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (int c = 0; c < 4; ++c) {
            float v[3];
            v[kFaces[f][0]] = sign * h;
            v[kFaces[f][1]] = kSpan[c][0] * h;
            v[kFaces[f][2]] = kSpan[c][1] * h;
            corner[c] = {v[0], v[1], v[2]};
        }
        const float u0 = 2.0f * static_cast<float>(f);
        const MeshUV uv[4] = {{u0, 0}, {u0 + 1, 0}, {u0 + 1, 1}, {u0, 1}};
        // Counter-clockwise seen from outside, whichever way the face points.
        mesh.AddTriangle(corner[0], uv[0], corner[1], uv[1], corner[2], uv[2], nullptr, true);
        mesh.AddTriangle(corner[0], uv[0], corner[2], uv[2], corner[3], uv[3], nullptr, true);
    }
    mesh.ComputeNormals();
    mesh.ComputeBounds();
}

uint32_t LoadMesh(const std::string& name, Mesh3D& out, int* line) {
    if (line) *line = 0;
    cDataFileCatalog& catalog = GetDataFileCatalog();
    const uint32_t type = MakeTypeCode("Mesh");
    catalog.RegisterType(type);
    catalog.AddSubType(type, MakeTypeCode("MSB"));
    catalog.AddSubType(type, MakeTypeCode("MSH"));
    const cRZSearchPath path(MeshFolders().c_str());
    cDataFileCatalog::DirectoryList directories;
    for (int i = 0; i < path.GetCount(); ++i) directories.push_back(path.GetDirectory(i).c_str());
    cDataFileHandle handle;
    if (catalog.OpenByName(handle, directories, type, name.c_str()) != kDataFileOk || !handle.GetStream())
        return kMeshNotFound;
    if (handle.GetTypeCode() != MakeTypeCode("MSH")) return kMeshKindNotReadable;
    if (handle.GetSize() > kMaxMeshFileBytes) return kMeshReadError;
    std::string bytes(handle.GetSize(), '\0');
    handle.GetStream()->read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(handle.GetStream()->gcount()));
    return ReadMeshText(bytes, out, line);
}

void SetMeshSearchPath(const std::string& path) { MeshFolders() = path; }
