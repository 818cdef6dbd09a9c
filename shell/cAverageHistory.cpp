#include "shell/cAverageHistory.h"

#include <algorithm>
#include <cmath>

cAverageHistory::cAverageHistory(int32_t capacity, int32_t limit)
    : mnCapacity(capacity < 1 ? 1 : capacity), mnLimit(limit < 0 ? 0 : limit) {}

void cAverageHistory::Add(int32_t value) {
    if (static_cast<int32_t>(mValues.size()) >= mnCapacity) {
        mnSum -= mValues.front();
        mValues.erase(mValues.begin());
        mMeans.erase(mMeans.begin());
    }
    mValues.push_back(value);
    mnSum += value;
    mMeans.push_back(GetAverage());
}

int32_t cAverageHistory::GetAverage() const {
    if (mValues.empty()) return 0;
    return static_cast<int32_t>(std::llround(static_cast<double>(mnSum) / static_cast<double>(mValues.size())));
}

int32_t cAverageHistory::GetTrend() const {
    if (mMeans.empty()) return 0;
    const int64_t trend = int64_t{mMeans.back()} - mMeans.front();
    return static_cast<int32_t>(std::clamp<int64_t>(trend, -mnLimit, mnLimit));
}

void cAverageHistory::Clear() {
    mValues.clear();
    mMeans.clear();
    mnSum = 0;
}
