#include "framework/cRZCriticalSection.h"

int cRZCriticalSection::Enter() {
    mSection.Enter();
    return 0;
}

int cRZCriticalSection::Leave() {
    mSection.Leave();
    return 1;
}

bool cRZCriticalSection::TryEnter() { return mSection.TryEnter(); }
