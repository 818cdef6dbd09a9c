// A reference-counted table of colour entries of 16, 24 or 32 bits. 24-bit
// entries are stored as three bytes, the colour's high byte first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class cRZPalette {
public:
    cRZPalette() = default;
    virtual ~cRZPalette() = default;
    cRZPalette(const cRZPalette&) = delete;
    cRZPalette& operator=(const cRZPalette&) = delete;

    virtual int32_t GetCount() const { return mCount; }
    virtual int32_t GetBits() const { return mBits; }
    virtual bool GetEntry(int32_t index, uint32_t& value) const;
    virtual bool SetEntry(int32_t index, uint32_t value);
    // Reads every entry in order; the last index read (0 when empty).
    virtual int32_t ReadAll() const;
    // Room for count entries of `bits` (count rounded up to even), zero
    // filled; false for a negative count or a width other than 16, 24, 32.
    virtual bool Resize(int32_t count, int32_t bits);
    virtual uint8_t* GetData() { return mEntries.data(); }
    const uint8_t* GetData() const { return mEntries.data(); }
    size_t GetDataSize() const { return mEntries.size(); }

    int32_t AddRef() { return ++mRefCount; }
    // Deletes the palette when the last reference goes; returns the new count.
    int32_t Release();

private:
    bool Valid(int32_t index) const;

    int32_t mRefCount = 0;
    int32_t mCount = 0;
    int32_t mBits = 0;
    std::vector<uint8_t> mEntries;
};
