// A set of ids to choose the next sound from without quick repeats: a pick
// moves a random available id to the recently-played list, and the oldest
// recent ids return to the available list once more than the keep-out count
// are recent. The keep-out follows the list's size (half of it) until it is
// set, which fixes it.
#pragma once

#include <cstdint>
#include <deque>

class RandomSequence;

class cHitList {
public:
    virtual ~cHitList() = default;

    void Add(uint32_t id);
    // Every occurrence, from both lists.
    void Remove(uint32_t id);
    // Empties both lists; the keep-out and whether it is fixed stay.
    void Clear();
    void SetKeepOut(uint32_t count);
    // The list must not be empty (an empty one answers 0).
    virtual uint32_t Pick(RandomSequence& random);

    uint32_t KeepOut() const { return mKeepOut; }
    bool IsFixed() const { return mbFixed; }
    const std::deque<uint32_t>& Available() const { return mAvailable; }
    const std::deque<uint32_t>& Recent() const { return mRecent; }

private:
    void FollowSize();

    std::deque<uint32_t> mAvailable;
    std::deque<uint32_t> mRecent;
    uint32_t mKeepOut = 0;
    bool mbFixed = false;
};
