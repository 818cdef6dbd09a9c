// The starter content of the 3D layer: contentc's light-set descriptions
// become light-set files, and the starter meshes read.
#include "character/LightSet.h"
#include "character/MeshText.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::string kContent = std::string(TOVA_SOURCE_DIR) + "/content/";

}  // namespace

TEST(LightContent, ADescriptionBecomesALightSet) {
    tova_test::TempFolder dir;
    dir.Write("src/a.light",
              "file a.lgt\nversion 0\n"
              "light spot  # a cone\nposition 1 2 3\ndirection 0 -1 0\ncolour 1 0.5 0\nintensity 2\ncone 20 30\n"
              "light ambient\ncolour 0.1 0.2 0.3\n");
    const auto run = tova_test::CompileContent({"--out", dir / "root", dir / "src/a.light"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string bytes = ReadFile(dir / "root/Lights/a.lgt");
    EXPECT_EQ(bytes.size(), 8u + 2 * 60);  // version 0 records
    std::vector<LightRecord> records;
    ASSERT_EQ(ReadLightSet(bytes, records), 0u);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].type, static_cast<int32_t>(LightRecordType::Spot));
    EXPECT_EQ(records[0].position[2], 3.0f);
    EXPECT_EQ(records[0].color[1], 0.5f);
    EXPECT_EQ(records[0].intensity, 2.0f);
    EXPECT_EQ(records[0].innerAngle, 20.0f);
    EXPECT_EQ(records[0].outerAngle, 0.0f);  // not stored in version 0
    EXPECT_EQ(records[1].type, static_cast<int32_t>(LightRecordType::Ambient));
    EXPECT_EQ(records[1].direction[0], 1.0f);  // a new record's default
}

TEST(LightContent, BadDescriptionsAreRefusedWithTheirLine) {
    tova_test::TempFolder dir;
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"file a.lgt\ncolour 1 1 1\n", "a.light:2: bad value for 'colour'"},
        {"file a.lgt\nlight lamp\n", "a.light:2: bad value for 'light'"},
        {"file a.lgt\nversion 2\nlight point\n", "a.light:2: bad value for 'version'"},
        {"file a.lgt\nlight point\nposition 1 2\n", "a.light:3: bad value for 'position'"},
        {"file a.lgt\nlight point\ncolour 1 nan 1\n", "a.light:3: bad value for 'colour'"},
        {"file a.bin\nlight point\n", "a.light:1: bad value for 'file'"},
        {"light point\n", "no 'file' line"},
        {"file a.lgt\n", "no 'light' line"},
        {"file a.lgt\nlight point\nradius 3\n", "a.light:3: unknown keyword 'radius'"},
    };
    for (const auto& c : cases) {
        dir.Write("src/a.light", c.text);
        const auto run = tova_test::CompileContent({"--out", dir / "root", dir / "src/a.light"});
        EXPECT_EQ(run.code, 1) << c.text;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST(LightContent, StarterLightSetsAndMeshes) {
    tova_test::TempFolder dir;
    const auto run = tova_test::CompileContent(
        {"--out", dir / "root", kContent + "Lights/stdlight.light", kContent + "Lights/Lights.light"});
    ASSERT_EQ(run.code, 0) << run.err;
    const struct {
        const char* file;
        size_t directional;
    } sets[] = {{"stdlight.lgt", 5}, {"Lights.lgt", 3}};
    for (const auto& s : sets) {
        std::vector<LightRecord> records;
        ASSERT_EQ(ReadLightSet(ReadFile(dir / (std::string("root/Lights/") + s.file)), records), 0u) << s.file;
        ASSERT_EQ(records.size(), s.directional + 1) << s.file;
        for (size_t i = 0; i < s.directional; ++i)
            EXPECT_EQ(records[i].type, static_cast<int32_t>(LightRecordType::Directional)) << s.file;
        EXPECT_EQ(records.back().type, static_cast<int32_t>(LightRecordType::Ambient)) << s.file;
    }
    const struct {
        const char* file;
        size_t triangles, materials;
    } meshes[] = {{"Meshes/cube.msh", 12, 0}, {"Meshes/pyramid.msh", 6, 2}};
    for (const auto& m : meshes) {
        Mesh3D mesh;
        int line = 0;
        ASSERT_EQ(ReadMeshText(ReadFile(kContent + m.file), mesh, &line), 0u) << m.file << ":" << line;
        EXPECT_EQ(mesh.Triangles().size(), m.triangles) << m.file;
        EXPECT_EQ(mesh.MaterialNames().size(), m.materials) << m.file;
        EXPECT_EQ(mesh.Bounds().maxX, 0.5f) << m.file;
    }
}
