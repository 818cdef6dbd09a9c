// The game windows: the control panel, its sub-panels and every window over
// the house view. Their words and most layout points come from numbered
// string sets of the interface text file "GameData/UIText" (spelled
// "UIText" or "uitext", the same file); the people panel's sets marked
// "live" are read from a third file, "GameData/live.iff", loaded the same
// way, so that their numbers do not clash with the UIText sets of other
// windows. A point in a set reads "(x;y)", window-relative.
#pragma once

#include <cstdint>
#include <string>

namespace windows {

struct UIPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const UIPoint&) const = default;
};

// Reads "(%d;%d)" (blanks before a number are skipped); anything that does
// not match, or a number past 32 bits, reads as (0, 0).
UIPoint ParseUIPoint(const std::string& text);

}  // namespace windows
