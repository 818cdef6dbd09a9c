#include "ui/graphics/cRZPalette.h"

bool cRZPalette::Valid(int32_t index) const {
    return index >= 0 && index < mCount && (mBits == 16 || mBits == 24 || mBits == 32) &&
           static_cast<size_t>(index + 1) * static_cast<size_t>(mBits / 8) <= mEntries.size();
}

bool cRZPalette::GetEntry(int32_t index, uint32_t& value) const {
    if (!Valid(index)) return false;
    const uint8_t* p = &mEntries[static_cast<size_t>(index) * static_cast<size_t>(mBits / 8)];
    switch (mBits) {
        case 16: value = static_cast<uint32_t>(p[0] | (p[1] << 8)); break;
        case 24: value = (static_cast<uint32_t>(p[0]) << 16) | (p[1] << 8) | p[2]; break;
        default: value = static_cast<uint32_t>(p[0]) | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); break;
    }
    return true;
}

bool cRZPalette::SetEntry(int32_t index, uint32_t value) {
    if (!Valid(index)) return false;
    uint8_t* p = &mEntries[static_cast<size_t>(index) * static_cast<size_t>(mBits / 8)];
    switch (mBits) {
        case 16:
            p[0] = static_cast<uint8_t>(value);
            p[1] = static_cast<uint8_t>(value >> 8);
            break;
        case 24:
            p[0] = static_cast<uint8_t>(value >> 16);
            p[1] = static_cast<uint8_t>(value >> 8);
            p[2] = static_cast<uint8_t>(value);
            break;
        default:
            for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
            break;
    }
    return true;
}

int32_t cRZPalette::ReadAll() const {
    int32_t last = 0;
    uint32_t value;
    for (int32_t i = 0; i < mCount; ++i)
        if (GetEntry(i, value)) last = i;
    return last;
}

bool cRZPalette::Resize(int32_t count, int32_t bits) {
    if (count < 0 || (bits != 16 && bits != 24 && bits != 32)) return false;
    const size_t even = static_cast<size_t>(count + (count & 1));
    mEntries.assign(even * static_cast<size_t>(bits / 8), 0);
    mCount = count;
    mBits = bits;
    return true;
}

int32_t cRZPalette::Release() {
    if (mRefCount <= 1) {
        delete this;
        return 0;
    }
    return --mRefCount;
}
