#include "character/MeshText.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const char kTriangles[] =
    "# two triangles sharing an edge\n"
    "p 0 0 0\n"
    "p 1 0 0\n"
    "p 0 1 0\n"
    "p 1 1 0\n"
    "t 0 0\n"
    "t 1 0\n"
    "t 0 1\n"
    "t 1 1\n"
    "\n"
    "m Jeans\n"
    "f 0 0 1 1 2 2\n"
    "m red   # the second face\n"
    "f 1 1 3 3 2 2\r\n";

}  // namespace

TEST(MeshText, ReadsPositionsCoordinatesMaterialsAndFaces) {
    Mesh3D mesh;
    int line = -1;
    ASSERT_EQ(ReadMeshText(kTriangles, mesh, &line), 0u);
    EXPECT_EQ(line, 0);
    EXPECT_EQ(mesh.Positions().size(), 4u);
    EXPECT_EQ(mesh.TexCoords().size(), 4u);
    ASSERT_EQ(mesh.MaterialNames().size(), 2u);
    EXPECT_EQ(mesh.MaterialNames()[1], "red");
    ASSERT_EQ(mesh.Triangles().size(), 2u);
    EXPECT_EQ(mesh.Triangles()[0].material, 0);
    EXPECT_EQ(mesh.Triangles()[1].material, 1);
    EXPECT_EQ(mesh.Vertices().size(), 6u);  // other materials: nothing shared
    EXPECT_NEAR(mesh.Vertices()[0].normal.z, 1, 1e-6);
    EXPECT_EQ(mesh.Bounds().maxY, 1);

    Mesh3D again;
    ASSERT_EQ(ReadMeshText(WriteMeshText(mesh), again), 0u);
    EXPECT_EQ(again.Positions(), mesh.Positions());
    EXPECT_EQ(again.Vertices().size(), mesh.Vertices().size());
    EXPECT_EQ(again.MaterialNames(), mesh.MaterialNames());
}

TEST(MeshText, BadFilesGiveTheCodeAndTheLine) {
    const struct {
        const char* text;
        int line;
    } cases[] = {
        {"p 0 0\n", 1},
        {"p 0 0 0 0\n", 1},
        {"p 0 0 x\n", 1},
        {"p 0 0 nan\n", 1},
        {"p 0 0 1e99\n", 1},
        {"t 0\n", 1},
        {"p 0 0 0\nt 0 0\nf 0 0 0 0 1 0\n", 3},
        {"p 0 0 0\nt 0 0\nf 0 0 0 0 0 -1\n", 3},
        {"p 0 0 0\nt 0 0\nf 0 0 0 0 0\n", 3},
        {"f 0 0 0 0 0 0\n", 1},
        {"m\n", 1},
        {"m two words\n", 1},
        {"\n\nq 1 2 3\n", 3},
    };
    for (const auto& c : cases) {
        Mesh3D mesh;
        int line = 0;
        EXPECT_EQ(ReadMeshText(c.text, mesh, &line), kMeshReadError) << c.text;
        EXPECT_EQ(line, c.line) << c.text;
    }
    const std::string withNul("p 0 0 0\n\0p 1 1 1\n", 17);
    Mesh3D nul;
    int nulLine = 0;
    EXPECT_EQ(ReadMeshText(withNul, nul, &nulLine), kMeshReadError);
    EXPECT_EQ(nulLine, 2);
    std::string many;
    for (int i = 0; i < 25; ++i) many += "m name" + std::to_string(i) + "\n";
    Mesh3D mesh;
    int line = 0;
    EXPECT_EQ(ReadMeshText(many, mesh, &line), kMeshReadError);
    EXPECT_EQ(line, 25);
}

TEST(MeshText, LoadsTextMeshesByNameThroughTheSearchPath) {
    tova_test::TempFolder t;
    t.Write("Meshes/tri.msh", kTriangles);
    t.Write("Meshes/bin.msb", "binary");
    t.Write("Meshes/bad.msh", "p 1 2\n");
    SetMeshSearchPath((t / "Nowhere") + "; " + (t / "Meshes"));
    Mesh3D mesh;
    EXPECT_EQ(LoadMesh("tri", mesh), 0u);
    EXPECT_EQ(mesh.Triangles().size(), 2u);
    Mesh3D other;
    int line = 0;
    EXPECT_EQ(LoadMesh("bad", other, &line), kMeshReadError);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(LoadMesh("bin", other), kMeshKindNotReadable);
    EXPECT_EQ(LoadMesh("absent", other), kMeshNotFound);
    SetMeshSearchPath("Meshes; ../Meshes");
}
