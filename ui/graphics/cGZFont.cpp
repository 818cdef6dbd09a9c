#include "ui/graphics/cGZFont.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "ui/graphics/GuardedAlloc.h"
#include "ui/graphics/KoralBinding.h"
#include "ui/graphics/KoralImageFile.h"
#include "ui/graphics/KoralStreams.h"
#include "ui/graphics/FontDrawing.h"
#include "ui/graphics/cGZBuffer.h"

using font_drawing::ClipOf;
using font_drawing::DrawLock;
using font_drawing::LayoutOf;
using font_drawing::Mix;

namespace {

// One glyph image as read from the file, before it goes into the atlas.
struct LoadedImage {
    int32_t code = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t originX = 0;
    int32_t originY = 0;
    const std::vector<uint8_t>* pixels = nullptr;
    int32_t left = 0;  // its place in the atlas
    int32_t top = 0;
};

}  // namespace

cGZFont::cGZFont(const cRZString& path, int32_t size, uint32_t flags) : mPath(path), mSize(size), mFlags(flags) {}

cGZFont::~cGZFont() = default;

uint32_t cGZFont::Release() {
    if (mRefCount > 0 && --mRefCount == 0) {
        delete this;
        return 0;
    }
    return mRefCount;
}

void cGZFont::SetColor(uint32_t colour) { mColour = colour; }

void cGZFont::SetFlag(uint32_t mask, bool on) { mFlags = font_drawing::ChangeFlags(mFlags, mask, on); }

void cGZFont::Unload() {
    mGlyphs = {};
    mAtlas.clear();
    mAtlasWidth = mAtlasHeight = 0;
    mPalette.clear();
    mColourTable.clear();
    mTableFormat = -1;
    mLineHeight = 0;
    mExtraWidth = 0;
    mLoaded = false;
}

bool cGZFont::Load() {
    Unload();
    if (ImageFileExtension(mPath).empty() || !EnsureImageCodecBound()) return false;
    std::unique_ptr<void, int32_t (*)(void*)> stream(KoralStreamOpen(mPath.c_str()), KoralStreamClose);
    if (!stream) return false;
    void* context = nullptr;
    if (!KoralOpen(&context, stream.get(), mPath.c_str(), kKoralModeDefault) || !context) return false;

    std::vector<GlyphImage> images;
    std::vector<uint32_t> palette;
    bool ok = true;
    for (intptr_t index = 0; ok; ++index) {
        KoralFrame* frame = KoralInfo(context, index);
        if (!frame) break;
        GlyphImage image;
        image.name.assign(frame->name, strnlen(frame->name, sizeof frame->name));
        image.width = frame->width;
        image.height = frame->height;
        image.originX = frame->originX;
        image.originY = frame->originY;
        // Only 8-bit images of sane size fit the atlas.
        if (frame->bits != 8 || image.width < 0 || image.height < 0 || image.width > kAtlasWidth ||
            image.height > kAtlasWidth) {
            ok = false;
        } else {
            if (palette.empty() && frame->paletteCount > 0)
                palette.assign(frame->palette, frame->palette + std::min(frame->paletteCount, 256));
            image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
            if (!image.pixels.empty() && !KoralRead(context, frame, image.pixels.data(), image.width)) ok = false;
            images.push_back(std::move(image));
        }
        gfree(frame);
    }
    KoralClose(context);
    return ok && Build(images, palette);
}

bool cGZFont::Build(const std::vector<GlyphImage>& all, const std::vector<uint32_t>& palette) {
    Unload();
    if (palette.empty() || palette.size() > 256) return false;
    std::vector<LoadedImage> images;
    int64_t xOffsetSum = 0;
    for (const GlyphImage& glyph : all) {
        if (glyph.width < 0 || glyph.height < 0 || glyph.width > kAtlasWidth || glyph.height > kAtlasWidth ||
            glyph.pixels.size() != static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height))
            return false;
        xOffsetSum -= glyph.originX;
        unsigned code = 0;
        char character = 0;
        int number = 0;
        // Codes outside 0-255 have no table entry: skipped.
        if (std::sscanf(glyph.name.c_str(), "%x '%c' %d", &code, &character, &number) < 1 || code > 255) continue;
        images.push_back({static_cast<int32_t>(code), glyph.width, glyph.height, glyph.originX, glyph.originY,
                          &glyph.pixels});
    }
    if (images.empty()) return false;
    const auto frameCount = static_cast<int64_t>(all.size());

    // Placement: left to right in rows no wider than the atlas.
    int32_t x = 0, rowTop = 0, rowHeight = 0, widest = 0, lowest = 0;
    for (LoadedImage& image : images) {
        if (x + image.width > kAtlasWidth) {
            x = 0;
            rowTop += rowHeight;
            rowHeight = 0;
        }
        Glyph& g = mGlyphs[static_cast<size_t>(image.code)];
        g.left = x;
        g.top = rowTop;
        g.right = x + image.width;
        g.bottom = rowTop + image.height;
        g.xOffset = -image.originX;
        g.yOffset = -image.originY;
        g.advance = image.width + g.xOffset;
        image.left = g.left;
        image.top = g.top;
        x = g.right;
        rowHeight = std::max(rowHeight, image.height);
        widest = std::max(widest, g.right);
        lowest = std::max(lowest, g.bottom);
    }
    if (lowest > kAtlasMaxHeight) return false;
    mExtraWidth = static_cast<int32_t>(std::lround(static_cast<double>(xOffsetSum) / static_cast<double>(frameCount)));
    mAtlasWidth = std::max(widest, 1);
    mAtlasHeight = std::max(lowest, 1);
    mAtlas.assign(static_cast<size_t>(mAtlasWidth) * static_cast<size_t>(mAtlasHeight), 0);
    // A code given twice keeps its last image; each is copied to its own place.
    for (const LoadedImage& image : images) {
        // An image with rows but no columns has no pixel bytes to copy.
        if (image.width <= 0) continue;
        for (int32_t row = 0; row < image.height; ++row)
            std::memcpy(&mAtlas[static_cast<size_t>(image.top + row) * static_cast<size_t>(mAtlasWidth) +
                                static_cast<size_t>(image.left)],
                        &(*image.pixels)[static_cast<size_t>(row) * static_cast<size_t>(image.width)],
                        static_cast<size_t>(image.width));
    }
    mPalette = palette;

    // Line height over the glyphs that have pixels, the no-break space aside.
    int32_t lowestOffset = 0, widthSum = 0, counted = 0;
    bool any = false;
    for (int32_t code = 0; code < 256; ++code) {
        const Glyph& g = mGlyphs[static_cast<size_t>(code)];
        if (code == 160 || g.right <= g.left || g.bottom <= g.top) continue;
        mLineHeight = std::max(mLineHeight, g.bottom - g.top + g.yOffset);
        lowestOffset = any ? std::min(lowestOffset, g.yOffset) : g.yOffset;
        widthSum += g.right - g.left;
        ++counted;
        any = true;
    }
    if (lowestOffset < 0) {
        for (Glyph& g : mGlyphs) g.yOffset -= lowestOffset;
        mLineHeight -= lowestOffset;
    }
    Glyph& space = mGlyphs[' '];
    space.right = space.left;
    space.bottom = space.top;
    space.advance = counted ? static_cast<int32_t>(std::lround(widthSum / (2.0 * counted))) : 0;
    mLoaded = true;
    return true;
}

void cGZFont::BuildColourTable(uint32_t colour, int32_t format) {
    if (mTableFormat == format && mTableColour == colour && mColourTable.size() == mPalette.size()) return;
    mColourTable.resize(mPalette.size());
    uint8_t r, g, b;
    cGZBuffer::SplitColorFor(format, colour & 0xFFFF, r, g, b);
    for (size_t i = 0; i < mPalette.size(); ++i) {
        const uint32_t coverage = mPalette[i] >> 24;
        const uint32_t brightness = (mPalette[i] >> 16) & 0xFF;
        uint32_t entry = colour & 0xFFFF;
        if (brightness != coverage) {
            const uint32_t level = brightness / 8;
            entry = cGZBuffer::MakeColorFor(format, static_cast<uint8_t>(r * level / 31),
                                            static_cast<uint8_t>(g * level / 31), static_cast<uint8_t>(b * level / 31));
        }
        mColourTable[i] = entry | ((coverage / 8) << 19);
    }
    mTableColour = colour;
    mTableFormat = format;
}

cIGZFont::Extent cGZFont::MeasureText(const char* text, int32_t length) const {
    Extent extent{0, mLineHeight};
    length = font_drawing::TextLength(text, length);
    for (int32_t i = 0; i < length; ++i) extent.width += mGlyphs[static_cast<uint8_t>(text[i])].advance;
    return extent;
}

int32_t cGZFont::GetGlyphWidth(uint8_t ch) const { return mGlyphs[ch].right - mGlyphs[ch].left; }

int32_t cGZFont::GetTextWidth(const char* text, int32_t length) const {
    length = font_drawing::TextLength(text, length);
    int32_t width = 0;
    for (int32_t i = 0; i < length; ++i) {
        const auto ch = static_cast<uint8_t>(text[i]);
        if (IsDrawable(ch)) width += mGlyphs[ch].advance;
    }
    return width + mExtraWidth;
}

int32_t cGZFont::GetTrimmedWidth(const char* text, int32_t length) const {
    return font_drawing::TrimmedWidth(*this, text, length);
}

int32_t cGZFont::GetBaseline() const { return mGlyphs['A'].yOffset + (mGlyphs['A'].bottom - mGlyphs['A'].top); }

cRZRect cGZFont::GetGlyphRect(uint8_t ch) const {
    const Glyph& g = mGlyphs[ch];
    return cRZRect{g.left, g.top, g.right, g.bottom};
}

// The first word (up to a newline or space, at least one byte) and the
// spaces after it.
int32_t cGZFont::WordFallback(const char* text, int32_t length) const {
    int32_t end = 0;
    while (end < length && text[end] != '\n' && text[end] != ' ') ++end;
    end = std::max(end, 1);
    while (end < length && text[end] == ' ') ++end;
    return end;
}

int32_t cGZFont::FitLine(const char* text, int32_t length, int32_t width) const {
    length = font_drawing::TextLength(text, length);
    if (length <= 0) return 0;
    auto at = [text](int32_t i) { return static_cast<uint8_t>(text[i]); };
    if (at(0) == '\n') return 1;
    int32_t running = GetGlyphWidth(at(0));
    if (width < running) return WordFallback(text, length);
    int32_t afterBreak = IsBreakChar(at(0)) ? 1 : 0;
    int32_t i = 1;
    for (; i < length; ++i) {
        if (at(i) == '\n') return i + 1;
        const int32_t next = running + GetAdvance(at(i - 1)) - GetGlyphWidth(at(i - 1)) + GetGlyphWidth(at(i));
        if (next > width) break;
        running = next;
        if (IsBreakChar(at(i))) afterBreak = i + 1;
    }
    if (i == length) return length;
    int32_t end = afterBreak > 0 ? afterBreak : (i > 1 ? i : 0);
    if (end == 0) return WordFallback(text, length);
    while (end < length && at(end) == ' ') ++end;
    return end;
}

int32_t cGZFont::CountLines(const char* text, int32_t length, int32_t width) const {
    return font_drawing::CountLines(*this, text, length, width);
}

int32_t cGZFont::DrawRun(uint16_t* bits, int32_t pitch, const cRZRect& clip, int32_t x, int32_t y, const char* text,
                         int32_t length, uint32_t colour, int32_t selectionStart, int32_t selectionEnd) {
    BuildColourTable(colour, mLayoutFormat);
    const uint32_t textColour = mColour & 0xFFFF;
    int32_t penX = x;
    for (int32_t i = 0; i < length && text[i] != 0; ++i) {
        const auto ch = static_cast<uint8_t>(text[i]);
        if (ch == '\n') continue;
        const Glyph& g = mGlyphs[ch];
        const bool selected = i >= selectionStart && i < selectionEnd;
        const int32_t glyphLeft = penX + g.xOffset, glyphTop = y + g.yOffset;
        if (selected) {
            // The cell takes the text colour; glyph pixels show the target.
            for (int32_t py = std::max(y, clip.top); py < std::min(y + mLineHeight, clip.bottom); ++py)
                for (int32_t px = std::max(penX, clip.left); px < std::min(penX + g.advance, clip.right); ++px) {
                    uint16_t& target = bits[py * pitch + px];
                    const int32_t gx = px - glyphLeft, gy = py - glyphTop;
                    int32_t opacity = 0;
                    if (gx >= 0 && gy >= 0 && gx < g.right - g.left && gy < g.bottom - g.top) {
                        const uint8_t index = mAtlas[static_cast<size_t>(g.top + gy) * static_cast<size_t>(mAtlasWidth) +
                                                     static_cast<size_t>(g.left + gx)];
                        if (index != 0 && index < mColourTable.size()) opacity = (mColourTable[index] >> 19) & 31;
                    }
                    target = static_cast<uint16_t>(opacity ? Mix(mLayoutFormat, target, textColour, opacity) : textColour);
                }
        } else if (glyphLeft < clip.right && glyphTop < clip.bottom && glyphLeft + (g.right - g.left) > clip.left &&
                   glyphTop + (g.bottom - g.top) > clip.top) {
            for (int32_t gy = 0; gy < g.bottom - g.top; ++gy) {
                const int32_t py = glyphTop + gy;
                if (py < clip.top || py >= clip.bottom) continue;
                for (int32_t gx = 0; gx < g.right - g.left; ++gx) {
                    const int32_t px = glyphLeft + gx;
                    if (px < clip.left || px >= clip.right) continue;
                    const uint8_t index = mAtlas[static_cast<size_t>(g.top + gy) * static_cast<size_t>(mAtlasWidth) +
                                                 static_cast<size_t>(g.left + gx)];
                    if (index == 0 || index >= mColourTable.size()) continue;
                    const uint32_t entry = mColourTable[index];
                    const int32_t opacity = static_cast<int32_t>((entry >> 19) & 31);
                    uint16_t& target = bits[py * pitch + px];
                    if (opacity == 31)
                        target = static_cast<uint16_t>(entry & 0xFFFF);
                    else if (opacity > 0)
                        target = static_cast<uint16_t>(Mix(mLayoutFormat, entry & 0xFFFF, target, opacity));
                }
            }
        }
        penX += g.advance;
    }
    return penX - x;
}

int32_t cGZFont::DrawText(cGZBuffer& buffer, int32_t x, int32_t y, const char* text, int32_t length,
                          const cRZRect* clip, int32_t selectionStart, int32_t selectionEnd) {
    length = font_drawing::TextLength(text, length);
    if (!mLoaded || length <= 0) return 0;
    DrawLock lock(buffer);
    uint16_t* bits = lock.Bits();
    if (!bits || buffer.GetPixelFormat().bits != 16) return 0;
    const int32_t pitch = buffer.GetPitch() / 2;  // in pixels
    const cRZRect area = ClipOf(buffer, clip);
    mLayoutFormat = LayoutOf(buffer);
    int32_t extra = 0;
    if (HasFlag(kFlagShadow)) {
        DrawRun(bits, pitch, area, x + 2, y + 2, text, length, 0, -1, -1);
        extra = 2;
    }
    const int32_t width = DrawRun(bits, pitch, area, x, y, text, length, mColour, selectionStart, selectionEnd);
    if (HasFlag(kFlagUnderline)) {
        const int32_t row = y + GetBaseline();
        if (row >= area.top && row < area.bottom)
            for (int32_t px = std::max(x, area.left); px < std::min(x + width, area.right); ++px)
                bits[row * pitch + px] = static_cast<uint16_t>(mColour);
    }
    return width + extra;
}

int32_t cGZFont::DrawMnemonicText(cGZBuffer& buffer, int32_t x, int32_t y, const cRZString& text) {
    std::string plain;
    int32_t marked = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&' && marked < 0) marked = static_cast<int32_t>(plain.size());
        }
        plain += text[i];
    }
    const int32_t width = DrawText(buffer, x, y, plain.c_str(), static_cast<int32_t>(plain.size()), nullptr, -1, -1);
    if (marked >= 0 && mLoaded) {
        DrawLock lock(buffer);
        uint16_t* bits = lock.Bits();
        const cRZRect area = ClipOf(buffer, nullptr);
        int32_t left = x;
        for (int32_t i = 0; i < marked; ++i) left += GetAdvance(static_cast<uint8_t>(plain[static_cast<size_t>(i)]));
        const int32_t right = left + GetAdvance(static_cast<uint8_t>(plain[static_cast<size_t>(marked)]));
        const int32_t row = y + GetBaseline();
        if (bits && row >= area.top && row < area.bottom)
            for (int32_t px = std::max(left, area.left); px < std::min(right, area.right); ++px)
                bits[row * (buffer.GetPitch() / 2) + px] = static_cast<uint16_t>(mColour);
    }
    return width;
}

void cGZFont::DrawTextBox(cGZBuffer& buffer, const cRZRect& rect, const char* text, int32_t length,
                          int32_t alignment) {
    font_drawing::DrawTextBox(*this, buffer, rect, text, length, alignment, true);
}
