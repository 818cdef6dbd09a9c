// Sample walls for catalogue pictures: one wall between two posts in the
// middle of the lot, drawn through a view that moves it to the asked screen
// point.
#include "world/cFixedWorld.h"
#include "world/walls/WallManager.h"

namespace {

// Forwards to the real view, but at a zoom of its own and with every tile
// moved on screen by a fixed offset.
class ShiftedView : public iHouseView {
public:
    ShiftedView(iHouseView& view, int32_t zoom, ScreenPoint shift) : mView(view), mZoom(zoom), mShift(shift) {}
    int32_t GetZoom() const override { return mZoom; }
    int32_t GetRotation() const override { return mView.GetRotation(); }
    int32_t GetViewLevel() const override { return mView.GetViewLevel(); }
    ScreenPoint TileToScreen(TileLocation tile) const override {
        ScreenPoint p = mView.TileToScreen(tile);
        return {p.x + mShift.x, p.y + mShift.y};
    }
    int32_t StandingHeight(int32_t zoom) const override { return mView.StandingHeight(zoom); }
    int32_t LoweredHeight(int32_t zoom) const override { return mView.LoweredHeight(zoom); }
    void DrawSprite(int32_t group, int32_t frame, int32_t pattern, int32_t x, int32_t y, int32_t depth, float shade,
                    int32_t extraOffset) override {
        mView.DrawSprite(group, frame, pattern, x, y, depth, shade, extraOffset);
    }
    void DrawLoweredCorner(int32_t pieceGroup, int32_t maskGroup, int32_t frame, int32_t x, int32_t y) override {
        mView.DrawLoweredCorner(pieceGroup, maskGroup, frame, x, y);
    }
    ScreenRect GetClip() const override { return mView.GetClip(); }
    void SetClip(const ScreenRect& clip) override { mView.SetClip(clip); }
    // A sample stands on no lot: nothing is hidden or redrawn.
    bool BuildableOnly() const override { return false; }
    bool IsTileBuildable(TileLocation) const override { return true; }
    void RedrawTile(TileLocation) override {}
    void RedrawAll() override {}
    bool LookUpWallSprite(int32_t pattern, int32_t zoom, int32_t& sprite) const override {
        return mView.LookUpWallSprite(pattern, zoom, sprite);
    }
    int32_t ObjectWallSprite(TileLocation, int32_t) const override { return -1; }

private:
    iHouseView& mView;
    int32_t mZoom;
    ScreenPoint mShift;
};

struct SampleRun {
    int32_t direction;
    int8_t dx, dy;
    uint8_t startBit, endBit;
};
SampleRun RunOf(int32_t direction) {
    switch (direction) {
        case 3: return {3, 1, 0, 8, 2};
        case 5: return {5, 1, 1, 64, 16};
        case 6: return {6, 1, -1, 128, 32};
        default: return {1, 0, 1, 4, 1};
    }
}

}  // namespace

ScreenRect WallManager::DrawSampleWall(int32_t x, int32_t y, int32_t zoom, int32_t direction, int32_t style,
                                       int32_t wallpaper) {
    if (mView == nullptr) return {};
    const SampleRun run = RunOf(direction);
    if (!mSampleWall) {
        mSamplePosts[0] = std::make_unique<WallPost>();
        mSamplePosts[1] = std::make_unique<WallPost>();
        mSampleWall = std::make_unique<Wall>();
    }
    const int32_t middle = mWorld.GetSize() / 2;
    WallPost& from = *mSamplePosts[0];
    WallPost& to = *mSamplePosts[1];
    Wall& wall = *mSampleWall;
    from = WallPost{};
    to = WallPost{};
    from.point = TileLocation::At(middle, middle, 1);
    to.point = TileLocation::At(middle + run.dx, middle + run.dy, 1);
    from.mask = run.startBit;
    to.mask = run.endBit;
    wall = Wall{};
    wall.start = from.point;
    wall.end = to.point;
    wall.direction = run.direction;
    wall.dx = run.dx;
    wall.dy = run.dy;
    wall.frontFace = run.direction == 1 ? 1 : 0;
    wall.startMask = run.startBit;
    wall.endMask = run.endBit;
    wall.startPost = &from;
    wall.endPost = &to;
    const auto byte = [](int32_t v) { return static_cast<uint8_t>(v); };
    wall.entries = {WallEntry{0, byte(style), byte(wallpaper), byte(wallpaper)}};
    wall.saved = wall.entries;
    from.slots[WallPost::SlotOf(run.startBit)] = &wall;
    to.slots[WallPost::SlotOf(run.endBit)] = &wall;
    ComputePostDisplay(from);
    ComputePostDisplay(to);

    iHouseView* real = mView;
    const ScreenPoint at = real->TileToScreen(from.point);
    ShiftedView shifted(*real, zoom, {x - at.x, y - at.y});
    const ScreenRect savedClip = real->GetClip();
    real->SetClip({-800, -600, 800, 600});
    mView = &shifted;
    DrawWall(wall, ScreenRect{-100000, -100000, 100000, 100000});
    DrawPost(from);
    DrawPost(to);
    mView = real;
    real->SetClip(savedClip);
    const int32_t bottom = y + (4 << zoom);
    return {x - (8 << zoom), bottom - real->StandingHeight(zoom), x + (8 << zoom), bottom};
}
