// A bounded array of 16-bit words with an id, as the object code keeps small
// tables; a count outside 0 to 31999 gives an empty array.
#pragma once

#include <cstdint>
#include <vector>

class WordArray {
public:
    static constexpr int32_t kMaxCount = 31999;

    WordArray(int32_t id, int32_t count)
        : mId(id), mWords(count >= 0 && count <= kMaxCount ? static_cast<size_t>(count) : 0, 0) {}

    int32_t Id() const { return mId; }
    int32_t Count() const { return static_cast<int32_t>(mWords.size()); }
    // Word i, 0 outside the array.
    uint16_t Get(int32_t i) const { return i >= 0 && i < Count() ? mWords[static_cast<size_t>(i)] : 0; }
    // False (nothing changes) outside the array.
    bool Set(int32_t i, uint16_t value) {
        if (i < 0 || i >= Count()) return false;
        mWords[static_cast<size_t>(i)] = value;
        return true;
    }

private:
    int32_t mId;
    std::vector<uint16_t> mWords;
};
