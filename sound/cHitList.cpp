#include "sound/cHitList.h"

#include <algorithm>

#include "framework/RandomSequence.h"

void cHitList::FollowSize() {
    if (!mbFixed) mKeepOut = static_cast<uint32_t>((mRecent.size() + mAvailable.size()) / 2);
}

void cHitList::Add(uint32_t id) {
    mAvailable.push_back(id);
    FollowSize();
}

void cHitList::Remove(uint32_t id) {
    mAvailable.erase(std::remove(mAvailable.begin(), mAvailable.end(), id), mAvailable.end());
    mRecent.erase(std::remove(mRecent.begin(), mRecent.end(), id), mRecent.end());
    FollowSize();
}

void cHitList::Clear() {
    mAvailable.clear();
    mRecent.clear();
}

void cHitList::SetKeepOut(uint32_t count) {
    mKeepOut = count;
    mbFixed = true;
}

uint32_t cHitList::Pick(RandomSequence& random) {
    if (!mAvailable.empty()) {
        const uint32_t r = random.Next(static_cast<uint32_t>(mAvailable.size()));
        // Next may give the bound itself for very large bounds.
        const size_t at = std::min<size_t>(r, mAvailable.size() - 1);
        const uint32_t id = mAvailable[at];
        mAvailable.erase(mAvailable.begin() + static_cast<std::ptrdiff_t>(at));
        mRecent.push_back(id);
        while (mRecent.size() > mKeepOut) {
            mAvailable.push_back(mRecent.front());
            mRecent.pop_front();
        }
        return id;
    }
    if (mRecent.empty()) return 0;
    const uint32_t id = mRecent.front();
    mRecent.pop_front();
    mRecent.push_back(id);
    return id;
}
