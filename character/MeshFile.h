// The mesh files of the skins: binary (".bmf") and text ("SKN"). The two
// forms hold the same fields; only a blend's pair order differs (weight
// first in binary, vertex first in text).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tova {

class BodyMesh;

// The mesh, or null with the reason in `error`. Indices that point outside
// the mesh and meshes of more than 65535 vertices are refused.
std::unique_ptr<BodyMesh> ReadBodyMesh(std::string_view bytes, bool text, std::string* error = nullptr);
std::string WriteBodyMesh(const BodyMesh& mesh, bool text);

}  // namespace tova
