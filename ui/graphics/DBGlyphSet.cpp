#include "ui/graphics/DBGlyphSet.h"

#include "platform/File.h"

namespace {

// Korean: 64172 and 79296 bytes hold 256 single-byte and 2350 double-byte glyphs.
const std::array<DBGlyphSetLayout, DBGlyphSet::kSetCount> kLayouts{{
    {"font12j.fon", 12, 6, 12, 12, 12, 12, 24, 8836},
    {"font16j.fon", 16, 8, 16, 16, 16, 16, 32, 8836},
    {"font16b5.fon", 16, 8, 16, 16, 16, 16, 32, 13932},
    {"font16gb.fon", 16, 8, 16, 16, 16, 16, 32, 8569},
    {"font20th.fon", 20, 12, 20, 40, 0, 0, 0, 0},
    {"font12k.fon", 12, 6, 12, 12, 12, 13, 26, 2350},
    {"font16k.fon", 16, 8, 16, 16, 16, 16, 32, 2350},
}};

}  // namespace

const std::array<DBGlyphSetLayout, DBGlyphSet::kSetCount>& DBGlyphSet::Layouts() { return kLayouts; }

std::vector<int32_t> DBGlyphSet::SetsOfLanguage(uint32_t language) {
    switch (language) {
        case 15: return {0, 1};
        case 17: return {3};
        case 18: return {2};
        case 19: return {kThaiSet};
        case 20: return {5, 6};
        default: return {};
    }
}

DBGlyphSet::DBGlyphSet(int32_t index, std::vector<uint8_t> bytes)
    : DBGlyphSet(index, std::make_shared<const std::vector<uint8_t>>(std::move(bytes))) {}

DBGlyphSet::DBGlyphSet(int32_t index, std::shared_ptr<const std::vector<uint8_t>> bytes)
    : mIndex(index),
      mLayout(&kLayouts.at(static_cast<size_t>(index))),
      mBytes(bytes ? std::move(bytes) : std::make_shared<const std::vector<uint8_t>>()) {
    mUsable = static_cast<int64_t>(mBytes->size()) >= mLayout->FileBytes();
}

std::shared_ptr<const DBGlyphSet> DBGlyphSet::Read(const std::string& folder, int32_t index) {
    std::vector<uint8_t> bytes;
    platform::File file;
    const DBGlyphSetLayout& layout = kLayouts.at(static_cast<size_t>(index));
    if (file.Open(folder + layout.file, platform::File::kRead, platform::File::Disposition::kOpenExisting)) {
        std::string whole;
        if (file.ReadToEnd(whole)) bytes.assign(whole.begin(), whole.end());
    }
    return std::make_shared<const DBGlyphSet>(index, std::move(bytes));
}

uint32_t DBGlyphSet::Row(size_t offset, int32_t width, int32_t height, int32_t y) const {
    if (!mUsable || width <= 0 || y < 0 || y >= height) return 0;
    // Every layout's rows are at most 32 pixels wide.
    const int32_t rowBytes = (width + 7) / 8;
    const size_t at = offset + static_cast<size_t>(y) * static_cast<size_t>(rowBytes);
    uint32_t row = 0;
    for (int32_t i = 0; i < rowBytes && i < 4; ++i) {
        const size_t byte = at + static_cast<size_t>(i);
        if (byte < mBytes->size()) row |= uint32_t{(*mBytes)[byte]} << (24 - 8 * i);
    }
    return width >= 32 ? row : row & ~(~uint32_t{0} >> width);
}

uint32_t DBGlyphSet::SingleRow(uint8_t code, int32_t y) const {
    const DBGlyphSetLayout& l = *mLayout;
    return Row(static_cast<size_t>(code) * static_cast<size_t>(l.singleBytes), l.singleWidth, l.singleHeight, y);
}

uint32_t DBGlyphSet::DoubleRow(int32_t index, int32_t y) const {
    const DBGlyphSetLayout& l = *mLayout;
    if (l.doubleCount == 0) return 0;
    if (index < 0 || index >= l.doubleCount) index = 0;
    const size_t offset = 256 * static_cast<size_t>(l.singleBytes) +
                          static_cast<size_t>(index) * static_cast<size_t>(l.doubleBytes);
    return Row(offset, l.doubleWidth, l.doubleHeight, y);
}

bool DBGlyphSet::SingleBit(uint8_t code, int32_t x, int32_t y) const {
    return x >= 0 && x < 32 && ((SingleRow(code, y) >> (31 - x)) & 1) != 0;
}

bool DBGlyphSet::DoubleBit(int32_t index, int32_t x, int32_t y) const {
    return x >= 0 && x < 32 && ((DoubleRow(index, y) >> (31 - x)) & 1) != 0;
}

void DBGlyphSets::LoadLanguage(const std::string& folder, uint32_t language) {
    for (int32_t index : DBGlyphSet::SetsOfLanguage(language))
        if (!mSets[static_cast<size_t>(index)]) mSets[static_cast<size_t>(index)] = DBGlyphSet::Read(folder, index);
}

std::shared_ptr<const DBGlyphSet> DBGlyphSets::ForFont(uint32_t language, int32_t size) const {
    std::shared_ptr<const DBGlyphSet> chosen, first;
    for (int32_t index : DBGlyphSet::SetsOfLanguage(language)) {
        const auto& set = mSets[static_cast<size_t>(index)];
        if (!set) continue;
        if (!first) first = set;
        if (set->Layout().size <= size && (!chosen || set->Layout().size > chosen->Layout().size)) chosen = set;
    }
    return chosen ? chosen : first;
}

bool DBGlyphSets::Any() const {
    for (const auto& set : mSets)
        if (set) return true;
    return false;
}

void DBGlyphSets::Free() {
    for (auto& set : mSets) set.reset();
}
