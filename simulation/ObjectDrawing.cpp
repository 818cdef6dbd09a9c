#include "simulation/ObjectDrawing.h"

#include <algorithm>
#include <cstdio>

#include "simulation/LabelFont.h"

void DrawnRect::Union(const DrawnRect& other) {
    if (other.Empty()) return;
    if (Empty()) {
        *this = other;
        return;
    }
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

void ObjectDrawer::TurnOffset(int32_t direction, float& x, float& y) {
    const float ox = x, oy = y;
    switch (direction & 7) {
        case 0: break;
        case 2: x = -oy; y = ox; break;
        case 4: x = -ox; y = -oy; break;
        case 6: x = oy; y = -ox; break;
        default: x = 0; y = 0; break;
    }
}

void ObjectDrawer::ScreenPoint(const DrawingContext& context, int32_t& x, int32_t& y) {
    x = context.originX;
    y = context.originY;
    if (context.project) context.project(context.worldX, context.worldY, context.height, x, y);
}

DrawnRect ObjectDrawer::DrawLabel(const std::string& text, int32_t x, int32_t y, int32_t rows,
                                   DrawingContext& context) {
    if (!mDebug) return {};
    if (!LabelGlyphs::Bitmap() && !LabelGlyphs::Create()) return {};
    const auto length = static_cast<int32_t>(text.size());
    const int32_t width = (kLabelCell + 1) * length + 6, height = kLabelCellHeight + 4;
    DrawnRect box;
    box.left = x - width / 2;
    box.top = y - height / 2 - rows * (2 << context.zoom);
    box.right = box.left + width;
    box.bottom = box.top + height;
    const PixelTarget& target = context.picture;
    if (!target.pixels) return box;
    const OffscreenBitmap& glyphs = *LabelGlyphs::Bitmap();
    auto colour = [&](uint8_t index) {
        const OffscreenBitmap::Rgb& c = glyphs.GetPalette()[index];
        return target.layout565 ? static_cast<uint16_t>((c.red >> 3) << 11 | (c.green >> 2) << 5 | c.blue >> 3)
                                : static_cast<uint16_t>((c.red >> 3) << 10 | (c.green >> 3) << 5 | c.blue >> 3);
    };
    auto put = [&](int32_t px, int32_t py, uint8_t index) {
        if (px < 0 || py < 0 || px >= target.width || py >= target.height) return;
        target.pixels[py * target.pitch + px] = colour(index);
        if (target.depth) target.depth[py * target.pitch + px] = 0;  // in front of everything
    };
    for (int32_t py = box.top; py < box.bottom; ++py)
        for (int32_t px = box.left; px < box.right; ++px) put(px, py, LabelGlyphs::kPaper);
    for (int32_t i = 0; i < length; ++i) {
        const auto ch = static_cast<uint8_t>(text[static_cast<size_t>(i)]);
        if (ch >= 128) continue;
        for (int32_t gy = 0; gy < kLabelCellHeight; ++gy)
            for (int32_t gx = 0; gx < kLabelCell; ++gx)
                put(box.left + 3 + i * 8 + gx, box.top + 2 + gy, glyphs.Pixel(ch * kLabelCell + gx, gy));
    }
    return box;
}

DrawnRect ObjectDrawer::DrawSprites(DrawnObject& object, DrawingContext& context, bool& drewGroup) {
    DrawnRect drawn;
    drewGroup = false;
    const tova::DrawGroup* group = object.DrawGroupOf(object.Word(0));
    const tova::DrawGroupImage* image =
        group ? group->FindImage((context.rotation + object.Direction()) % 8, context.zoom) : nullptr;
    SpriteDraw* sprites = object.Sprites();
    if (!image || !sprites) return drawn;
    drewGroup = true;
    const std::vector<int16_t> dynamic = object.DynamicSpriteWords();
    const int32_t firstSwitchable = object.FirstSwitchableSprite();
    const int32_t state = object.StateBits();
    const DrawingContext saved = context;
    context.highlight = (state & 1) != 0;
    context.secondMode = saved.secondMode && (state & 0x08) != 0;
    context.thirdMode = saved.thirdMode || (state & 0x10) != 0;
    if (object.Word(DrawnObject::kSeeThroughWord) != 0 && !object.IsPortal()) context.seeThrough = true;
    if (object.MasterCategory() == 7) context.opacity = 1.0f;
    for (const tova::DrawGroupSprite& item : image->sprites) {
        const int32_t id = item.spriteId;
        if (!dynamic.empty() && id >= firstSwitchable && id < firstSwitchable + static_cast<int32_t>(dynamic.size()) &&
            dynamic[static_cast<size_t>(id - firstSwitchable)] == 0)
            continue;
        DrawingContext at = context;
        if (item.vertical != 0 || item.planeA != 0 || item.planeB != 0) {
            float ox = item.planeA, oy = item.planeB;
            TurnOffset(object.Direction(), ox, oy);
            at.worldX += ox;
            at.worldY += oy;
            at.height += item.vertical;
        }
        int32_t x, y;
        ScreenPoint(at, x, y);
        int32_t w, h, originX, originY;
        if (sprites->FrameInfo(id, item.frame, w, h, originX, originY)) {
            drawn.Union(sprites->DrawFrame(id, item.frame, x + item.x, y + item.y, at));
        } else {
            char number[16];
            std::snprintf(number, sizeof number, "%d", id);
            drawn.Union(DrawLabel(number, x + item.x, y + item.y, 0, at));
        }
    }
    context.highlight = saved.highlight;
    context.secondMode = saved.secondMode;
    context.thirdMode = saved.thirdMode;
    context.seeThrough = saved.seeThrough;
    context.opacity = saved.opacity;
    return drawn;
}

DrawnRect ObjectDrawer::DrawSlotIcons(const SlotPointIcons& point, int32_t x, int32_t y, DrawingContext& context) {
    DrawnRect drawn;
    const int32_t zoom = context.zoom;
    if (zoom <= 1) return drawn;
    const int32_t ix = x - (8 << zoom) / 2;
    const int32_t iy = y - static_cast<int32_t>(static_cast<float>(1 << (zoom + 1)) * point.height);
    const int32_t iconFrame = 3 - zoom;
    if (mIcons && point.firstIcon != 0) drawn.Union(mIcons->DrawFrame(point.firstIcon, iconFrame, ix, iy, context));
    if (point.graphic == -1) {
        if (mPictures && point.cycleDefinition) {
            const int32_t dx = zoom == 3 ? 32 : 16, dy = zoom == 3 ? 36 : 18;
            drawn.Union(point.cycleIsPerson
                            ? mPictures->DrawPortrait(point.cycleDefinition, ix + dx, iy - dy, context)
                            : mPictures->DrawCatalogue(point.cycleDefinition, ix + dx, iy - dy, context));
        }
    } else if (point.graphic != 0 && point.cycleSprites) {
        const int32_t frame = 3 - zoom + 3 * point.frameIndex;
        if (frame < point.cycleSprites->FrameCount(point.graphic))
            drawn.Union(point.cycleSprites->DrawFrame(point.graphic, frame, ix, iy, context));
    }
    if (mIcons && point.secondIcon != 0) drawn.Union(mIcons->DrawFrame(point.secondIcon, iconFrame, ix, iy, context));
    return drawn;
}

DrawnRect ObjectDrawer::Draw(DrawnObject& object, DrawingContext& context) {
    DrawnRect drawn = object.StoredRect();
    if (object.RedrawState() == 1) object.SetRedrawStamp(mNow());

    bool drewGroup = false;
    if (object.Word(DrawnObject::kNoDrawWord) == 0 && object.FirstDrawGroupId() != 0)
        drawn.Union(DrawSprites(object, context, drewGroup));
    int32_t x, y;
    ScreenPoint(context, x, y);
    const int32_t type = object.TypeCode();
    if (!drewGroup && type != 2 && type != 8 && type != 11) drawn.Union(DrawLabel(object.Name(), x, y, 0, context));

    if (type != 2) {
        for (const SlotContent& slot : object.SlotContents()) {
            if (!slot.object) continue;
            const DrawingContext saved = context;
            float ox = slot.offsetX, oy = slot.offsetY;
            TurnOffset(object.Direction(), ox, oy);
            context.worldX += ox;
            context.worldY += oy;
            context.height += slot.offsetHeight;
            const DrawnRect inner = Draw(*slot.object, context);
            drawn.Union(inner.Empty() ? slot.object->StoredRect() : inner);
            context.worldX = saved.worldX;
            context.worldY = saved.worldY;
            context.height = saved.height;
        }
        for (const SlotPointIcons& point : object.SlotPoints())
            if (point.remainingTicks != 0) drawn.Union(DrawSlotIcons(point, x, y, context));
    }
    if (context.overlay) drawn.Union(context.overlay(&object));

    if (!drawn.Empty()) {
        DrawnRect widened = drawn;
        widened.left = drawn.left & ~3;
        widened.right = (drawn.right + 3) & ~3;
        object.SetStoredRect(widened);
    }

    if (object.ShowsId()) drawn.Union(DrawLabel(std::to_string(object.Id()), x, y, 3, context));
    if (object.Word(DrawnObject::kShowGraphicWord) == 2) {
        if (object.RedrawState() == 1) drawn.Union(DrawLabel(std::to_string(object.Word(0)), x, y, 0, context));
        else object.SetWord(DrawnObject::kShowGraphicWord, 0);
    }

    if (mFloating.object == &object || (mFloating.objectId != 0 && mFloating.objectId == object.Id())) {
        if (mNow() - mFloating.startMilliseconds < 1000) {
            const int32_t raise = (175 >> (3 - context.zoom)) + (context.zoom == 1 ? 4 : 0);
            if (mFloating.draw)
                drawn.Union(mFloating.draw(x - mFloating.width / 2, y - raise - mFloating.height / 2, context));
        } else {
            mFloating = FloatingPicture{};
        }
    }
    return drawn;
}

int32_t ThumbnailZoom(int32_t widthAtZoom3, int32_t heightAtZoom3, int32_t boxWidth, int32_t boxHeight) {
    for (int32_t zoom = 3; zoom > 1; --zoom) {
        const int32_t w = widthAtZoom3 >> (3 - zoom), h = heightAtZoom3 >> (3 - zoom);
        if ((boxWidth - w) / 2 >= 3 && (boxHeight - h) / 2 >= 3) return zoom;
    }
    return 1;
}

int32_t ThumbnailDirection(int32_t facingOffset) { return ((facingOffset + 4) % 8 + 8) % 8; }

void GroupPartOffset(int32_t dx, int32_t dy, int32_t zoom, int32_t& x, int32_t& y) {
    y = (dy + dx) * (4 << zoom);
    x = (dy - dx) * (8 << zoom);
}

uint32_t WidenPixel555(uint16_t p) {
    return uint32_t{static_cast<uint32_t>((p >> 10) & 31) << 19} | static_cast<uint32_t>((p >> 5) & 31) << 11 |
           static_cast<uint32_t>(p & 31) << 3;
}

uint32_t WidenPixel565(uint16_t p) {
    return static_cast<uint32_t>((p >> 11) & 31) << 19 | static_cast<uint32_t>((p >> 5) & 63) << 10 |
           static_cast<uint32_t>(p & 31) << 3;
}

uint16_t ShadePixel(uint16_t pixel, uint16_t depth, int32_t intensity, int32_t bias, bool layout565) {
    if (depth != 0xFFFF || intensity < 0 || intensity + bias >= 255) return pixel;
    auto scale = [intensity](uint32_t channel) { return channel * static_cast<uint32_t>(intensity) / 255; };
    if (layout565)
        return static_cast<uint16_t>(scale((pixel >> 11) & 31) << 11 | scale((pixel >> 5) & 63) << 5 | scale(pixel & 31));
    return static_cast<uint16_t>(scale((pixel >> 10) & 31) << 10 | scale((pixel >> 5) & 31) << 5 | scale(pixel & 31));
}
