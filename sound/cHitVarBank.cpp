#include "sound/cHitVarBank.h"

#include <algorithm>

cHitVarBank::cHitVarBank(int32_t first, int32_t last, int32_t initial)
    : mFirst(first), mLast(last), mValues(static_cast<size_t>(std::max(last - first + 1, 0)), initial) {}

int32_t cHitVarBank::Get(int32_t id) const {
    const cHitVarBank* bank = this;
    // Bounded walk: a chain is a handful of banks.
    for (int hops = 0; bank && hops < 64; ++hops) {
        if (!bank->Covers(id)) {
            bank = bank->mpSuccessor;
            continue;
        }
        const int32_t value = bank->mValues[static_cast<size_t>(id - bank->mFirst)];
        if (value != kUnset) return value;
        bank = bank->mpFallback;
    }
    return 0;
}

bool cHitVarBank::Set(int32_t id, int32_t value) {
    cHitVarBank* bank = this;
    for (int hops = 0; bank && hops < 64; ++hops) {
        if (bank->Covers(id)) {
            bank->mValues[static_cast<size_t>(id - bank->mFirst)] = value;
            return true;
        }
        bank = bank->mpSuccessor;
    }
    return false;
}

int32_t cHitVarBank::Own(int32_t id) const { return Covers(id) ? mValues[static_cast<size_t>(id - mFirst)] : 0; }

void cHitVarBank::Fill(int32_t value) { std::fill(mValues.begin(), mValues.end(), value); }
