// What a live object draws into the house picture, decided here; the house
// renderer does the drawing. The renderer's side is declared below (the
// drawing context of a frame, sprite sets with their frames, the icon
// sprites, portraits and catalogue pictures); an object shows itself to the
// drawer through DrawnObject. Also the debug labels over objects (the
// embedded label glyphs, only with the "debug_objects" switch), the shell's
// floating picture over an object, thumbnails' zoom, and colour widening and
// shading of 16-bit pixels.
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gamedata/DrawGroup.h"

// {left, top, right, bottom}; the empty rectangle joins nothing.
struct DrawnRect {
    int32_t left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    // Right and bottom lie just outside.
    bool Empty() const { return left >= right || top >= bottom; }
    void Union(const DrawnRect& other);
    bool operator==(const DrawnRect&) const = default;
};

// A 16-bit picture with its z-buffer (0xFFFF is empty).
struct PixelTarget {
    uint16_t* pixels = nullptr;
    uint16_t* depth = nullptr;
    int32_t width = 0, height = 0;
    int32_t pitch = 0;  // in pixels
    bool layout565 = true;
};

struct DrawingContext {
    int32_t rotation = 0;  // view rotation in eighths (quarter turns x 2)
    int32_t zoom = 3;      // 1 far to 3 near
    int32_t originX = 0, originY = 0;
    bool highlight = false;
    bool secondMode = false;
    bool thirdMode = false;
    bool seeThrough = false;
    float opacity = 0.5f;
    float worldX = 0, worldY = 0, height = 0;
    PixelTarget picture;
    // The viewer's world-to-screen projection (without one: the origin).
    std::function<void(float x, float y, float height, int32_t& sx, int32_t& sy)> project;
    // Extras the view draws for an object.
    std::function<DrawnRect(const void* object)> overlay;
};

// Sprite drawing from one sprite file of the renderer.
class SpriteDraw {
public:
    virtual ~SpriteDraw() = default;
    virtual int32_t FrameCount(int32_t spriteId) const = 0;
    // Size and origin of a frame; false when it does not exist.
    virtual bool FrameInfo(int32_t spriteId, int32_t frame, int32_t& width, int32_t& height, int32_t& originX,
                           int32_t& originY) const = 0;
    // Draws the frame with its origin at the screen point; the drawn rectangle.
    virtual DrawnRect DrawFrame(int32_t spriteId, int32_t frame, int32_t x, int32_t y, const DrawingContext& context) = 0;
};

// Pictures of definitions the renderer and the shell keep: portraits of
// persons and catalogue pictures, drawn centred at a point.
class DefinitionPictures {
public:
    virtual ~DefinitionPictures() = default;
    virtual DrawnRect DrawPortrait(const void* definition, int32_t x, int32_t y, const DrawingContext& context) = 0;
    virtual DrawnRect DrawCatalogue(const void* definition, int32_t x, int32_t y, const DrawingContext& context) = 0;
};

// The renderer's floor shadows: an object's shadow under a thumbnail.
class FloorShadowDraw {
public:
    virtual ~FloorShadowDraw() = default;
    virtual DrawnRect DrawFloorShadow(const void* definition, int32_t direction, int32_t x, int32_t y,
                                      const DrawingContext& context) = 0;
};

// A slot point's graphic cycle, for its icons.
struct SlotPointIcons {
    float height = 0;
    int32_t firstIcon = 0, secondIcon = 0;  // ids in the global icon sprites; 0 = none
    int32_t remainingTicks = 0;
    int32_t graphic = 0;  // -1: the cycle definition's picture
    int32_t frameIndex = 0;
    const void* cycleDefinition = nullptr;
    bool cycleIsPerson = false;
    SpriteDraw* cycleSprites = nullptr;
};

struct SlotContent {
    float offsetX = 0, offsetY = 0, offsetHeight = 0;
    class DrawnObject* object = nullptr;
};

// An object as the drawer sees it.
class DrawnObject {
public:
    virtual ~DrawnObject() = default;
    virtual int32_t Id() const = 0;
    virtual int32_t TypeCode() const = 0;  // 2 person, 8 portal, 11 ...
    virtual std::string Name() const = 0;
    virtual int16_t Word(int32_t index) const = 0;
    virtual void SetWord(int32_t index, int16_t value) = 0;
    virtual int32_t Direction() const = 0;
    virtual int32_t StateBits() const = 0;
    virtual bool ShowsId() const = 0;
    virtual int32_t RedrawState() const = 0;
    virtual void SetRedrawStamp(uint32_t milliseconds) = 0;
    virtual DrawnRect StoredRect() const = 0;
    virtual void SetStoredRect(const DrawnRect& rect) = 0;
    virtual float WorldX() const = 0;
    virtual float WorldY() const = 0;
    virtual float WorldHeight() const = 0;
    // Definition fields: the first draw-group id, the first switchable
    // sprite id, the master definition's category word.
    virtual int32_t FirstDrawGroupId() const = 0;
    virtual int32_t FirstSwitchableSprite() const = 0;
    virtual int32_t MasterCategory() const = 0;
    // The draw group of a graphic number, null when missing.
    virtual const tova::DrawGroup* DrawGroupOf(int32_t graphic) const = 0;
    virtual SpriteDraw* Sprites() const = 0;
    // The dynamic sprite words (empty without them).
    virtual std::vector<int16_t> DynamicSpriteWords() const = 0;
    virtual std::vector<SlotContent> SlotContents() const = 0;
    virtual std::vector<SlotPointIcons> SlotPoints() const = 0;
    // Word 34, word 51, word 19 and the portal test.
    static constexpr int32_t kNoDrawWord = 34, kSeeThroughWord = 51, kShowGraphicWord = 19;
    virtual bool IsPortal() const = 0;
};

// The shell's floating picture of an object, shown for up to 999 ms.
struct FloatingPicture {
    const DrawnObject* object = nullptr;
    int32_t objectId = 0;  // or the object with this id (live objects)
    int32_t width = 0, height = 0;
    uint32_t startMilliseconds = 0;
    std::function<DrawnRect(int32_t x, int32_t y, const DrawingContext& context)> draw;
};

class ObjectDrawer {
public:
    static constexpr int32_t kLabelCell = 7, kLabelCellHeight = 11;

    // `now` answers the millisecond clock; `debugObjects` is the start
    // switch that turns the labels on.
    ObjectDrawer(std::function<uint32_t()> now, bool debugObjects) : mNow(std::move(now)), mDebug(debugObjects) {}

    void SetIconSprites(SpriteDraw* icons) { mIcons = icons; }
    // The sprite file of a definition (the renderer's sprite cache); none
    // set, or a null answer, draws no sprites.
    void SetDefinitionSprites(std::function<SpriteDraw*(const void* definition)> sprites) {
        mDefinitionSprites = std::move(sprites);
    }
    SpriteDraw* SpritesOf(const void* definition) const {
        return mDefinitionSprites && definition ? mDefinitionSprites(definition) : nullptr;
    }
    void SetFloorShadows(FloorShadowDraw* shadows) { mShadows = shadows; }
    FloorShadowDraw* FloorShadows() const { return mShadows; }
    DefinitionPictures* Pictures() const { return mPictures; }
    void SetPictures(DefinitionPictures* pictures) { mPictures = pictures; }
    void SetFloatingPicture(const FloatingPicture& picture) { mFloating = picture; }
    bool HasFloatingPicture() const { return mFloating.object != nullptr || mFloating.objectId != 0; }

    // Draws the object; the union of everything drawn.
    DrawnRect Draw(DrawnObject& object, DrawingContext& context);
    // A label centred on the point, raised by rows of (2 << zoom) pixels;
    // empty (nothing drawn) without the debug switch.
    DrawnRect DrawLabel(const std::string& text, int32_t x, int32_t y, int32_t rows, DrawingContext& context);

    // An offset turned by a direction: 0 keeps (x, y), 2 gives (-y, x), 4
    // (-x, -y), 6 (y, -x); odd directions give (0, 0).
    static void TurnOffset(int32_t direction, float& x, float& y);
    // The screen point of the context's world position.
    static void ScreenPoint(const DrawingContext& context, int32_t& x, int32_t& y);

private:
    DrawnRect DrawSprites(DrawnObject& object, DrawingContext& context, bool& drewGroup);
    DrawnRect DrawSlotIcons(const SlotPointIcons& point, int32_t x, int32_t y, DrawingContext& context);

    std::function<uint32_t()> mNow;
    bool mDebug;
    SpriteDraw* mIcons = nullptr;
    DefinitionPictures* mPictures = nullptr;
    FloorShadowDraw* mShadows = nullptr;
    std::function<SpriteDraw*(const void*)> mDefinitionSprites;
    FloatingPicture mFloating;
};

// Thumbnails: the zoom at which a picture of the given extent at zoom 3
// (halved per lower zoom) leaves margins of at least 3 pixels in a box,
// lowered from 3 down to at least 1.
int32_t ThumbnailZoom(int32_t widthAtZoom3, int32_t heightAtZoom3, int32_t boxWidth, int32_t boxHeight);
// The facing of a thumbnail: (the definition's facing offset + 4) mod 8.
int32_t ThumbnailDirection(int32_t facingOffset);
// Screen offset of a group part (dx, dy tiles) for depth sorting at a zoom.
void GroupPartOffset(int32_t dx, int32_t dy, int32_t zoom, int32_t& x, int32_t& y);

// 5-5-5 and 5-6-5 pixels widened to 0x00RRGGBB, each channel at the top of
// its byte.
uint32_t WidenPixel555(uint16_t pixel);
uint32_t WidenPixel565(uint16_t pixel);
// Shades the pixel by intensity (0-254) where the z-buffer is empty and the
// intensity plus the bias stays below 255; otherwise it stays.
uint16_t ShadePixel(uint16_t pixel, uint16_t depth, int32_t intensity, int32_t bias, bool layout565);
