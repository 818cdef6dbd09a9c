// What the build tools need from the layers above the world, gathered in
// one place: the game shell (control panel and house view), the household's
// money, the keyboard's Shift and Ctrl, a millisecond clock and the view.
// The shell wires the real ones; tests and buildscript use stand-ins.
#pragma once

#include <cstdint>

#include "world/HouseView.h"

class XViewer;
class cFixedWorld;
class cIGZKeyboard;

class iHouseholdMoney {
public:
    virtual ~iHouseholdMoney() = default;
    virtual int32_t GetMoney() const = 0;
    // The simulator's expense call: money falls by the amount, the day's
    // statistic of the category rises by it and the new money is broadcast.
    virtual int32_t AddToStatistic(int32_t category, int32_t amount) = 0;
};

class iMillisecondClock {
public:
    virtual ~iMillisecondClock() = default;
    // Wraps after 2^32 ms; callers compare differences.
    virtual uint32_t Milliseconds() const = 0;
};

struct ToolServices {
    cFixedWorld* world = nullptr;
    iBuildShell* shell = nullptr;
    iHouseholdMoney* money = nullptr;
    const cIGZKeyboard* keyboard = nullptr;
    const iMillisecondClock* clock = nullptr;
    XViewer* view = nullptr;  // the house view, null before it exists
};

// A mouse event as the house view hands it on: the point in view
// coordinates and the framework's flag word.
struct ToolMouseEvent {
    int32_t x = 0;
    int32_t y = 0;
    uint32_t flags = 0;
};
