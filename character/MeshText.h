// Mesh files of the "Mesh" kind in our text form (".msh"), found through the
// mesh search path. One item a line, '#' starts a comment:
//
//   p X Y Z            a position
//   t U V              a texture coordinate (beyond 0..1 the texture repeats)
//   m NAME             the material of the faces that follow
//   f P T P T P T      a triangle: three position and texture-coordinate
//                      indices, counted from 0 in the order given
//
// Vertices with the same position, coordinate and material are shared;
// normals and bounds are computed once the file is read. More than 24
// material names, or a file that breaks any of this, gives 0x9B0B0008 and the number of the offending line.
#pragma once

#include "character/Mesh3D.h"

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr uint32_t kMeshReadError = 0x9B0B0008;
inline constexpr uint32_t kMeshNotFound = 0x9B0B0010;
inline constexpr uint32_t kMeshKindNotReadable = 0x9B0B000D;
inline constexpr size_t kMaxMeshMaterials = 24;
// Larger files are refused unread.
inline constexpr size_t kMaxMeshFileBytes = 16u << 20;

// Reads the text into `out` (which should be empty). `line` gets the line
// of a failure, 0 otherwise.
uint32_t ReadMeshText(std::string_view text, Mesh3D& out, int* line = nullptr);
// The same layout written from a mesh.
std::string WriteMeshText(const Mesh3D& mesh);

// A cube of the given side around the origin, its faces in the current
// material; each face shows the whole texture (its coordinates are whole
// repeats apart, so no two faces share a vertex and each stays flat).
void AddCube(Mesh3D& mesh, float side);

// Reads the mesh of that name from the mesh search path: only the text
// sub-type is read; the binary one gives 0x9B0B000D.
uint32_t LoadMesh(const std::string& name, Mesh3D& out, int* line = nullptr);
// ';'-separated folders; "Meshes; ../Meshes" until changed.
void SetMeshSearchPath(const std::string& path);
