#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/RecordingDevice3D.h"
#include "world/roofs/cRoofMeshFactory.h"
#include "world/roofs/cRoofLayer.h"

using tova_test::RecordedMesh;
using tova_test::RecordedTriangle;
using tova_test::RecordingDevice3D;

namespace {

// The pieces as the roof's drawings give them: a triangle is three
// "x,height,z u,v" vertices split by ';', triangles split by '|'. W is the
// cell's width 1.5, R the rise of a step, r half of it, and C the centre
// (0.75, r, 0.75) at texture point (0.5, 0.5).
const std::map<int, std::string> kSloped = {
    {3, "0,0,0 1,1; W,R,W 0,0; W,R,0 1,0 | 0,0,0 1,1; 0,0,W 0,1; W,R,W 0,0"},
    {4, "0,0,0 0,1; 0,R,W 0,0; W,0,0 1,1 | W,0,0 0,1; 0,R,W 1,0; W,0,W 1,1"},
    {9, "0,R,0 0,1; 0,0,W 1,0.5; W,R,W 0,0 | 0,R,0 0,0; W,R,W 0,1; W,0,0 1,0.5"},
    {13, "0,R,0 0,0; 0,R,W 1,0; W,0,0 0,1 | 0,R,W 0,0; W,R,W 1,0; W,0,0 1,1"},
};
const std::map<int, std::string> kFlat = {
    {0, "0,0,0 1,1; 0,0,W 1,0; C | 0,0,0 0,1; C; W,0,0 1,1 | W,0,0 0,1; C; W,0,W 1,1 | 0,0,W 1,1; W,0,W 0,1; C"},
    {8, "0,0,0 0,1; 0,r,0.75 0,0.5; C | 0,0,0 0,1; C; W,0,0 1,1 | W,0,0 0,1; C; W,0,W 1,1 | "
        "0,0,W 1,1; C; 0,r,0.75 1,0.5 | 0,0,W 1,1; W,0,W 0,1; C"},
    {9, "0,0,0 0,1; 0,r,0.75 0,0.5; W,r,0.75 1,0.5 | 0,0,0 0,1; W,r,0.75 1,0.5; W,0,0 1,1 | "
        "0,r,0.75 1,0.5; 0,0,W 1,1; W,r,0.75 0,0.5 | 0,0,W 1,1; W,0,W 0,1; W,r,0.75 0,0.5"},
    {10, "0,0,0 0,1; 0,r,0.75 0,0.5; W,0,0 1,1 | W,0,0 1,1; 0,r,0.75 0,0.5; C | W,0,0 0,1; C; W,0,W 1,1 | "
         "C; 0,r,0.75 1,0.5; 0,0,W 1,1 | C; 0,0,W 0,1; 0.75,r,W 0,0.5 | C; 0.75,r,W 1,0.5; W,0,W 1,1"},
    {14, "0,0,0 1,1; C; 0.75,r,0 1,0.5 | 0,0,0 0,1; 0,r,0.75 0,0.5; C | 0,r,0.75 1,0.5; 0,0,W 1,1; C | "
         "0,0,W 0,1; 0.75,r,W 0,0.5; C | 0.75,r,0 0,0.5; 0.75,r,W 1,0.5; W,0,W 1,1 | "
         "0.75,r,0 0,0.5; W,0,W 1,1; W,0,0 0,1"},
    {15, "0,0,0 0,1; 0,r,0.75 0,0.5; C | 0,r,0.75 1,0.5; 0,0,W 1,1; C | C; 0,0,W 0,1; 0.75,r,W 0,0.5 | "
         "C; 0.75,r,W 1,0.5; W,0,W 1,1 | C; W,0,W 0,1; W,r,0.75 0,0.5 | C; W,r,0.75 1,0.5; W,0,0 1,1 | "
         "0.75,r,0 0,0.5; C; W,0,0 0,1 | 0,0,0 1,1; C; 0.75,r,0 1,0.5"},
};

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}
std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::stringstream in(s);
    for (std::string part; std::getline(in, part, sep);) out.push_back(Trim(part));
    return out;
}

std::vector<RecordedTriangle> Parse(const std::string& text, float rise) {
    auto value = [&](const std::string& t) -> float {
        if (t == "W") return 1.5f;
        if (t == "R" || t == "r") return rise;
        return std::stof(t);
    };
    std::vector<RecordedTriangle> out;
    for (const std::string& tri : Split(text, '|')) {
        RecordedTriangle t;
        const auto vertices = Split(tri, ';');
        EXPECT_EQ(vertices.size(), 3u) << tri;
        for (size_t i = 0; i < 3 && i < vertices.size(); ++i) {
            if (vertices[i] == "C") {
                t.points[i] = {0.75f, rise, 0.75f};
                t.uv[i] = {0.5f, 0.5f};
                continue;
            }
            const auto parts = Split(vertices[i], ' ');
            const auto p = Split(parts.at(0), ','), uv = Split(parts.at(1), ',');
            t.points[i] = {value(p.at(0)), value(p.at(1)), value(p.at(2))};
            t.uv[i] = {value(uv.at(0)), value(uv.at(1))};
        }
        out.push_back(t);
    }
    return out;
}

void ExpectTriangles(const RecordedMesh& mesh, const std::vector<RecordedTriangle>& expected, const std::string& texture,
                     int key) {
    ASSERT_EQ(mesh.triangles.size(), expected.size()) << "key " << key;
    EXPECT_TRUE(mesh.finished);
    for (size_t t = 0; t < expected.size(); ++t) {
        for (int i = 0; i < 3; ++i) {
            const RecordedTriangle& got = mesh.triangles[t];
            EXPECT_FLOAT_EQ(got.points[i].x, expected[t].points[i].x) << "key " << key << " tri " << t << " v" << i;
            EXPECT_FLOAT_EQ(got.points[i].y, expected[t].points[i].y) << "key " << key << " tri " << t << " v" << i;
            EXPECT_FLOAT_EQ(got.points[i].z, expected[t].points[i].z) << "key " << key << " tri " << t << " v" << i;
            EXPECT_EQ(got.uv[i], expected[t].uv[i]) << "key " << key << " tri " << t << " v" << i;
            EXPECT_EQ(got.texture, texture);
        }
    }
}

class RoofMeshFactoryTest : public ::testing::Test {
protected:
    void SetUp() override { device.textures.available = {"roofs/shingle", "roofs/r1_"}; }
    RecordingDevice3D device;
};

TEST_F(RoofMeshFactoryTest, EveryKeyBuildsTheTabledTriangles) {
    cRoofMeshFactory factory(device, 0.8f, "shingle", "roofs");
    const float rise = 0.8f * 1.5f;
    for (int key = 0; key < 16; ++key) {
        const auto it = kSloped.find(key);
        const std::string& text = it != kSloped.end() ? it->second : kSloped.at(13);
        ASSERT_NE(factory.GetMeshForKey(key), nullptr);
        ExpectTriangles(*device.meshes.back(), Parse(text, rise), "shingle", key);
    }
    for (int piece = 0; piece < 16; ++piece) {
        const auto it = kFlat.find(piece);
        const std::string& text = it != kFlat.end() ? it->second : kFlat.at(15);
        ASSERT_NE(factory.GetMeshForKey(piece + 256), nullptr);
        ExpectTriangles(*device.meshes.back(), Parse(text, rise * 0.5f), "shingle", piece + 256);
    }
    EXPECT_EQ(factory.CachedMeshes(), 32u);
    EXPECT_TRUE(device.meshes.back()->vertexBuffer);
}

TEST_F(RoofMeshFactoryTest, CellsChooseTheirPieceAndTurns) {
    cRoofMeshFactory factory(device, 0.6f, "shingle", "roofs");
    struct Case {
        uint8_t cell;
        int key;  // -1: nothing drawn
        int turns;
    };
    const Case cases[] = {
        {0x02 | (1 << 4), 4, 1},   {0x02 | (6 << 4), 9, 1},  {0x02 | (14 << 4), 13, 3}, {0x02, -1, 0},
        {0x02 | (15 << 4), -1, 0}, {0x00, 256, 0},            {7 << 4, 256 + 14, 2},      {15 << 4, 256 + 15, 0},
        {12 << 4, 256 + 10, 3},
    };
    for (const Case& c : cases) {
        int32_t turns = -1;
        iRenderMesh* mesh = factory.GetMesh(c.cell, turns);
        EXPECT_EQ(turns, c.turns) << int(c.cell);
        if (c.key < 0) {
            EXPECT_EQ(mesh, nullptr) << int(c.cell);
        } else {
            EXPECT_EQ(mesh, factory.GetMeshForKey(c.key)) << int(c.cell);
        }
    }
    EXPECT_FLOAT_EQ(factory.GetRise(), 0.6f * 1.5f);
}

TEST_F(RoofMeshFactoryTest, MissingTextureFallsBackAndLooksInTheTextureFolder) {
    device.vertexBuffers = false;
    cRoofMeshFactory factory(device, 0.6f, "thatch", "roofs");
    EXPECT_EQ(factory.GetTexture(), "r1_");
    EXPECT_EQ(device.textures.lookUps, std::vector<std::string>{"roofs/thatch"});
    EXPECT_EQ(device.textures.folder, "default") << "the folder is put back";
    factory.GetMeshForKey(3);
    EXPECT_FALSE(device.meshes.back()->vertexBuffer);
    EXPECT_EQ(device.meshes.back()->triangles[0].texture, "r1_");
    EXPECT_EQ(device.textures.held, 0);
    factory.SetOption(7);
    EXPECT_EQ(device.meshes.back()->options, std::vector<int32_t>{7});
}

class RoofSettings : public RoofMeshFactoryTest {
protected:
    void SetUp() override {
        RoofMeshFactoryTest::SetUp();
        DeleteRoofMeshFactory();
        SetRoofContext({&device, "roofs", [this] { ++invalidations; }});
    }
    void TearDown() override {
        DeleteRoofMeshFactory();
        SetRoofContext({});
    }
    int invalidations = 0;
};

TEST_F(RoofSettings, WithoutAFactoryTheDefaultsHold) {
    EXPECT_FLOAT_EQ(GetRoofSlope(), 0.5f);
    EXPECT_EQ(GetRoofTexture(), "");
    ASSERT_TRUE(EnsureRoofMeshFactory());
    EXPECT_FLOAT_EQ(GetRoofSlope(), 0.6f) << "a new factory starts at 0.6";
    EXPECT_EQ(GetRoofTexture(), "r1_");
}

TEST_F(RoofSettings, SlopeIsClampedAndSetOnce) {
    EXPECT_TRUE(SetRoofSlope(0));
    EXPECT_FLOAT_EQ(GetRoofSlope(), 0.5f);
    EXPECT_TRUE(SetRoofSlope(5));
    EXPECT_FLOAT_EQ(GetRoofSlope(), 2.0f);
    EXPECT_EQ(invalidations, 2);
    EXPECT_TRUE(SetRoofSlope(1.25f));
    cRoofMeshFactory* first = GetRoofMeshFactory();
    EXPECT_FALSE(SetRoofSlope(1.25f)) << "the same slope rebuilds nothing";
    EXPECT_EQ(GetRoofMeshFactory(), first);
    EXPECT_EQ(invalidations, 3);
}

TEST_F(RoofSettings, TextureChangesRebuildWithTheSlope) {
    SetRoofSlope(1.0f);
    EXPECT_TRUE(SetRoofTexture("shingle"));
    EXPECT_EQ(GetRoofTexture(), "shingle");
    EXPECT_FLOAT_EQ(GetRoofSlope(), 1.0f);
    const int before = invalidations;
    EXPECT_FALSE(SetRoofTexture("shingle"));
    EXPECT_EQ(invalidations, before);
    GetRoofMeshFactory()->GetMeshForKey(3);
    SetRoofMeshOption(2);
    EXPECT_EQ(device.meshes.back()->options, std::vector<int32_t>{2});
}

TEST_F(RoofSettings, TheLastRoofLayerTakesTheFactory) {
    const int before = cRoofLayer::LiveLayers();
    {
        auto a = std::make_unique<cRoofLayer>(8);
        EXPECT_EQ(cRoofLayer::LiveLayers(), before + 1);
        ASSERT_TRUE(a->PrepareRender());
        EXPECT_NE(GetRoofMeshFactory(), nullptr);
    }
    if (before == 0) {
        EXPECT_EQ(GetRoofMeshFactory(), nullptr);
    }
    device.canMakeObjects = false;
    cRoofLayer b(8);
    EXPECT_FALSE(b.PrepareRender());
}

}  // namespace
