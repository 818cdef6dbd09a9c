// The input-method windows: the program draws the composition string and
// the candidate list itself. Each exists at most once and is reached
// through its global pointer (null until the application makes it); the
// main window offers its messages to GZImeHandleMessage before anything
// else, which fills and shows them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/controls/cGZWinText.h"

class cGZWinIMEComposition : public cGZWinText {
public:
    // Text and attributes hold at most this many bytes plus the terminator.
    static constexpr size_t kMaxBytes = 1023;
    static constexpr int32_t kWidth = 200;

    // The one composition window, or null when one exists already.
    static cGZWinIMEComposition* Create();
    ~cGZWinIMEComposition() override;

    // The composition in the language's code page, one attribute per byte
    // (bit 0 on the clause being converted); both cut at kMaxBytes.
    void SetComposition(const std::string& bytes, const std::vector<uint8_t>& attributes);
    const std::string& GetComposition() const { return mComposition; }
    const std::vector<uint8_t>& GetAttributes() const { return mAttributes; }

    bool Draw(bool force) override;

private:
    cGZWinIMEComposition() = default;

    std::string mComposition;
    std::vector<uint8_t> mAttributes;
};

cGZWinIMEComposition* GZGetIMEComposition();

// Wide mode: the system's own composition display stays on (the host
// window's text input is told at once and when the main window starts).
// Off by default.
void GZSetIMEWideMode(bool on);
bool GZGetIMEWideMode();

// Offered every main-window message first; true when it consumed it. A
// composition that carries a result is not consumed, so the result still
// arrives as character messages.
bool GZImeHandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam);
