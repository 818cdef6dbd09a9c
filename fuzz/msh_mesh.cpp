// Arbitrary bytes as a text mesh file; a mesh that reads is written and
// read once more.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "character/MeshText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Mesh3D mesh;
    int line = 0;
    if (ReadMeshText(std::string_view(reinterpret_cast<const char*>(data), size), mesh, &line) == 0) {
        Mesh3D again;
        ReadMeshText(WriteMeshText(mesh), again, &line);
    }
    return 0;
}
