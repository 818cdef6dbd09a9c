// Object drawing against a recording sprite set: the draw group's image by
// view rotation, direction and zoom, switchable sprites, modes and opacity,
// world offsets turned by the direction, slot contents and slot icons, labels
// (only with the debug switch), the floating picture's lifetime, thumbnails'
// zoom, and colour widening and shading.
#include "simulation/ObjectDrawing.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct Call {
    int32_t id, frame, x, y;
    bool highlight, second, third, seeThrough;
    float opacity;
};

class RecordingSprites : public SpriteDraw {
public:
    int32_t FrameCount(int32_t id) const override { return missing.count(id) ? 0 : 9; }
    bool FrameInfo(int32_t id, int32_t frame, int32_t& w, int32_t& h, int32_t& ox, int32_t& oy) const override {
        w = 10;
        h = 6;
        ox = oy = 0;
        return !missing.count(id) && frame < 9;
    }
    DrawnRect DrawFrame(int32_t id, int32_t frame, int32_t x, int32_t y, const DrawingContext& c) override {
        calls.push_back({id, frame, x, y, c.highlight, c.secondMode, c.thirdMode, c.seeThrough, c.opacity});
        return DrawnRect{x, y, x + 10, y + 6};
    }
    std::vector<int32_t> Ids() const {
        std::vector<int32_t> ids;
        for (const Call& call : calls) ids.push_back(call.id);
        return ids;
    }
    std::set<int32_t> missing;
    std::vector<Call> calls;
};

class FakeObject : public DrawnObject {
public:
    int32_t Id() const override { return id; }
    int32_t TypeCode() const override { return type; }
    std::string Name() const override { return name; }
    int16_t Word(int32_t i) const override { return words[static_cast<size_t>(i)]; }
    void SetWord(int32_t i, int16_t v) override { words[static_cast<size_t>(i)] = v; }
    int32_t Direction() const override { return direction; }
    int32_t StateBits() const override { return state; }
    bool ShowsId() const override { return showId; }
    int32_t RedrawState() const override { return redraw; }
    void SetRedrawStamp(uint32_t ms) override { stamp = ms; }
    DrawnRect StoredRect() const override { return stored; }
    void SetStoredRect(const DrawnRect& r) override { stored = r; }
    float WorldX() const override { return 0; }
    float WorldY() const override { return 0; }
    float WorldHeight() const override { return 0; }
    int32_t FirstDrawGroupId() const override { return drawGroupId; }
    int32_t FirstSwitchableSprite() const override { return firstSwitchable; }
    int32_t MasterCategory() const override { return category; }
    const tova::DrawGroup* DrawGroupOf(int32_t) const override { return group; }
    SpriteDraw* Sprites() const override { return sprites; }
    std::vector<int16_t> DynamicSpriteWords() const override { return dynamic; }
    std::vector<SlotContent> SlotContents() const override { return contents; }
    std::vector<SlotPointIcons> SlotPoints() const override { return points; }
    bool IsPortal() const override { return type == 8; }

    int32_t id = 7, type = 1, direction = 0, state = 0, redraw = 0, drawGroupId = 100, firstSwitchable = 0,
            category = 0;
    std::string name = "chair";
    std::vector<int16_t> words = std::vector<int16_t>(64, 0);
    bool showId = false;
    uint32_t stamp = 0;
    DrawnRect stored;
    const tova::DrawGroup* group = nullptr;
    SpriteDraw* sprites = nullptr;
    std::vector<int16_t> dynamic;
    std::vector<SlotContent> contents;
    std::vector<SlotPointIcons> points;
};

// One image per direction and zoom whose sprite id tells them apart.
tova::DrawGroup EveryView() {
    tova::DrawGroup group;
    for (int32_t direction = 0; direction < 8; ++direction)
        for (int32_t zoom = 1; zoom <= 3; ++zoom) {
            tova::DrawGroupImage image;
            image.directionMask = 1u << direction;
            image.zoom = zoom;
            image.sprites.push_back({1000 + direction * 10 + zoom, 0, 1, 2});
            group.images.push_back(image);
        }
    return group;
}

class ObjectDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        object.group = &group;
        object.sprites = &sprites;
        context.project = [](float x, float y, float h, int32_t& sx, int32_t& sy) {
            sx = 100 + static_cast<int32_t>(x * 10);
            sy = 100 + static_cast<int32_t>(y * 10 - h * 10);
        };
    }
    uint32_t now = 5000;
    RecordingSprites sprites;
    tova::DrawGroup group = EveryView();
    FakeObject object;
    DrawingContext context;
    ObjectDrawer drawer{[this] { return now; }, true};
};

TEST_F(ObjectDrawingTest, ImageByRotationDirectionAndZoom) {
    object.direction = 2;
    for (int32_t rotation : {0, 2, 4, 6})
        for (int32_t zoom = 1; zoom <= 3; ++zoom) {
            sprites.calls.clear();
            context.rotation = rotation;
            context.zoom = zoom;
            drawer.Draw(object, context);
            ASSERT_EQ(sprites.calls.size(), 1u);
            EXPECT_EQ(sprites.calls[0].id, 1000 + ((rotation + 2) % 8) * 10 + zoom) << rotation << " " << zoom;
            EXPECT_EQ(sprites.calls[0].x, 101) << "the item's pixel offsets";
            EXPECT_EQ(sprites.calls[0].y, 102);
        }
    object.drawGroupId = 0;
    sprites.calls.clear();
    drawer.Draw(object, context);
    EXPECT_TRUE(sprites.calls.empty()) << "no draw group: no sprites";
}

TEST_F(ObjectDrawingTest, SwitchableSpritesModesAndOpacity) {
    tova::DrawGroupImage image;
    image.directionMask = 1;
    image.zoom = 3;
    for (int32_t id : {199, 200, 201, 202}) image.sprites.push_back({id, 0, 0, 0});
    group.images.insert(group.images.begin(), image);
    object.firstSwitchable = 200;
    object.dynamic = {1, 0};
    object.state = 1 | 0x10;
    object.words[51] = 1;
    object.category = 7;
    context.secondMode = true;
    drawer.Draw(object, context);
    EXPECT_EQ(sprites.Ids(), (std::vector<int32_t>{199, 200, 202}));
    const Call& call = sprites.calls[0];
    EXPECT_TRUE(call.highlight);
    EXPECT_FALSE(call.second) << "kept only with state bit 8";
    EXPECT_TRUE(call.third);
    EXPECT_TRUE(call.seeThrough);
    EXPECT_FLOAT_EQ(call.opacity, 1.0f);
    EXPECT_FALSE(context.highlight) << "restored afterwards";
    EXPECT_TRUE(context.secondMode);
    EXPECT_FALSE(context.seeThrough);
    EXPECT_FLOAT_EQ(context.opacity, 0.5f);
}

TEST_F(ObjectDrawingTest, WorldOffsetsTurnWithTheDirection) {
    struct Case {
        int32_t direction;
        int32_t x, y;
    };
    for (const Case& c : {Case{0, 110, 100}, {2, 100, 110}, {4, 90, 100}, {6, 100, 90}, {3, 100, 100}}) {
        tova::DrawGroupImage image;
        image.directionMask = 0xFF;
        image.zoom = 3;
        tova::DrawGroupSprite item{500, 0, 0, 0};
        item.planeA = 1;
        image.sprites.push_back(item);
        tova::DrawGroup offsetGroup;
        offsetGroup.images.push_back(image);
        object.group = &offsetGroup;
        object.direction = c.direction;
        sprites.calls.clear();
        drawer.Draw(object, context);
        ASSERT_EQ(sprites.calls.size(), 1u);
        EXPECT_EQ(sprites.calls[0].x, c.x) << c.direction;
        EXPECT_EQ(sprites.calls[0].y, c.y) << c.direction;
    }
}

TEST_F(ObjectDrawingTest, SlotContentsAndIcons) {
    FakeObject plate;
    plate.group = &group;
    plate.sprites = &sprites;
    object.direction = 2;
    object.contents = {{1.0f, 0.0f, 0.5f, &plate}};
    SlotPointIcons point;
    point.remainingTicks = 4;
    point.firstIcon = 31;
    point.secondIcon = 32;
    point.graphic = 40;
    point.frameIndex = 1;
    point.cycleSprites = &sprites;
    object.points = {point, SlotPointIcons{}};
    RecordingSprites icons;
    drawer.SetIconSprites(&icons);
    const DrawnRect drawn = drawer.Draw(object, context);
    ASSERT_EQ(sprites.Ids(), (std::vector<int32_t>{1023, 1003, 40})) << "the plate faces its own way";
    EXPECT_EQ(sprites.calls[1].x, 101) << "the slot's offset turned: (0, 1)";
    EXPECT_EQ(sprites.calls[1].y, 107);
    EXPECT_EQ(sprites.calls[2].frame, 3) << "3 - zoom + 3 x the frame index";
    ASSERT_EQ(icons.Ids(), (std::vector<int32_t>{31, 32}));
    EXPECT_EQ(icons.calls[0].frame, 0);
    EXPECT_EQ(icons.calls[0].x, 100 - 32);
    EXPECT_LE(drawn.top, 100);
    EXPECT_GE(drawn.bottom, 113);
    EXPECT_EQ(object.stored.left % 4, 0);
    EXPECT_EQ(object.stored.right % 4, 0);

    icons.calls.clear();
    context.zoom = 1;
    drawer.Draw(object, context);
    EXPECT_TRUE(icons.calls.empty()) << "no icons at zoom 1";
    object.type = 2;
    sprites.calls.clear();
    drawer.Draw(object, context);
    EXPECT_EQ(sprites.calls.size(), 1u) << "persons draw no slot contents";
}

TEST_F(ObjectDrawingTest, LabelsOnlyWithTheDebugSwitch) {
    std::vector<uint16_t> pixels(200 * 100, 0x1234), depth(200 * 100, 0xFFFF);
    context.picture = {pixels.data(), depth.data(), 200, 100, 200, true};
    const DrawnRect box = drawer.DrawLabel("abc", 100, 50, 0, context);
    EXPECT_EQ(box.right - box.left, 30);
    EXPECT_EQ(box.bottom - box.top, 15);
    EXPECT_EQ(box.left, 85);
    EXPECT_EQ(pixels[static_cast<size_t>(box.top * 200 + box.left)], 0xFFF8) << "palette colour 255";
    EXPECT_EQ(depth[static_cast<size_t>(box.top * 200 + box.left)], 0) << "in front";
    EXPECT_EQ(drawer.DrawLabel("abc", 100, 50, 3, context).top, box.top - 3 * (2 << 3));

    ObjectDrawer quiet([] { return 0u; }, false);
    std::vector<uint16_t> untouched(200 * 100, 0x1234);
    context.picture.pixels = untouched.data();
    EXPECT_TRUE(quiet.DrawLabel("abc", 100, 50, 0, context).Empty());
    EXPECT_EQ(untouched, std::vector<uint16_t>(200 * 100, 0x1234));

    // A missing frame and a missing draw group are named by labels.
    sprites.missing = {1003};
    const DrawnRect named = drawer.Draw(object, context);
    EXPECT_FALSE(named.Empty());
    object.group = nullptr;
    EXPECT_FALSE(drawer.Draw(object, context).Empty());
    object.stored = DrawnRect{};
    EXPECT_TRUE(quiet.Draw(object, context).Empty());
}

TEST_F(ObjectDrawingTest, FloatingPictureIsDroppedAfter999Milliseconds) {
    int32_t drawnAtY = 0;
    FloatingPicture picture;
    picture.object = &object;
    picture.width = 20;
    picture.height = 10;
    picture.startMilliseconds = 5000;
    picture.draw = [&](int32_t x, int32_t y, const DrawingContext&) {
        drawnAtY = y;
        return DrawnRect{x, y, x + 20, y + 10};
    };
    drawer.SetFloatingPicture(picture);
    now = 5999;
    drawer.Draw(object, context);
    EXPECT_EQ(drawnAtY, 100 - 175 - 5);
    EXPECT_TRUE(drawer.HasFloatingPicture());
    drawnAtY = 0;
    now = 6000;
    drawer.Draw(object, context);
    EXPECT_EQ(drawnAtY, 0);
    EXPECT_FALSE(drawer.HasFloatingPicture());
}

TEST(ObjectThumbnails, ZoomLeavesThreePixelMargins) {
    struct Case {
        int32_t w, h, boxW, boxH, zoom;
    };
    for (const Case& c : {Case{100, 60, 106, 66, 3}, {100, 60, 105, 66, 2}, {100, 60, 60, 40, 2}, {400, 400, 100, 100, 1}})
        EXPECT_EQ(ThumbnailZoom(c.w, c.h, c.boxW, c.boxH), c.zoom) << c.w << " in " << c.boxW;
    EXPECT_EQ(ThumbnailDirection(0), 4);
    EXPECT_EQ(ThumbnailDirection(6), 2);
    int32_t x, y;
    GroupPartOffset(1, 0, 3, x, y);
    EXPECT_EQ(x, -64);
    EXPECT_EQ(y, 32);
}

TEST(ObjectColours, WideningAndShading) {
    EXPECT_EQ(WidenPixel565(0xFFFF), 0xF8FCF8u);
    EXPECT_EQ(WidenPixel555(0x7FFF), 0xF8F8F8u);
    EXPECT_EQ(WidenPixel565(0xF800), 0xF80000u);
    EXPECT_EQ(WidenPixel555(0x001F), 0x0000F8u);
    EXPECT_EQ(ShadePixel(0xFFFF, 0xFFFF, 0, 0, true), 0);
    EXPECT_EQ(ShadePixel(0xFFFF, 0x1000, 0, 0, true), 0xFFFF) << "something drawn in front";
    EXPECT_EQ(ShadePixel(0xFFFF, 0xFFFF, 200, 60, true), 0xFFFF) << "with the bias at 255";
    EXPECT_EQ(ShadePixel(0x7C00, 0xFFFF, 128, 0, false), 0x3C00);
}

}  // namespace
