#include "ui/graphics/cGZDBFontThai.h"

#include <algorithm>

namespace {

// Horizontal step of each code, rows by the high hex digit.
constexpr uint8_t kAdvance[256] = {
    12, 12,  4,  5,  5,  5, 12, 12, 12, 12, 12,  5, 12, 12, 12, 12,  // 00
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  0,  1,  // 10
     5,  2,  3,  5,  5,  5,  5,  1,  2,  2,  5,  5,  2,  5,  2,  5,  // 20
     5,  3,  5,  5,  5,  5,  5,  5,  5,  5,  2,  2,  4,  5,  4,  5,  // 30
     5,  5,  5,  5,  5,  5,  5,  5,  5,  3,  5,  5,  5,  5,  5,  5,  // 40
     5,  5,  5,  5,  5,  5,  5,  5,  5,  5,  5,  3,  5,  3,  5,  5,  // 50
     3,  5,  5,  5,  5,  5,  5,  5,  5,  3,  5,  5,  2,  5,  5,  5,  // 60
     5,  5,  5,  5,  5,  5,  5,  5,  5,  5,  5,  3,  1,  3,  5,  4,  // 70
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  // 80
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0, 10,  // 90
     0,  8,  8,  8,  7,  7,  9,  6,  7,  9,  8,  9, 10, 10,  8,  8,  // A0
     7, 10, 11, 12,  7,  7,  8,  8,  7,  9,  8,  8,  7,  7,  9,  9,  // B0
     8,  7,  6,  7,  8,  6,  8,  7,  8, 10,  6,  8, 11,  6,  7,  6,  // C0
     6,  6,  6, 11,  7,  6,  7,  6,  3,  5,  2,  0,  0,  0,  0,  8,  // D0
     3,  7,  6,  6,  7,  6,  6,  6,  1,  5,  6,  3,  5,  3,  3,  8,  // E0
     7,  7,  9,  8, 10, 10,  7,  9,  8,  8, 11, 11,  0,  0,  9,  0,  // F0
};

// The column a mark hangs from (marks) or offers (bases).
constexpr uint8_t kAnchor[256] = {
    12, 12,  4,  5,  5,  5, 12, 12, 12, 12, 12,  5, 12, 12, 12, 12,  // 00
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  0,  1,  // 10
     5,  2,  5,  5,  5,  5,  5,  2,  2,  2,  5,  5,  2,  5,  2,  5,  // 20
     5,  3,  5,  5,  5,  5,  5,  5,  5,  5,  2,  2,  4,  5,  4,  5,  // 30
     5,  5,  5,  5,  5,  5,  5,  5,  5,  3,  5,  5,  5,  5,  5,  5,  // 40
     5,  5,  5,  5,  5,  5,  5,  5,  5,  5,  5,  3,  5,  3,  5,  5,  // 50
     3,  5,  5,  5,  5,  5,  5,  5,  5,  3,  5,  5,  2,  5,  5,  5,  // 60
     5,  5,  5,  5,  5,  5,  5,  5,  5,  5,  5,  3,  1,  3,  5,  4,  // 70
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  // 80
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  9,  // 90
     0,  7,  7,  7,  6,  6,  8,  5,  6,  7,  6,  7,  9,  9,  7,  7,  // A0
     5,  9,  9,  9,  6,  6,  7,  7,  5,  7,  7,  4,  6,  3,  8,  5,  // B0
     7,  6,  5,  5,  8,  5,  8,  6,  6,  7,  5,  7,  8,  5,  5,  6,  // C0
     6,  3,  6,  1,  6,  5,  6,  5,  2,  4,  1,  0,  0,  0,  0,  8,  // D0
     3,  7,  6,  6,  7,  6,  6,  6,  0,  3,  3,  1,  2,  1,  1,  8,  // E0
     7,  7,  9,  8, 10, 10,  7,  9,  8,  8, 11, 11,  0,  0,  9,  0,  // F0
};

bool IsTone(int32_t kind) { return kind == 7 || kind == 11; }

}  // namespace

cGZDBFontThai::cGZDBFontThai(const cRZString& path, std::shared_ptr<const DBGlyphSet> set)
    : cGZDBFont(path, 19, std::move(set)) {}

int32_t cGZDBFontThai::ClassOf(uint8_t c) {
    if (c >= 161 && c <= 206 && c != 196 && c != 198) return 2;
    if (c >= 224 && c <= 228) return 3;
    if (c == 196 || c == 198 || c == 208 || c == 210 || c == 229) return 4;
    if (c == 216 || c == 217) return 5;
    if (c == 209 || (c >= 212 && c <= 215)) return 6;
    if (c >= 232 && c <= 235) return 7;
    if (c == 231 || c == 237 || c == 238) return 8;
    if (c == 218) return 9;
    if (c == 211) return 10;
    if (c == 236) return 11;
    return 1;
}

cGZDBFontThai::Cell cGZDBFontThai::Compose(const char* text, int32_t remaining) {
    Cell cell;
    auto at = [&](int32_t i) { return i < remaining ? static_cast<uint8_t>(text[i]) : uint8_t{0}; };
    const uint8_t base = at(0);
    cell.glyphs[0] = {base, 0, 1};
    cell.glyphCount = 1;
    auto take = [&](int32_t level) {
        cell.glyphs[cell.glyphCount++] = {at(cell.bytes), 0, level};
        ++cell.bytes;
    };
    if (ClassOf(base) == 2 && remaining > 1) {
        const int32_t next = ClassOf(at(1));
        if (next == 5 || next == 9) {
            if (base == 173) cell.glyphs[0].glyph = 159;
            take(1);
            if (IsTone(ClassOf(at(2))) && remaining > 2) take(4);
            else if (ClassOf(at(2)) == 8 && remaining > 2) take(1);
        } else if (next == 6) {
            take(1);
            if (IsTone(ClassOf(at(2))) && remaining > 2) take(1);
        } else if (IsTone(next)) {
            if (at(2) == 211 && remaining > 2) {
                take(1);
                take(1);
            } else {
                take(4);
            }
        } else if (next == 8 || next == 10) {
            take(1);
        }
    }
    cell.width = kAdvance[base];
    int32_t anchor = kAnchor[base];
    for (int32_t i = 1; i < cell.glyphCount; ++i) {
        CellGlyph& mark = cell.glyphs[i];
        const int32_t markAnchor = kAnchor[mark.glyph];
        mark.x = anchor - markAnchor;
        if ((base == 187 || base == 189 || base == 191) && mark.glyph >= 216 && mark.glyph <= 218) mark.x += 3;
        if (mark.x + kAdvance[mark.glyph] > cell.width) cell.width = mark.x + kAdvance[mark.glyph];
        if (markAnchor > anchor) {
            cell.width += markAnchor - anchor;
            anchor = markAnchor;
        }
    }
    cell.hidden = cell.bytes == 1 && base == '_';
    cell.advance = cell.hidden ? 0 : cell.width + ((base == ' ' || base == 0xA0) ? 0 : 1);
    return cell;
}

int32_t cGZDBFontThai::GetGlyphWidth(uint8_t ch) const { return kAdvance[ch]; }

int32_t cGZDBFontThai::CharBytes(const char* text, int32_t remaining) const {
    return remaining <= 0 ? 1 : Compose(text, remaining).bytes;
}

int32_t cGZDBFontThai::CharAdvance(const char* text, int32_t bytes) const { return Compose(text, bytes).advance; }

void cGZDBFontThai::CharPixels(const char* text, int32_t bytes, const PixelSink& sink) const {
    if (!mSet || !mSet->IsUsable()) return;
    const Cell cell = Compose(text, bytes);
    if (cell.hidden) return;
    const DBGlyphSetLayout& l = mSet->Layout();
    for (int32_t g = 0; g < cell.glyphCount; ++g) {
        const CellGlyph& glyph = cell.glyphs[g];
        for (int32_t y = 0; y < l.singleHeight; ++y)
            RowPixels(mSet->SingleRow(glyph.glyph, y), glyph.x, glyph.level + y, sink);
    }
}

cRZRect cGZDBFontThai::CharBounds(const char* text, int32_t bytes) const {
    if (!mSet || !mSet->IsUsable()) return {};
    const Cell cell = Compose(text, bytes);
    if (cell.hidden || cell.glyphCount == 0) return {};
    const DBGlyphSetLayout& l = mSet->Layout();
    // Marks may sit left of the cell (a negative x).
    cRZRect box{cell.glyphs[0].x, cell.glyphs[0].level, cell.glyphs[0].x + l.singleWidth,
                cell.glyphs[0].level + l.singleHeight};
    for (int32_t g = 1; g < cell.glyphCount; ++g) {
        const CellGlyph& glyph = cell.glyphs[g];
        box.left = std::min(box.left, glyph.x);
        box.top = std::min(box.top, glyph.level);
        box.right = std::max(box.right, glyph.x + l.singleWidth);
        box.bottom = std::max(box.bottom, glyph.level + l.singleHeight);
    }
    return box;
}

int32_t cGZDBFontThai::UnitEnd(const char* text, int32_t length, int32_t start) const {
    int32_t at = start;
    while (at < length) {
        const auto ch = static_cast<uint8_t>(text[at]);
        if (ch < 32) return at == start ? at + 1 : at;
        at += CharBytes(text + at, length - at);
        if (IsBreakChar(ch)) break;
    }
    return at;
}
