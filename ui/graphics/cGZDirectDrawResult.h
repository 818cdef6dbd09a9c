// The result object every failing surface call is wrapped in: the code and
// the value that was expected (0, success). Reporting is silent; the last
// code is kept so tests and the graphic system can ask what went wrong.
#pragma once

#include <cstdint>

class cGZDirectDrawResult {
public:
    // The codes our software surfaces give.
    static constexpr int32_t kOk = 0;
    static constexpr int32_t kSurfaceLost = static_cast<int32_t>(0x887601C2u);
    static constexpr int32_t kInvalidRect = static_cast<int32_t>(0x88760096u);
    static constexpr int32_t kOutOfVideoMemory = static_cast<int32_t>(0x8876017Cu);
    static constexpr int32_t kInvalidParams = static_cast<int32_t>(0x80070057u);
    static constexpr int32_t kNotLocked = static_cast<int32_t>(0x887600E6u);

    explicit cGZDirectDrawResult(int32_t code) : mCode(code) {}
    virtual ~cGZDirectDrawResult() = default;

    virtual void SetExpected(int32_t value) { mExpected = value; }
    virtual int32_t GetCode() const { return mCode; }
    virtual bool IsExpected() const { return mCode == mExpected; }
    virtual void Report();

    // The code of the last failure reported anywhere (0 when none yet).
    static int32_t LastReported();
    static void ClearLastReported();

    // Builds, sets expected 0 and reports: the one way failures are made.
    static void Fail(int32_t code);

private:
    int32_t mCode;
    int32_t mExpected = 0;
};
