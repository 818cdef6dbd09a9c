// The script language of uidemo: one input event or request per line. Each
// line becomes a step; a bad line is reported with its number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct UiDemoStep {
    enum Kind {
        Move, Button, Click, DoubleClick, Wheel, Drag, Key, Char, Wait, Activate, Print, Compose, Commit,
    };
    Kind kind = Move;
    int line = 0;
    int32_t x = 0, y = 0, x1 = 0, y1 = 0;
    int button = 1;         // 1 left, 2 right
    int press = 0;          // 1 down, -1 up, 0 both
    uint32_t key = 0;       // virtual key
    int32_t ms = 0;
    bool on = true;
    std::string text;       // char, compose and commit text (UTF-8), print name
};

// The virtual key of a key name (letters, digits, named keys, f1-f12 or a
// number); 0 when unknown.
uint32_t UiDemoKeyOfName(const std::string& name);

// Parses the script; false with "script:LINE: MESSAGE" in `error`.
bool ParseUiDemoScript(const std::string& text, std::vector<UiDemoStep>& steps, std::string& error);
