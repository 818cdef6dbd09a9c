// A running average over the last values added, for the meters' trends:
// the average of what is held and how the average moved across them.
#pragma once

#include <cstdint>
#include <vector>

class cAverageHistory {
public:
    // A capacity below 1 holds one value.
    cAverageHistory(int32_t capacity, int32_t limit);

    void Add(int32_t value);
    // Sum / count to the nearest integer (halves away from zero); 0 when empty.
    int32_t GetAverage() const;
    // Newest mean minus oldest mean, within -limit .. limit.
    int32_t GetTrend() const;
    void Clear();

    const std::vector<int32_t>& Values() const { return mValues; }

private:
    int32_t mnCapacity;
    std::vector<int32_t> mValues;
    std::vector<int32_t> mMeans;
    int64_t mnSum = 0;
    int32_t mnLimit;
};
