#include "character/Mesh3D.h"

#include "character/MeshText.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Mesh3D, EqualEntriesAreKeptOnce) {
    Mesh3D mesh;
    EXPECT_EQ(mesh.AddPosition({1, 2, 3}), 0u);
    EXPECT_EQ(mesh.AddPosition({1, 2, 4}), 1u);
    EXPECT_EQ(mesh.AddPosition({1, 2, 3}), 0u);
    EXPECT_EQ(mesh.AddPosition({-0.0f, 0, 0}), mesh.AddPosition({0, 0, 0}));
    EXPECT_EQ(mesh.Positions().size(), 3u);
    EXPECT_EQ(mesh.AddTexCoord({0.5f, 1}), mesh.AddTexCoord({0.5f, 1}));
    EXPECT_EQ(mesh.TexCoords().size(), 1u);
    EXPECT_EQ(mesh.AddMaterialName("Jeans"), 0u);
    EXPECT_EQ(mesh.AddMaterialName("Shoes"), 1u);
    EXPECT_EQ(mesh.AddMaterialName("Jeans"), 0u);

    MeshVertex v;
    v.position = 1;
    EXPECT_EQ(mesh.AddVertex(v, true), 0u);
    EXPECT_EQ(mesh.AddVertex(v, true), 0u);
    EXPECT_EQ(mesh.AddVertex(v, false), 1u);
    v.material = 1;
    EXPECT_EQ(mesh.AddVertex(v, true), 2u);
}

TEST(Mesh3D, TrianglesTakeTheCurrentOrGivenMaterial) {
    Mesh3D mesh;
    const MeshUV uv{0, 0};
    EXPECT_EQ(mesh.AddTriangle({0, 0, 0}, uv, {1, 0, 0}, uv, {0, 1, 0}, uv, nullptr, true), 0u);
    EXPECT_EQ(mesh.Triangles()[0].material, 0);
    mesh.SetMaterial("Jeans");
    mesh.SetMaterial("Shoes");
    EXPECT_EQ(mesh.AddTriangle({0, 0, 0}, uv, {1, 0, 0}, uv, {0, 0, 1}, uv, nullptr, true), 1u);
    EXPECT_EQ(mesh.Triangles()[1].material, 1);
    mesh.AddTriangle({0, 0, 0}, uv, {1, 0, 0}, uv, {0, 0, 1}, uv, "Jeans", true);
    EXPECT_EQ(mesh.Triangles()[2].material, 0);
    // The third triangle shares two vertices with the first (same
    // material); the second, of another material, shares none.
    EXPECT_EQ(mesh.Triangles()[2].vertex[0], mesh.Triangles()[0].vertex[0]);
    EXPECT_EQ(mesh.Triangles()[2].vertex[1], mesh.Triangles()[0].vertex[1]);
    EXPECT_NE(mesh.Triangles()[1].vertex[0], mesh.Triangles()[0].vertex[0]);
    EXPECT_EQ(mesh.Vertices().size(), 3u + 3u + 1u);
    mesh.SetMaterial(nullptr);
    EXPECT_EQ(mesh.CurrentMaterial(), 0);
}

TEST(Mesh3D, NormalsAverageTheFacesAndBoundsCoverThePositions) {
    Mesh3D mesh;
    const MeshUV uv{0, 0};
    // Two faces meeting at the x axis at a right angle.
    mesh.AddTriangle({0, 0, 0}, uv, {1, 0, 0}, uv, {0, 1, 0}, uv, nullptr, true);
    mesh.AddTriangle({1, 0, 0}, uv, {0, 0, 0}, uv, {0, 0, 1}, uv, nullptr, true);
    mesh.ComputeNormals();
    const auto& v = mesh.Vertices();
    ASSERT_EQ(v.size(), 4u);
    const float k = 1 / std::sqrt(2.0f);
    const Vector3 shared = v[0].normal;
    EXPECT_NEAR(shared.x, 0, 1e-6);
    EXPECT_NEAR(std::fabs(shared.y), k, 1e-6);
    EXPECT_NEAR(std::fabs(shared.z), k, 1e-6);
    EXPECT_NEAR(std::fabs(v[2].normal.z), 1, 1e-6);
    mesh.ComputeBounds();
    EXPECT_EQ(mesh.Bounds().minX, 0);
    EXPECT_EQ(mesh.Bounds().maxX, 1);
    EXPECT_EQ(mesh.Bounds().maxY, 1);
    EXPECT_EQ(mesh.Bounds().maxZ, 1);
}

TEST(Mesh3D, CubeFacesAreFlatAndPointOutwards) {
    Mesh3D mesh;
    AddCube(mesh, 2);
    EXPECT_EQ(mesh.Triangles().size(), 12u);
    EXPECT_EQ(mesh.Vertices().size(), 24u);
    EXPECT_EQ(mesh.Positions().size(), 8u);
    for (const MeshVertex& v : mesh.Vertices()) {
        const Vector3& p = mesh.Positions()[v.position];
        // The normal is the axis along which the vertex lies on the face.
        const float dot = p.x * v.normal.x + p.y * v.normal.y + p.z * v.normal.z;
        EXPECT_NEAR(dot, 1, 1e-6);
        EXPECT_NEAR(std::fabs(v.normal.x) + std::fabs(v.normal.y) + std::fabs(v.normal.z), 1, 1e-6);
    }
    EXPECT_EQ(mesh.Bounds().minY, -1);
    EXPECT_EQ(mesh.Bounds().maxZ, 1);
}
