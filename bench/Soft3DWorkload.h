// The people's drawing workload shared by the software 3D device's benchmark
// and its baseline: 8 spheres of 1,984 triangles, each at most 20,000 pixels
// of a 1024 x 768 target, given straight in clip space (w = 1), with a
// 64 x 64 checker texture and two directional lights.
#pragma once

#include "platform/Soft3DDevice.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace soft3d_bench {

using platform::Soft3DVertex;

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kSlices = 32, kStacks = 32;

// A sphere of `radius` pixels around (cx, cy), given straight in clip space.
inline void Sphere(float cx, float cy, float radius, std::vector<Soft3DVertex>& v, std::vector<uint16_t>& idx) {
    const auto base = static_cast<uint16_t>(v.size());
    for (int i = 0; i <= kStacks; ++i)
        for (int j = 0; j <= kSlices; ++j) {
            const float theta = 3.14159265f * i / kStacks, phi = 2 * 3.14159265f * j / kSlices;
            const float nx = std::sin(theta) * std::cos(phi), ny = std::cos(theta), nz = -std::sin(theta) * std::sin(phi);
            Soft3DVertex p{};
            p.x = (cx + radius * nx) / (kWidth / 2.0f) - 1;
            p.y = 1 - (cy + radius * ny) / (kHeight / 2.0f);
            p.z = 0.5f + 0.2f * nz;
            p.nx = nx, p.ny = ny, p.nz = nz;
            p.u = 4.0f * j / kSlices, p.v = 4.0f * i / kStacks;
            v.push_back(p);
        }
    for (int i = 0; i < kStacks; ++i)
        for (int j = 0; j < kSlices; ++j) {
            const int a = i * (kSlices + 1) + j, b = a + kSlices + 1;
            if (i > 0) idx.insert(idx.end(), {uint16_t(base + a), uint16_t(base + b), uint16_t(base + a + 1)});
            if (i < kStacks - 1) idx.insert(idx.end(), {uint16_t(base + a + 1), uint16_t(base + b), uint16_t(base + b + 1)});
        }
}

struct Workload {
    std::vector<std::vector<Soft3DVertex>> meshes = std::vector<std::vector<Soft3DVertex>>(8);
    std::vector<std::vector<uint16_t>> indices = std::vector<std::vector<uint16_t>>(8);
    // 565 texels, rows from the top.
    std::vector<uint16_t> texture = std::vector<uint16_t>(64 * 64);
    size_t triangles = 0;

    Workload() {
        // Radius 79 keeps each mesh under 20,000 pixels (pi * 79^2).
        for (int m = 0; m < 8; ++m) {
            Sphere(128 + 256 * (m % 4), 192 + 384 * (m / 4), 79, meshes[m], indices[m]);
            triangles += indices[m].size() / 3;
        }
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) texture[y * 64 + x] = ((x / 8 + y / 8) % 2) ? 0xFFFF : 0xF800;
    }
};

// Both lights and the ambient level as the two renderers are given them.
inline constexpr float kLight0Direction[3] = {0, 0, 1}, kLight0Colour[3] = {1, 1, 1};
inline constexpr float kLight1Direction[3] = {1, 0, 0}, kLight1Colour[3] = {0.3f, 0.3f, 0.5f};
inline constexpr float kAmbient = 0x30 / 255.0f;

}  // namespace soft3d_bench
