// view3d: draws a mesh through the 3D device, a viewport and an indexed
// render mesh, and writes the picture as PNG, for checking meshes,
// lighting, texturing and depth by eye.
//
//   view3d --mesh cube|FILE [--texture FILE] [--lights N] --out OUT.png
//
// "cube" is the code-built cube; FILE is a text mesh (.msh). The picture is
// 256 x 256 at 16 bits (565), seen by a camera that looks at the mesh's box
// from above and in front, lit by N directional lights (2 unless given, at
// most 16) made from light records, and an ambient record. The mesh's
// material names are made by the device's material library; a texture
// (BMP or PPM, found by name in its folder the way the game finds textures
// in its search path) is put on every material. Prints the screen
// rectangle the mesh covered; a failure prints the layer's text for its
// code and exits 1.
#include "character/BodyPicture.h"
#include "character/Camera.h"
#include "character/Device3D.h"
#include "character/DirectXErrorText.h"
#include "character/Material.h"
#include "character/MeshText.h"
#include "character/RenderMesh.h"
#include "character/TextureCache.h"
#include "character/Viewport3D.h"
#include "platform/PngFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int32_t kSide = 256;

int Usage() {
    std::fprintf(stderr, "usage: view3d --mesh cube|FILE [--texture FILE] [--lights N] --out OUT.png\n");
    return 2;
}

int Fail(uint32_t code) {
    std::printf("%s\n", GetDirectXErrorText(code));
    return 1;
}

std::vector<LightRecord> Lights(size_t count) {
    static const float kDirections[4][3] = {{0.6f, -0.8f, 0.5f}, {-0.9f, -0.2f, 0.6f}, {-0.1f, 0.7f, 0.9f},
                                            {0.3f, 0.2f, -1.0f}};
    static const float kColours[4][3] = {{0.9f, 0.85f, 0.75f}, {0.35f, 0.4f, 0.6f}, {0.3f, 0.3f, 0.2f},
                                         {0.2f, 0.25f, 0.3f}};
    std::vector<LightRecord> records(count);
    for (size_t i = 0; i < count; ++i) {
        records[i].type = static_cast<int32_t>(LightRecordType::Directional);
        std::memcpy(records[i].direction, kDirections[i % 4], sizeof records[i].direction);
        std::memcpy(records[i].color, kColours[i % 4], sizeof records[i].color);
    }
    LightRecord ambient;
    ambient.color[0] = ambient.color[1] = ambient.color[2] = 0.19f;
    records.push_back(ambient);
    return records;
}

struct ReleaseMesh {
    void operator()(RenderMesh* mesh) const { mesh->Release(); }
};
struct ReleaseTexture {
    void operator()(Texture* texture) const { texture->Release(); }
};

}  // namespace

int main(int argc, char** argv) {
    std::string meshArg, texture, out;
    long lights = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        if (arg == "--mesh") {
            meshArg = value;
        } else if (arg == "--texture") {
            texture = value;
        } else if (arg == "--out") {
            out = value;
        } else if (arg == "--lights") {
            char* end = nullptr;
            lights = std::strtol(value, &end, 10);
            if (end == value || *end != '\0' || lights < 0 || lights > 16) return Usage();
        } else {
            return Usage();
        }
    }
    if (meshArg.empty() || out.empty()) return Usage();

    AnimDevice anim;
    if (const uint32_t code = anim.InitOwn(nullptr, false, false, kSide, kSide, 16, 1)) return Fail(code);
    Device3D device;
    if (const uint32_t code = device.Init(anim)) return Fail(code);
    std::unique_ptr<Texture, ReleaseTexture> tex;
    if (!texture.empty()) {
        const std::filesystem::path path(texture);
        anim.TexturePath() = cRZSearchPath(path.has_parent_path() ? path.parent_path().string().c_str() : ".");
        Texture* loaded = nullptr;
        if (const uint32_t code = device.GetTexture(path.stem().string().c_str(), &loaded)) return Fail(code);
        tex.reset(loaded);
    }

    std::unique_ptr<RenderDIPVBMesh, ReleaseMesh> mesh(new RenderDIPVBMesh(device));
    Mesh3D& m = mesh->MarkChanged();
    if (meshArg == "cube") {
        AddCube(m, 1.0f);
    } else {
        std::ifstream in(meshArg, std::ios::binary);
        if (!in) return Fail(kMeshNotFound);
        std::stringstream text;
        text << in.rdbuf();
        int line = 0;
        if (const uint32_t code = ReadMeshText(text.str(), m, &line)) {
            std::printf("%s (line %d)\n", GetDirectXErrorText(code), line);
            return 1;
        }
    }
    if (const uint32_t code = mesh->BindMaterials()) return Fail(code);
    mesh->SetMode(1);
    if (tex) {
        for (size_t i = 0; i < mesh->GroupCount(); ++i)
            if (Material* material = mesh->GetGroup(i).material) material->SetTexture(tex.get());
    }

    Viewport3D* viewport = nullptr;
    if (const uint32_t code = device.CreateViewport(nullptr, &viewport)) return Fail(code);
    if (const uint32_t code = tova::chr::LookAtBox(*viewport, mesh->GetBounds())) return Fail(code);
    if (const uint32_t code = viewport->SetLights(Lights(static_cast<size_t>(lights)))) return Fail(code);

    anim.GetRenderTarget()->Fill(nullptr, platform::PackRgb(platform::PixelLayout::Rgb565, 24, 32, 56));
    anim.GetZBuffer()->Fill(nullptr, 0xFFFF);
    if (const uint32_t code = viewport->BeginScene(true)) return Fail(code);
    const uint32_t drawn = mesh->Render(*viewport, 0);
    viewport->EndScene();
    const cRZRect rect = mesh->ScreenRect();
    if (drawn) return Fail(drawn);
    if (IsEmptyScreenRect(rect))
        std::printf("screen rect empty\n");
    else
        std::printf("screen rect %d %d %d %d\n", rect.left, rect.top, rect.right, rect.bottom);

    std::string error;
    if (!platform::WritePngFile(out, platform::ImageFromSurface(*anim.GetRenderTarget()), &error)) {
        std::printf("%s: %s\n", GetDirectXErrorText(kDDDFileWriteError), error.c_str());
        return 1;
    }
    return 0;
}
