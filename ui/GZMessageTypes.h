// The framework message types that windows receive (the type word of a
// cGZMessage) and the modifier flags that mouse and key messages carry.
// Windows test them by value, so the numbers are part of the interface.
#pragma once

#include <cstdint>

enum GZMessageType : uint32_t {
    kGZMsgDestroyWin = 1,
    kGZMsgCommand = 3,
    kGZMsgChar = 4,
    kGZMsgKeyDown = 5,
    kGZMsgKeyUp = 6,
    kGZMsgLButtonDown = 7,
    kGZMsgRButtonDown = 8,
    kGZMsgLButtonDblClk = 9,
    kGZMsgRButtonDblClk = 10,
    kGZMsgLButtonUp = 11,
    kGZMsgRButtonUp = 12,
    kGZMsgMouseMove = 13,
    kGZMsgMouseWheel = 14,
    kGZMsgNonClientMouseMove = 15,
    kGZMsgEndModal = 16,
    kGZMsgFocusLost = 20,
    kGZMsgFocusGained = 21,
    kGZMsgMouseEnter = 24,
    kGZMsgMouseLeave = 25,
    kGZMsgTimer = 26,
    kGZMsgFadeDone = 27,
};

enum GZModifier : uint32_t {
    kGZModShift = 1,
    kGZModCtrl = 2,
    kGZModAlt = 4,
    kGZModLButton = 16,
    kGZModRButton = 32,
};

// The private window messages the manager posts to the main window for
// framework types; wParam carries the window, lParam the value.
uint32_t GZPrivateMessageOfType(uint32_t type);
