// view3d: draws a mesh through the AnimDevice and the software 3D device and
// writes the picture as PNG, for checking lighting, texturing and depth by
// eye.
//
//   view3d --mesh cube [--texture FILE] [--lights N] --out OUT.png
//
// The cube is built in code and turned to show three faces, 256 x 256 at 16
// bits (565), lit by N directional lights (2 unless given) and the ambient
// colour. A texture (BMP or PPM) is found by name in its folder, the way the
// game finds textures in its search path, and modulates the lit colour.
// Prints the box of the pixels drawn; a failure prints the layer's text for
// its code and exits 1.
#include "character/AnimDevice.h"
#include "character/DirectXErrorText.h"
#include "character/TextureCache.h"
#include "platform/PngFile.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using platform::Soft3DMatrix;
using platform::Soft3DVertex;

constexpr int32_t kSide = 256;

int Usage() {
    std::fprintf(stderr, "usage: view3d --mesh cube [--texture FILE] [--lights N] --out OUT.png\n");
    return 2;
}

int Fail(uint32_t code) {
    std::printf("%s\n", GetDirectXErrorText(code));
    return 1;
}

// A unit cube around the origin: four vertices a face with the face's
// normal and the whole texture on each face.
void BuildCube(std::vector<Soft3DVertex>& vertices, std::vector<uint16_t>& indices) {
    static const float kFaces[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const auto& n : kFaces) {
        // Two axes across the face.
        const float a[3] = {n[1] != 0 || n[2] != 0 ? 1.0f : 0.0f, n[0] != 0 ? 1.0f : 0.0f, 0};
        const float b[3] = {n[1] * a[2] - n[2] * a[1], n[2] * a[0] - n[0] * a[2], n[0] * a[1] - n[1] * a[0]};
        const uint16_t base = static_cast<uint16_t>(vertices.size());
        static const float kCorners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& c : kCorners) {
            Soft3DVertex v{};
            v.x = 0.5f * (n[0] + c[0] * a[0] + c[1] * b[0]);
            v.y = 0.5f * (n[1] + c[0] * a[1] + c[1] * b[1]);
            v.z = 0.5f * (n[2] + c[0] * a[2] + c[1] * b[2]);
            v.nx = n[0];
            v.ny = n[1];
            v.nz = n[2];
            v.u = (c[0] + 1) * 0.5f;
            v.v = (c[1] + 1) * 0.5f;
            vertices.push_back(v);
        }
        for (uint16_t i : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<uint16_t>(base + i));
    }
}

Soft3DMatrix RotationX(float a) {
    Soft3DMatrix m = Soft3DMatrix::Identity();
    m.m[1][1] = std::cos(a);
    m.m[1][2] = std::sin(a);
    m.m[2][1] = -std::sin(a);
    m.m[2][2] = std::cos(a);
    return m;
}

Soft3DMatrix RotationY(float a) {
    Soft3DMatrix m = Soft3DMatrix::Identity();
    m.m[0][0] = std::cos(a);
    m.m[0][2] = -std::sin(a);
    m.m[2][0] = std::sin(a);
    m.m[2][2] = std::cos(a);
    return m;
}

// The camera's projection: depth 0 at the near plane, 1 at the far one,
// the field of view across the square picture.
Soft3DMatrix Projection(float nearZ, float farZ, float fieldOfView) {
    const float t = std::tan(fieldOfView / 2);
    Soft3DMatrix m{};
    m.m[0][0] = 1;
    m.m[1][1] = 1;
    m.m[2][2] = farZ * t / (farZ - nearZ);
    m.m[2][3] = t;
    m.m[3][2] = -farZ * nearZ * t / (farZ - nearZ);
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mesh, texture, out;
    long lights = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        if (arg == "--mesh") {
            mesh = value;
        } else if (arg == "--texture") {
            texture = value;
        } else if (arg == "--out") {
            out = value;
        } else if (arg == "--lights") {
            char* end = nullptr;
            lights = std::strtol(value, &end, 10);
            if (end == value || *end != '\0' || lights < 0) return Usage();
        } else {
            return Usage();
        }
    }
    if (mesh != "cube" || out.empty()) return Usage();

    AnimDevice device;
    if (const uint32_t code = device.InitOwn(nullptr, false, false, kSide, kSide, 16, 1)) return Fail(code);
    platform::Soft3DDevice& d = device.GetSoft3D();
    device.GetRenderTarget()->Fill(nullptr, platform::PackRgb(platform::PixelLayout::Rgb565, 24, 32, 56));

    TextureCache cache(device);
    Texture* tex = nullptr;
    if (!texture.empty()) {
        const std::filesystem::path path(texture);
        device.TexturePath() = cRZSearchPath(path.has_parent_path() ? path.parent_path().string().c_str() : ".");
        if (const uint32_t code = cache.GetTexture(path.stem().string().c_str(), &tex)) return Fail(code);
        d.SetTexture(tex->Surface(), platform::Soft3DTextureOp::Modulate, platform::Soft3DFilter::Linear);
    }

    std::vector<platform::Soft3DLight> rig(static_cast<size_t>(lights));
    static const float kDirections[4][3] = {{-0.6f, -0.8f, 0.5f}, {0.9f, -0.2f, 0.6f}, {0.1f, 0.7f, 0.9f},
                                            {-0.3f, 0.2f, -1.0f}};
    static const float kColours[4][3] = {{0.9f, 0.85f, 0.75f}, {0.35f, 0.4f, 0.6f}, {0.3f, 0.3f, 0.2f},
                                         {0.2f, 0.25f, 0.3f}};
    for (size_t i = 0; i < rig.size(); ++i) {
        for (int k = 0; k < 3; ++k) rig[i].direction[k] = kDirections[i % 4][k];
        rig[i].color = {kColours[i % 4][0], kColours[i % 4][1], kColours[i % 4][2], 1};
    }
    if (!d.SetLights(rig.data(), rig.size())) return Fail(kDDDBadParameter);
    d.SetAmbient(0xFF303030);
    platform::Soft3DMaterial material;
    material.diffuse = {0.95f, 0.95f, 0.95f, 1};
    d.SetMaterial(material);

    // Turned to show its top and two sides, set back from the eye.
    Soft3DMatrix world = Soft3DMatrix::Multiply(RotationY(0.6f), RotationX(-0.55f));
    world.m[3][2] = 2.6f;
    d.SetTransform(platform::Soft3DTransform::World, world);
    d.SetTransform(platform::Soft3DTransform::Projection, Projection(1.0f, 10.0f, 0.7853982f));

    std::vector<Soft3DVertex> vertices;
    std::vector<uint16_t> indices;
    BuildCube(vertices, indices);
    const platform::Rect box = d.DrawIndexed(vertices.data(), 0, static_cast<uint32_t>(vertices.size()), indices.data(),
                                             indices.size(), true);
    if (tex) tex->Release();
    if (box.IsEmpty())
        std::printf("extents empty\n");
    else
        std::printf("extents %d %d %d %d\n", box.left, box.top, box.right, box.bottom);

    std::string error;
    if (!platform::WritePngFile(out, platform::ImageFromSurface(*device.GetRenderTarget()), &error)) {
        std::printf("%s: %s\n", GetDirectXErrorText(kDDDFileWriteError), error.c_str());
        return 1;
    }
    return 0;
}
