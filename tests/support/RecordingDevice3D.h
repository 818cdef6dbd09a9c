// A 3D device for tests and tools: keeps every mesh it makes with its
// triangles and texture coordinates, every texture look-up with the search
// folder it was made in, and every draw with its transform. No pixels.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "simulation/Render3D.h"
#include "tarn/Transform.h"

namespace tova_test {

struct RecordedTriangle {
    RenderPoint points[3];
    RenderUV uv[3];
    std::string texture;
};

struct RecordedMesh {
    bool vertexBuffer = false;
    bool finished = false;
    std::vector<RecordedTriangle> triangles;
    std::vector<int32_t> options;
};

class RecordingMesh : public iRenderMesh {
public:
    explicit RecordingMesh(std::shared_ptr<RecordedMesh> record) : mRecord(std::move(record)) {}
    void AddTriangle(const RenderPoint (&points)[3], const RenderUV (&uv)[3], const std::string& texture) override {
        RecordedTriangle t;
        for (int i = 0; i < 3; ++i) {
            t.points[i] = points[i];
            t.uv[i] = uv[i];
        }
        t.texture = texture;
        mRecord->triangles.push_back(t);
    }
    void Finish() override { mRecord->finished = true; }
    void SetOption(int32_t value) override { mRecord->options.push_back(value); }
    const RecordedMesh& Record() const { return *mRecord; }

private:
    std::shared_ptr<RecordedMesh> mRecord;
};

class RecordingRenderObject : public iRenderObject {
public:
    void SetBounds(const RenderPoint& max, const RenderPoint& min) override {
        boundsMax = max;
        boundsMin = min;
    }
    RenderPoint boundsMax, boundsMin;
};

class RecordingTextures : public iTextureCache {
public:
    std::set<std::string> available;  // "folder/name"
    std::string folder = "default";
    std::vector<std::string> lookUps;  // "folder/name"
    int held = 0;

    std::string GetSearchFolder() const override { return folder; }
    void SetSearchFolder(const std::string& f) override { folder = f; }
    bool LookUp(const std::string& name) override {
        lookUps.push_back(folder + "/" + name);
        const bool found = available.count(folder + "/" + name) != 0;
        if (found) ++held;
        return found;
    }
    void Release(const std::string&) override { --held; }
};

struct RecordedDraw {
    const iRenderMesh* mesh;
    Transform transform;
};

class RecordingDevice3D : public iDevice3D {
public:
    bool vertexBuffers = true;
    bool canMakeObjects = true;
    RecordingTextures textures;
    std::vector<std::shared_ptr<RecordedMesh>> meshes;
    std::vector<RecordedDraw> draws;

    bool HasVertexBuffers() const override { return vertexBuffers; }
    std::unique_ptr<iRenderMesh> CreateMesh(bool vertexBuffer) override {
        auto record = std::make_shared<RecordedMesh>();
        record->vertexBuffer = vertexBuffer;
        meshes.push_back(record);
        return std::make_unique<RecordingMesh>(record);
    }
    std::unique_ptr<iRenderObject> CreateRenderObject() override {
        if (!canMakeObjects) return nullptr;
        return std::make_unique<RecordingRenderObject>();
    }
    iTextureCache& Textures() override { return textures; }
    RenderRect DrawMesh(iRenderObject&, iRenderMesh& mesh, const Transform& transform, void*) override {
        draws.push_back({&mesh, transform});
        const int32_t x = static_cast<int32_t>(transform.m[3][0] * 10), z = static_cast<int32_t>(transform.m[3][2] * 10);
        return {x, z, x + 15, z + 15};
    }
};

}  // namespace tova_test
