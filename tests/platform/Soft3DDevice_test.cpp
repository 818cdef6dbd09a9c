#include "platform/Soft3DDevice.h"

#include "platform/PngFile.h"
#include "support/GoldenImage.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using platform::PixelLayout;
using platform::Rect;
using platform::Soft3DDevice;
using platform::Soft3DLight;
using platform::Soft3DMaterial;
using platform::Soft3DMatrix;
using platform::Soft3DTransform;
using platform::Soft3DVertex;
using platform::Surface;

constexpr uint16_t kBackground = 0x0841;  // a dark grey no draw here produces

struct Target {
    std::unique_ptr<Surface> color, depth;
    Target(int w, int h, PixelLayout layout = PixelLayout::Rgb565) {
        color = Surface::Create(w, h, layout);
        depth = Surface::Create(w, h, PixelLayout::Depth16);
        color->Fill(nullptr, kBackground);
        depth->Fill(nullptr, 0xFFFF);
    }
};

// Vertices given straight in clip space (identity transforms, w = 1).
Soft3DVertex V(float x, float y, float z, float u = 0, float v = 0) { return {x, y, z, 0, 0, -1, u, v}; }

// A perspective projection: depth 0 at `nearZ`, 1 at `farZ`, 90 degrees.
Soft3DMatrix Perspective(float nearZ, float farZ) {
    Soft3DMatrix m{};
    m.m[0][0] = 1;
    m.m[1][1] = 1;
    m.m[2][2] = farZ / (farZ - nearZ);
    m.m[2][3] = 1;
    m.m[3][2] = -farZ * nearZ / (farZ - nearZ);
    return m;
}

Soft3DDevice Unlit(Target& t) {
    Soft3DDevice d;
    EXPECT_TRUE(d.SetTarget(t.color.get(), t.depth.get()));
    d.SetViewport(t.color->Bounds());
    d.SetLighting(false);
    return d;
}

Rect Draw(Soft3DDevice& d, const std::vector<Soft3DVertex>& v, const std::vector<uint16_t>& i, bool clip = true) {
    return d.DrawIndexed(v.data(), 0, static_cast<uint32_t>(v.size()), i.data(), i.size(), clip);
}

// The box of pixels that differ between two same-sized surfaces.
Rect ChangedBox(const Surface& a, const Surface& b) {
    Rect box = Soft3DDevice::EmptyExtents();
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel16(x, y) != b.Pixel16(x, y)) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

std::unique_ptr<Surface> Checker(int size, int cells, uint16_t a, uint16_t b) {
    auto t = Surface::Create(size, size, PixelLayout::Rgb565);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) t->SetPixel(x, y, ((x * cells / size) + (y * cells / size)) % 2 ? b : a);
    return t;
}

TEST(Soft3DDevice, TwoIntersectingLitTriangles) {
    Target t(64, 64);
    Soft3DDevice d;
    ASSERT_TRUE(d.SetTarget(t.color.get(), t.depth.get()));
    d.SetViewport(t.color->Bounds());
    Soft3DLight light;
    light.direction[0] = 0.3f;
    light.direction[1] = -0.4f;
    light.direction[2] = 1.0f;
    ASSERT_TRUE(d.SetLights(&light, 1));
    d.SetAmbient(0xFF303030);
    // Each triangle leans in depth the other way, so they cross.
    std::vector<Soft3DVertex> a{{-0.9f, -0.8f, 0.1f, -0.5f, 0, -1, 0, 0},
                                {0.9f, -0.6f, 0.9f, 0.5f, 0, -1, 0, 0},
                                {0.0f, 0.9f, 0.5f, 0, 0.5f, -1, 0, 0}};
    std::vector<Soft3DVertex> b{{-0.9f, 0.7f, 0.9f, 0, -0.5f, -1, 0, 0},
                                {0.8f, 0.8f, 0.1f, 0.5f, 0.5f, -1, 0, 0},
                                {0.1f, -0.9f, 0.5f, 0, 0, -1, 0, 0}};
    Soft3DMaterial red;
    red.diffuse = {1.0f, 0.3f, 0.2f, 1};
    d.SetMaterial(red);
    Draw(d, a, {0, 1, 2});
    Soft3DMaterial blue;
    blue.diffuse = {0.2f, 0.5f, 1.0f, 1};
    d.SetMaterial(blue);
    Draw(d, b, {0, 1, 2});
    EXPECT_TRUE(tova_test::MatchesGolden(platform::ImageFromSurface(*t.color), "platform/golden/soft3d_intersecting.png"));
}

TEST(Soft3DDevice, TexturedPointAndLinear) {
    auto texture = Checker(8, 4, 0xFFFF, 0x001F);
    Target t(128, 64);
    Soft3DDevice d = Unlit(t);
    d.SetTransform(Soft3DTransform::Projection, Perspective(1, 10));
    // A floor-like quad receding from the eye, its texture repeated twice.
    std::vector<Soft3DVertex> quad{{-1.5f, -1, 1.2f, 0, 0, -1, 0, 2},
                                   {1.5f, -1, 1.2f, 0, 0, -1, 2, 2},
                                   {1.5f, 0.4f, 6, 0, 0, -1, 2, 0},
                                   {-1.5f, 0.4f, 6, 0, 0, -1, 0, 0}};
    const std::vector<uint16_t> indices{0, 1, 2, 0, 2, 3};
    ASSERT_TRUE(d.SetTexture(texture.get(), platform::Soft3DTextureOp::Select, platform::Soft3DFilter::Point));
    d.SetViewport({0, 0, 64, 64});
    Draw(d, quad, indices);
    ASSERT_TRUE(d.SetTexture(texture.get(), platform::Soft3DTextureOp::Select, platform::Soft3DFilter::Linear));
    d.SetViewport({64, 0, 128, 64});
    Draw(d, quad, indices);
    EXPECT_TRUE(tova_test::MatchesGolden(platform::ImageFromSurface(*t.color), "platform/golden/soft3d_textured.png"));
    // Point sampling only ever shows the texture's two colours.
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const uint16_t p = t.color->Pixel16(x, y);
            ASSERT_TRUE(p == kBackground || p == 0xFFFF || p == 0x001F) << x << "," << y;
        }
}

TEST(Soft3DDevice, ClippedByTheNearPlaneAndTheViewport) {
    Target t(64, 64);
    Soft3DDevice d;
    ASSERT_TRUE(d.SetTarget(t.color.get(), t.depth.get()));
    d.SetViewport({8, 8, 56, 48});
    d.SetLighting(false);
    d.SetTransform(Soft3DTransform::Projection, Perspective(1, 10));
    auto texture = Checker(16, 4, 0xF800, 0x07E0);
    ASSERT_TRUE(d.SetTexture(texture.get(), platform::Soft3DTextureOp::Modulate, platform::Soft3DFilter::Point));
    // One vertex behind the eye, the others past the viewport's sides.
    std::vector<Soft3DVertex> tri{{0.5f, -1.5f, -1, 0, 0, -1, 0.5f, 0},
                                  {-5, 1.5f, 3, 0, 0, -1, 0, 1},
                                  {5, 0.5f, 2.5f, 0, 0, -1, 1, 1}};
    const Rect extents = Draw(d, tri, {0, 1, 2});
    EXPECT_FALSE(extents.IsEmpty());
    EXPECT_GE(extents.left, 8);
    EXPECT_GE(extents.top, 8);
    EXPECT_LE(extents.right, 56);
    EXPECT_LE(extents.bottom, 48);
    EXPECT_TRUE(tova_test::MatchesGolden(platform::ImageFromSurface(*t.color), "platform/golden/soft3d_clipped.png"));
}

TEST(Soft3DDevice, SourceColourBlend) {
    Target t(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) t.color->SetPixel(x, y, platform::PackRgb(PixelLayout::Rgb565, x * 4, y * 4, 128));
    Soft3DDevice d;
    ASSERT_TRUE(d.SetTarget(t.color.get(), t.depth.get()));
    d.SetViewport(t.color->Bounds());
    Soft3DLight light;
    ASSERT_TRUE(d.SetLights(&light, 1));
    d.SetBlend(platform::Soft3DBlend::SourceColor);
    std::vector<Soft3DVertex> tri{{-0.9f, -0.9f, 0.5f, 0, 0, -1, 0, 0},
                                  {0.9f, -0.9f, 0.5f, 0, 0, -1, 0, 0},
                                  {0, 0.9f, 0.5f, 0, 0, -1, 0, 0}};
    Soft3DMaterial m;
    m.diffuse = {0.8f, 0.4f, 0.1f, 1};
    d.SetMaterial(m);
    Draw(d, tri, {0, 1, 2});
    EXPECT_TRUE(tova_test::MatchesGolden(platform::ImageFromSurface(*t.color), "platform/golden/soft3d_blend.png"));
    // Spot check against the rule at the centre: s*s + d*(1-s) per channel.
    uint8_t r, g, b, dr, dg, db;
    platform::UnpackRgb(PixelLayout::Rgb565, t.color->Pixel16(32, 40), r, g, b);
    platform::UnpackRgb(PixelLayout::Rgb565, platform::PackRgb(PixelLayout::Rgb565, 128, 160, 128), dr, dg, db);
    const int sr = 204;  // 0.8 of full red, the light falling head on
    EXPECT_NEAR(r, (sr * sr + dr * (255 - sr)) / 255, 8);
}

TEST(Soft3DDevice, DepthTiesAgainstSpriteDepth) {
    Target t(32, 16);
    // Sprites left a depth equal to the triangle's on the left half and a
    // nearer one on the right half.
    const Rect left{0, 0, 16, 16}, right{16, 0, 32, 16};
    t.depth->Fill(&left, 32768);
    t.depth->Fill(&right, 32767);
    Soft3DDevice d = Unlit(t);
    // z = 0.5 stores round(0.5 * 65535) = 32768.
    std::vector<Soft3DVertex> quad{V(-1, -1, 0.5f), V(1, -1, 0.5f), V(1, 1, 0.5f), V(-1, 1, 0.5f)};
    const Rect extents = Draw(d, quad, {0, 1, 2, 0, 2, 3});
    EXPECT_EQ(extents, (Rect{0, 0, 16, 16}));
    EXPECT_EQ(t.color->Pixel16(3, 3), 0xFFFF);
    EXPECT_EQ(t.color->Pixel16(20, 3), kBackground);
    EXPECT_EQ(t.depth->Pixel16(3, 3), 32768);
    EXPECT_EQ(t.depth->Pixel16(20, 3), 32767);
    EXPECT_TRUE(tova_test::MatchesGolden(platform::ImageFromSurface(*t.color), "platform/golden/soft3d_depth_ties.png"));
}

TEST(Soft3DDevice, ExtentsAreTheBoxOfChangedPixels) {
    struct Case {
        std::vector<Soft3DVertex> v;
        bool clip;
    };
    const Case cases[] = {
        {{V(-0.3f, -0.2f, 0.2f), V(0.61f, 0.13f, 0.4f), V(-0.07f, 0.77f, 0.9f)}, true},
        {{V(-2.0f, -0.5f, 0.2f), V(0.3f, 3.0f, 0.4f), V(0.9f, -0.9f, 0.9f)}, true},
        {{V(0.01f, 0.01f, 0.5f), V(0.05f, 0.02f, 0.5f), V(0.02f, 0.06f, 0.5f)}, false},
        {{V(-0.99f, 0.99f, 0.0f), V(0.99f, 0.99f, 1.0f), V(0.99f, -0.99f, 1.0f)}, false},
    };
    for (const Case& c : cases) {
        Target t(48, 40);
        Soft3DDevice d = Unlit(t);
        auto before = Surface::Create(48, 40, PixelLayout::Rgb565);
        before->Blit(*t.color, t.color->Bounds(), t.color->Bounds());
        const Rect extents = Draw(d, c.v, {0, 1, 2}, c.clip);
        EXPECT_EQ(extents, ChangedBox(*before, *t.color));
    }
}

TEST(Soft3DDevice, WhollyClippedDrawsReportNothing) {
    Target t(32, 32);
    Soft3DDevice d = Unlit(t);
    const std::vector<std::vector<Soft3DVertex>> outside{
        {V(-0.5f, -0.5f, -0.2f), V(0.5f, -0.5f, -0.1f), V(0, 0.5f, -0.3f)},  // before the near plane
        {V(-0.5f, -0.5f, 1.2f), V(0.5f, -0.5f, 1.1f), V(0, 0.5f, 1.3f)},     // past the far plane
        {V(1.2f, -0.5f, 0.5f), V(2.5f, -0.5f, 0.5f), V(1.5f, 0.5f, 0.5f)},   // right of the viewport
    };
    for (const auto& v : outside) EXPECT_EQ(Draw(d, v, {0, 1, 2}), Soft3DDevice::EmptyExtents());
    // A viewport outside the target draws nothing either.
    d.SetViewport({40, 40, 80, 80});
    EXPECT_EQ(Draw(d, {V(-1, -1, 0.5f), V(1, -1, 0.5f), V(0, 1, 0.5f)}, {0, 1, 2}), Soft3DDevice::EmptyExtents());
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(t.color->Pixel16(x, y), kBackground);
}

TEST(Soft3DDevice, TrianglesSharingAnEdgeCoverEachPixelOnce) {
    // Quads split along a diagonal, on pixel centres, edges and fractions.
    const std::vector<std::vector<Soft3DVertex>> quads{
        {V(-1, -1, 0.5f), V(1, -1, 0.5f), V(1, 1, 0.5f), V(-1, 1, 0.5f)},
        {V(-0.73f, -0.41f, 0.5f), V(0.66f, -0.87f, 0.5f), V(0.91f, 0.52f, 0.5f), V(-0.38f, 0.77f, 0.5f)},
        {V(-0.5f, -0.5f, 0.5f), V(0.5f, -0.5f, 0.5f), V(0.5f, 0.5f, 0.5f), V(-0.5f, 0.5f, 0.5f)},
        {V(0, -0.9f, 0.5f), V(0.9f, 0, 0.5f), V(0, 0.9f, 0.5f), V(-0.9f, 0, 0.5f)},
    };
    for (const auto& quad : quads) {
        Target a(40, 40), b(40, 40);
        Soft3DDevice da = Unlit(a), db = Unlit(b);
        da.SetDepth(false, false);
        db.SetDepth(false, false);
        Draw(da, quad, {0, 1, 2});
        Draw(db, quad, {2, 0, 3});  // the shared edge runs the other way here
        int covered = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool inA = a.color->Pixel16(x, y) != kBackground, inB = b.color->Pixel16(x, y) != kBackground;
                ASSERT_FALSE(inA && inB) << x << "," << y;
                covered += inA || inB;
            }
        EXPECT_GT(covered, 0);
    }
    // The full-viewport quad covers every pixel exactly once.
    Target whole(40, 40);
    Soft3DDevice d = Unlit(whole);
    d.SetBlend(platform::Soft3DBlend::Off);
    const Rect extents = Draw(d, quads[0], {0, 1, 2, 2, 0, 3});
    EXPECT_EQ(extents, (Rect{0, 0, 40, 40}));
}

TEST(Soft3DDevice, SameInputSamePixels) {
    auto draw = [] {
        Target t(64, 64);
        Soft3DDevice d;
        d.SetTarget(t.color.get(), t.depth.get());
        d.SetViewport(t.color->Bounds());
        Soft3DLight lights[2];
        lights[1].kind = platform::Soft3DLightKind::Point;
        lights[1].position[2] = -2;
        lights[1].color = {0.5f, 0.2f, 0.9f, 1};
        d.SetLights(lights, 2);
        d.SetTransform(Soft3DTransform::Projection, Perspective(1, 10));
        std::vector<Soft3DVertex> tri{{-1, -1, 2, 0, 0, -1, 0, 0}, {1, -0.7f, 3, 0.3f, 0, -1, 1, 0}, {0, 1, 2.5f, 0, 0.3f, -1, 0, 1}};
        d.DrawIndexed(tri.data(), 0, 3, std::vector<uint16_t>{0, 1, 2}.data(), 3, true);
        return platform::ImageFromSurface(*t.color).pixels;
    };
    EXPECT_EQ(draw(), draw());
}

TEST(Soft3DDevice, LightKinds) {
    struct Case {
        const char* name;
        Soft3DLight light;
        float expectedRed;
    };
    auto make = [](platform::Soft3DLightKind kind, float px, float py, float pz, float dx, float dy, float dz) {
        Soft3DLight l;
        l.kind = kind;
        l.color = {1, 0, 0, 1};
        l.position[0] = px, l.position[1] = py, l.position[2] = pz;
        l.direction[0] = dx, l.direction[1] = dy, l.direction[2] = dz;
        return l;
    };
    using K = platform::Soft3DLightKind;
    Case cases[] = {
        {"directional head on", make(K::Directional, 0, 0, 0, 0, 0, 1), 1.0f},
        {"directional at 60 degrees", make(K::Directional, 0, 0, 0, 0, std::sqrt(3.0f) / 2, 0.5f), 0.5f},
        {"directional from behind", make(K::Directional, 0, 0, 0, 0, 0, -1), 0.0f},
        {"point in front", make(K::Point, 0, 0, -20, 0, 0, 0), 1.0f},
        {"spot on axis", make(K::Spot, 0, 0, -5, 0, 0, 1), 1.0f},
        {"spot aimed away", make(K::Spot, 0, 0, -5, 1, 0, 0), 0.0f},
        {"parallel point", make(K::ParallelPoint, 0, 0, -5, 0, 0, 0), 1.0f},
    };
    Case attenuated{"point attenuated", make(K::Point, 0, 0, -2, 0, 0, 0), 0.5f};
    attenuated.light.attenuation1 = 0.5f;  // 1 / (1 + 0.5 * 2)
    Case outOfRange{"point out of range", make(K::Point, 0, 0, -5, 0, 0, 0), 0.0f};
    outOfRange.light.range = 4;
    for (const Case& c : {cases[0], cases[1], cases[2], cases[3], cases[4], cases[5], cases[6], attenuated, outOfRange}) {
        Target t(8, 8);
        Soft3DDevice d;
        d.SetTarget(t.color.get(), t.depth.get());
        d.SetViewport(t.color->Bounds());
        ASSERT_TRUE(d.SetLights(&c.light, 1));
        // A small square at the origin facing the eye (normal towards -z),
        // scaled up to fill the target by the view.
        Soft3DMatrix view = Soft3DMatrix::Identity();
        view.m[0][0] = view.m[1][1] = 100;
        d.SetTransform(Soft3DTransform::View, view);
        std::vector<Soft3DVertex> quad{V(-0.01f, -0.01f, 0), V(0.01f, -0.01f, 0), V(0.01f, 0.01f, 0), V(-0.01f, 0.01f, 0)};
        Draw(d, quad, {0, 1, 2, 0, 2, 3});
        uint8_t r, g, b;
        platform::UnpackRgb(PixelLayout::Rgb565, t.color->Pixel16(4, 4), r, g, b);
        EXPECT_NEAR(r, c.expectedRed * 255, 9) << c.name;
        EXPECT_EQ(g, 0) << c.name;
    }
}

TEST(Soft3DDevice, RefusesWhatItCannotUse) {
    Target t(16, 16);
    auto odd = Surface::Create(8, 8, PixelLayout::Depth16);
    auto index = Surface::Create(16, 16, PixelLayout::Index8);
    Soft3DDevice d;
    EXPECT_FALSE(d.SetTarget(index.get(), nullptr));
    EXPECT_FALSE(d.SetTarget(t.color.get(), odd.get()));
    EXPECT_FALSE(d.SetTarget(t.color.get(), t.color.get()));
    EXPECT_TRUE(d.SetTarget(t.color.get(), nullptr));
    EXPECT_FALSE(d.SetTexture(index.get()));
    std::vector<Soft3DLight> lights(17);
    EXPECT_FALSE(d.SetLights(lights.data(), 17));
    EXPECT_TRUE(d.SetLights(lights.data(), 16));
    d.SetViewport(t.color->Bounds());
    d.SetLighting(false);
    // Indices outside the range, NaN and absurd positions, a vertex behind
    // the eye with clipping off: all skipped, nothing written.
    const float nan = std::nanf("");
    std::vector<Soft3DVertex> v{V(-1, -1, 0.5f), V(1, -1, 0.5f), V(0, 1, 0.5f), V(nan, 0, 0.5f), V(1e30f, 0, 0.5f)};
    const std::vector<uint16_t> bad{0, 1, 9, 0, 1, 3, 0, 1, 4};
    EXPECT_EQ(d.DrawIndexed(v.data(), 0, 5, bad.data(), bad.size(), true), Soft3DDevice::EmptyExtents());
    EXPECT_EQ(d.DrawIndexed(v.data(), 0, 5, bad.data(), bad.size(), false), Soft3DDevice::EmptyExtents());
    const std::vector<uint16_t> outOfRange{0, 1, 2};
    EXPECT_EQ(d.DrawIndexed(v.data(), 1, 4, outOfRange.data(), 3, true), Soft3DDevice::EmptyExtents());
    Soft3DMatrix w1{};
    w1.m[0][0] = w1.m[1][1] = w1.m[2][2] = 1;  // w = 0 for every vertex
    d.SetTransform(Soft3DTransform::Projection, w1);
    EXPECT_EQ(d.DrawIndexed(v.data(), 0, 3, outOfRange.data(), 3, false), Soft3DDevice::EmptyExtents());
    // With no depth target the draw still works.
    d.SetTransform(Soft3DTransform::Projection, Soft3DMatrix::Identity());
    EXPECT_FALSE(d.DrawIndexed(v.data(), 0, 3, outOfRange.data(), 3, true).IsEmpty());
}

TEST(Soft3DDevice, DrawsInto555AndSwitchesTargets) {
    Target a(16, 16), b(16, 16, PixelLayout::Rgb555);
    Soft3DDevice d = Unlit(a);
    std::vector<Soft3DVertex> quad{V(-1, -1, 0.5f), V(1, -1, 0.5f), V(1, 1, 0.5f), V(-1, 1, 0.5f)};
    Draw(d, quad, {0, 1, 2, 0, 2, 3});
    ASSERT_TRUE(d.SetTarget(b.color.get(), b.depth.get()));
    Draw(d, quad, {0, 1, 2, 0, 2, 3});
    EXPECT_EQ(a.color->Pixel16(5, 5), 0xFFFF);
    EXPECT_EQ(b.color->Pixel16(5, 5), 0x7FFF);
}

}  // namespace
