// The roof's 3D pieces: one mesh per roof piece, textured with the roof
// texture and raised by the roof slope, made on demand and cached by key
// (the piece for sloped cells, the piece + 256 for flat ones). One factory
// exists at a time; the program-wide roof settings below rebuild it when the
// slope or texture changes.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "simulation/Render3D.h"

// A roof cell's piece and its quarter turns about the vertical axis.
struct RoofPiece {
    uint8_t piece = 255;  // 255: nothing drawn
    uint8_t turns = 0;
};

class cRoofMeshFactory {
public:
    static constexpr float kFirstSlope = 0.6f;
    static constexpr const char* kFallbackTexture = "r1_";

    // Looks the texture up in the texture folder; a missing one becomes
    // "r1_".
    cRoofMeshFactory(iDevice3D& device, float slope, const std::string& texture, const std::string& textureFolder);
    ~cRoofMeshFactory();
    cRoofMeshFactory(const cRoofMeshFactory&) = delete;
    cRoofMeshFactory& operator=(const cRoofMeshFactory&) = delete;

    static RoofPiece SlopedPiece(int32_t shapeCode);
    static RoofPiece FlatPiece(int32_t shapeCode);

    // The mesh of a roof cell (byte 0: slope bit 0x02, shape code in bits
    // 4-7) with its quarter turns; null for a cell that shows nothing.
    iRenderMesh* GetMesh(uint8_t cell, int32_t& quarterTurns);
    // The cached mesh of a key, made on first use.
    iRenderMesh* GetMeshForKey(int32_t key);
    size_t CachedMeshes() const { return mMeshes.size(); }

    float GetSlope() const { return mSlope; }
    const std::string& GetTexture() const { return mTexture; }
    // The height gained per step of roof height.
    float GetRise() const { return mSlope * 3.0f * 0.5f; }
    void SetOption(int32_t value);
    iDevice3D& Device() { return mDevice; }

private:
    std::unique_ptr<iRenderMesh> CreateMesh(int32_t key);
    bool LookUpTexture(const std::string& name);
    void BuildSloped(iRenderMesh& mesh, int32_t piece) const;
    void BuildFlat(iRenderMesh& mesh, int32_t piece) const;

    iDevice3D& mDevice;
    float mSlope;
    std::string mTexture;
    std::string mTextureFolder;
    std::map<int32_t, std::unique_ptr<iRenderMesh>> mMeshes;
};

// The program-wide roof settings. The roof context names the 3D device, the
// texture folder and how to redraw the whole view; without a device no
// factory is made.
struct RoofContext {
    iDevice3D* device = nullptr;
    std::string textureFolder;
    std::function<void()> invalidateView;
};
void SetRoofContext(const RoofContext& context);
const RoofContext& GetRoofContext();
// The factory, or null before the first roof was drawn.
cRoofMeshFactory* GetRoofMeshFactory();
// Makes the factory when there is none (slope 0.6, texture "r1_"); false
// without a device.
bool EnsureRoofMeshFactory();
void DeleteRoofMeshFactory();
// True when the slope changed: at most 2, 0.5 for zero or less.
bool SetRoofSlope(float slope);
float GetRoofSlope();
bool SetRoofTexture(const std::string& name);
std::string GetRoofTexture();
void SetRoofMeshOption(int32_t value);
