#include "world/roofs/cRoofMeshFactory.h"

#include <cmath>
#include <vector>

namespace {

constexpr float W = 1.5f;   // a half-tile cell's width
constexpr float H = 0.75f;  // its middle

// A vertex of a piece: x and z across the cell, whether it is raised, and
// its texture coordinate.
struct PieceVertex {
    float x;
    int raised;
    float z;
    float u, v;
};
struct PieceTriangle {
    PieceVertex p[3];
};

constexpr PieceVertex C{H, 1, H, 0.5f, 0.5f};  // the flat pieces' centre

const std::vector<PieceTriangle>& SlopedLayout(int32_t piece) {
    static const std::vector<PieceTriangle> p3{
        {{{0, 0, 0, 1, 1}, {W, 1, W, 0, 0}, {W, 1, 0, 1, 0}}},
        {{{0, 0, 0, 1, 1}, {0, 0, W, 0, 1}, {W, 1, W, 0, 0}}},
    };
    static const std::vector<PieceTriangle> p4{
        {{{0, 0, 0, 0, 1}, {0, 1, W, 0, 0}, {W, 0, 0, 1, 1}}},
        {{{W, 0, 0, 0, 1}, {0, 1, W, 1, 0}, {W, 0, W, 1, 1}}},
    };
    static const std::vector<PieceTriangle> p9{
        {{{0, 1, 0, 0, 1}, {0, 0, W, 1, 0.5f}, {W, 1, W, 0, 0}}},
        {{{0, 1, 0, 0, 0}, {W, 1, W, 0, 1}, {W, 0, 0, 1, 0.5f}}},
    };
    static const std::vector<PieceTriangle> p13{
        {{{0, 1, 0, 0, 0}, {0, 1, W, 1, 0}, {W, 0, 0, 0, 1}}},
        {{{0, 1, W, 0, 0}, {W, 1, W, 1, 0}, {W, 0, 0, 1, 1}}},
    };
    switch (piece) {
        case 3: return p3;
        case 4: return p4;
        case 9: return p9;
        default: return p13;
    }
}

const std::vector<PieceTriangle>& FlatLayout(int32_t piece) {
    constexpr PieceVertex LeftMid{0, 1, H, 0, 0.5f}, LeftMidB{0, 1, H, 1, 0.5f};
    constexpr PieceVertex RightMid{W, 1, H, 1, 0.5f}, RightMidB{W, 1, H, 0, 0.5f};
    constexpr PieceVertex FarMid{H, 1, W, 0, 0.5f}, FarMidB{H, 1, W, 1, 0.5f};
    constexpr PieceVertex NearMid{H, 1, 0, 1, 0.5f}, NearMidB{H, 1, 0, 0, 0.5f};
    static const std::vector<PieceTriangle> p0{
        {{{0, 0, 0, 1, 1}, {0, 0, W, 1, 0}, C}},
        {{{0, 0, 0, 0, 1}, C, {W, 0, 0, 1, 1}}},
        {{{W, 0, 0, 0, 1}, C, {W, 0, W, 1, 1}}},
        {{{0, 0, W, 1, 1}, {W, 0, W, 0, 1}, C}},
    };
    static const std::vector<PieceTriangle> p8{
        {{{0, 0, 0, 0, 1}, LeftMid, C}},
        {{{0, 0, 0, 0, 1}, C, {W, 0, 0, 1, 1}}},
        {{{W, 0, 0, 0, 1}, C, {W, 0, W, 1, 1}}},
        {{{0, 0, W, 1, 1}, C, LeftMidB}},
        {{{0, 0, W, 1, 1}, {W, 0, W, 0, 1}, C}},
    };
    static const std::vector<PieceTriangle> p9{
        {{{0, 0, 0, 0, 1}, LeftMid, RightMid}},
        {{{0, 0, 0, 0, 1}, RightMid, {W, 0, 0, 1, 1}}},
        {{LeftMidB, {0, 0, W, 1, 1}, RightMidB}},
        {{{0, 0, W, 1, 1}, {W, 0, W, 0, 1}, RightMidB}},
    };
    static const std::vector<PieceTriangle> p10{
        {{{0, 0, 0, 0, 1}, LeftMid, {W, 0, 0, 1, 1}}},
        {{{W, 0, 0, 1, 1}, LeftMid, C}},
        {{{W, 0, 0, 0, 1}, C, {W, 0, W, 1, 1}}},
        {{C, LeftMidB, {0, 0, W, 1, 1}}},
        {{C, {0, 0, W, 0, 1}, FarMid}},
        {{C, FarMidB, {W, 0, W, 1, 1}}},
    };
    static const std::vector<PieceTriangle> p14{
        {{{0, 0, 0, 1, 1}, C, NearMid}},
        {{{0, 0, 0, 0, 1}, LeftMid, C}},
        {{LeftMidB, {0, 0, W, 1, 1}, C}},
        {{{0, 0, W, 0, 1}, FarMid, C}},
        {{NearMidB, FarMidB, {W, 0, W, 1, 1}}},
        {{NearMidB, {W, 0, W, 1, 1}, {W, 0, 0, 0, 1}}},
    };
    static const std::vector<PieceTriangle> p15{
        {{{0, 0, 0, 0, 1}, LeftMid, C}},
        {{LeftMidB, {0, 0, W, 1, 1}, C}},
        {{C, {0, 0, W, 0, 1}, FarMid}},
        {{C, FarMidB, {W, 0, W, 1, 1}}},
        {{C, {W, 0, W, 0, 1}, RightMidB}},
        {{C, RightMid, {W, 0, 0, 1, 1}}},
        {{NearMidB, C, {W, 0, 0, 0, 1}}},
        {{{0, 0, 0, 1, 1}, C, NearMid}},
    };
    switch (piece) {
        case 0: return p0;
        case 8: return p8;
        case 9: return p9;
        case 10: return p10;
        case 14: return p14;
        default: return p15;
    }
}

void AddLayout(iRenderMesh& mesh, const std::vector<PieceTriangle>& layout, float rise, const std::string& texture) {
    for (const PieceTriangle& t : layout) {
        RenderPoint points[3];
        RenderUV uv[3];
        for (int i = 0; i < 3; ++i) {
            points[i] = {t.p[i].x, t.p[i].raised ? rise : 0.0f, t.p[i].z};
            uv[i] = {t.p[i].u, t.p[i].v};
        }
        mesh.AddTriangle(points, uv, texture);
    }
}

constexpr RoofPiece kSloped[16] = {{255, 0}, {4, 1}, {4, 2},  {3, 0},  {4, 0}, {3, 3},  {9, 1},  {13, 1},
                                   {4, 3},   {9, 0}, {3, 1},  {13, 2}, {3, 2}, {13, 0}, {13, 3}, {255, 0}};
constexpr RoofPiece kFlat[16] = {{0, 0}, {8, 2}, {8, 1},  {10, 1}, {8, 3},  {10, 2}, {9, 1},  {14, 2},
                                 {8, 0}, {9, 0}, {10, 0}, {14, 1}, {10, 3}, {14, 3}, {14, 0}, {15, 0}};

RoofContext gContext;
std::unique_ptr<cRoofMeshFactory> gFactory;
constexpr float kNoFactorySlope = 0.5f;

// Rebuilds the factory with a slope and texture; without a device none is
// made. Redraws the whole view either way.
void Rebuild(float slope, const std::string& texture) {
    gFactory.reset();
    if (gContext.device)
        gFactory = std::make_unique<cRoofMeshFactory>(*gContext.device, slope, texture, gContext.textureFolder);
    if (gContext.invalidateView) gContext.invalidateView();
}

}  // namespace

cRoofMeshFactory::cRoofMeshFactory(iDevice3D& device, float slope, const std::string& texture,
                                   const std::string& textureFolder)
    : mDevice(device), mSlope(slope), mTexture(texture), mTextureFolder(textureFolder) {
    if (!LookUpTexture(mTexture)) mTexture = kFallbackTexture;
}

cRoofMeshFactory::~cRoofMeshFactory() = default;

bool cRoofMeshFactory::LookUpTexture(const std::string& name) {
    iTextureCache& cache = mDevice.Textures();
    const std::string saved = cache.GetSearchFolder();
    cache.SetSearchFolder(mTextureFolder);
    const bool found = cache.LookUp(name);
    if (found) cache.Release(name);
    cache.SetSearchFolder(saved);
    return found;
}

RoofPiece cRoofMeshFactory::SlopedPiece(int32_t shapeCode) { return kSloped[shapeCode & 15]; }
RoofPiece cRoofMeshFactory::FlatPiece(int32_t shapeCode) { return kFlat[shapeCode & 15]; }

iRenderMesh* cRoofMeshFactory::GetMesh(uint8_t cell, int32_t& quarterTurns) {
    const bool sloped = (cell & 0x02) != 0;
    const RoofPiece piece = sloped ? SlopedPiece(cell >> 4) : FlatPiece(cell >> 4);
    quarterTurns = piece.turns;
    if (piece.piece == 255) return nullptr;
    return GetMeshForKey(sloped ? piece.piece : piece.piece + 256);
}

iRenderMesh* cRoofMeshFactory::GetMeshForKey(int32_t key) {
    auto it = mMeshes.find(key);
    if (it == mMeshes.end()) it = mMeshes.emplace(key, CreateMesh(key)).first;
    return it->second.get();
}

std::unique_ptr<iRenderMesh> cRoofMeshFactory::CreateMesh(int32_t key) {
    std::unique_ptr<iRenderMesh> mesh = mDevice.CreateMesh(mDevice.HasVertexBuffers());
    if (!mesh) return nullptr;
    if (key < 256) {
        BuildSloped(*mesh, key);
    } else {
        BuildFlat(*mesh, key - 256);
    }
    mesh->Finish();
    LookUpTexture(mTexture);
    return mesh;
}

void cRoofMeshFactory::BuildSloped(iRenderMesh& mesh, int32_t piece) const {
    AddLayout(mesh, SlopedLayout(piece), mSlope * W, mTexture);
}

void cRoofMeshFactory::BuildFlat(iRenderMesh& mesh, int32_t piece) const {
    AddLayout(mesh, FlatLayout(piece), mSlope * W * 0.5f, mTexture);
}

void cRoofMeshFactory::SetOption(int32_t value) {
    for (auto& [key, mesh] : mMeshes)
        if (mesh) mesh->SetOption(value);
}

void SetRoofContext(const RoofContext& context) { gContext = context; }
const RoofContext& GetRoofContext() { return gContext; }
cRoofMeshFactory* GetRoofMeshFactory() { return gFactory.get(); }

bool EnsureRoofMeshFactory() {
    if (!gFactory && gContext.device)
        gFactory = std::make_unique<cRoofMeshFactory>(*gContext.device, cRoofMeshFactory::kFirstSlope,
                                                      cRoofMeshFactory::kFallbackTexture, gContext.textureFolder);
    return gFactory != nullptr;
}

void DeleteRoofMeshFactory() { gFactory.reset(); }

bool SetRoofSlope(float slope) {
    const float value = slope > 0 ? std::fmin(slope, 2.0f) : 0.5f;
    if (gFactory && std::fabs(gFactory->GetSlope() - value) <= 1e-6f) return false;
    Rebuild(value, gFactory ? gFactory->GetTexture() : std::string());
    return true;
}

float GetRoofSlope() { return gFactory ? gFactory->GetSlope() : kNoFactorySlope; }

bool SetRoofTexture(const std::string& name) {
    if (gFactory && gFactory->GetTexture() == name) return false;
    Rebuild(gFactory ? gFactory->GetSlope() : kNoFactorySlope, name);
    return true;
}

std::string GetRoofTexture() { return gFactory ? gFactory->GetTexture() : std::string(); }

void SetRoofMeshOption(int32_t value) {
    if (gFactory) gFactory->SetOption(value);
}
