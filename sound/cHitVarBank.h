// One bank of the sound engine's variable space (variables 1..127). A bank
// covers a range and keeps 32-bit values, with 0x80000000 as "unset". A read
// outside the range goes to the bank's range successor; an unset value goes
// to its fallback. A write lands in the first bank along the successors that
// covers the number. Where the walk ends without a bank (variables 48, 49 and
// 63..89 lie in none), reads give 0 and writes are dropped; an unset value
// with no fallback also reads 0.
#pragma once

#include <cstdint>
#include <vector>

class cHitVarBank {
public:
    static constexpr int32_t kUnset = INT32_MIN;

    cHitVarBank(int32_t first, int32_t last, int32_t initial = kUnset);

    bool Covers(int32_t id) const { return id >= mFirst && id <= mLast; }
    int32_t First() const { return mFirst; }
    int32_t Last() const { return mLast; }

    int32_t Get(int32_t id) const;
    // False when no bank along the chain covers the number.
    bool Set(int32_t id, int32_t value);
    // The bank's own value (kUnset when unset, 0 outside the range).
    int32_t Own(int32_t id) const;
    void Fill(int32_t value);

    void SetFallback(const cHitVarBank* fallback) { mpFallback = fallback; }
    void SetSuccessor(cHitVarBank* successor) { mpSuccessor = successor; }
    cHitVarBank* Successor() const { return mpSuccessor; }

private:
    int32_t mFirst;
    int32_t mLast;
    std::vector<int32_t> mValues;
    const cHitVarBank* mpFallback = nullptr;
    cHitVarBank* mpSuccessor = nullptr;
};
