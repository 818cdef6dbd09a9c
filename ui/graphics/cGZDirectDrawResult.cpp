#include "ui/graphics/cGZDirectDrawResult.h"

#include <atomic>

namespace {
std::atomic<int32_t> gLastReported{0};
}

void cGZDirectDrawResult::Report() {
    if (!IsExpected()) gLastReported.store(mCode);
}

int32_t cGZDirectDrawResult::LastReported() { return gLastReported.load(); }
void cGZDirectDrawResult::ClearLastReported() { gLastReported.store(0); }

void cGZDirectDrawResult::Fail(int32_t code) {
    cGZDirectDrawResult result(code);
    result.SetExpected(0);
    result.Report();
}
