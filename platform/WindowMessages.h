// The Windows message numbers, flags and virtual-key codes that the host
// window delivers through the message queue. The window framework was written
// against these numbers, so they are kept exactly.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr uint32_t kMsgMove = 0x0003;
inline constexpr uint32_t kMsgPaint = 0x000F;
inline constexpr uint32_t kMsgClose = 0x0010;
inline constexpr uint32_t kMsgActivateApp = 0x001C;
inline constexpr uint32_t kMsgNcMouseMove = 0x00A0;
inline constexpr uint32_t kMsgKeyDown = 0x0100;
inline constexpr uint32_t kMsgKeyUp = 0x0101;
inline constexpr uint32_t kMsgChar = 0x0102;
inline constexpr uint32_t kMsgSysKeyDown = 0x0104;
inline constexpr uint32_t kMsgSysKeyUp = 0x0105;
inline constexpr uint32_t kMsgImeStartComposition = 0x010D;
inline constexpr uint32_t kMsgImeEndComposition = 0x010E;
inline constexpr uint32_t kMsgImeComposition = 0x010F;
// wParam: 3 a candidate list opened, 4 closed, 5 changed (TextInput's codes).
inline constexpr uint32_t kMsgImeNotify = 0x0282;
inline constexpr uint32_t kMsgMouseMove = 0x0200;
inline constexpr uint32_t kMsgLButtonDown = 0x0201;
inline constexpr uint32_t kMsgLButtonUp = 0x0202;
inline constexpr uint32_t kMsgLButtonDblClk = 0x0203;
inline constexpr uint32_t kMsgRButtonDown = 0x0204;
inline constexpr uint32_t kMsgRButtonUp = 0x0205;
inline constexpr uint32_t kMsgRButtonDblClk = 0x0206;
inline constexpr uint32_t kMsgMouseWheel = 0x020A;

// Mouse message wParam flags.
inline constexpr uint32_t kMkLButton = 0x0001;
inline constexpr uint32_t kMkRButton = 0x0002;
inline constexpr uint32_t kMkShift = 0x0004;
inline constexpr uint32_t kMkControl = 0x0008;

// Composition message lParam flags.
inline constexpr uint32_t kGcsCompStr = 0x0008;
inline constexpr uint32_t kGcsCompAttr = 0x0010;
inline constexpr uint32_t kGcsResultStr = 0x0800;

// Key message lParam bits beyond the repeat count (bits 0-15).
inline constexpr uint32_t kKeyAltDown = 1u << 29;
inline constexpr uint32_t kKeyWasDown = 1u << 30;
inline constexpr uint32_t kKeyReleased = 1u << 31;

// Virtual keys with a name in the program.
inline constexpr uint32_t kVkBack = 8;
inline constexpr uint32_t kVkTab = 9;
inline constexpr uint32_t kVkReturn = 13;
inline constexpr uint32_t kVkShift = 16;
inline constexpr uint32_t kVkControl = 17;
inline constexpr uint32_t kVkMenu = 18;
inline constexpr uint32_t kVkCapital = 20;
inline constexpr uint32_t kVkEscape = 27;
inline constexpr uint32_t kVkSpace = 32;
inline constexpr uint32_t kVkF1 = 112;
inline constexpr uint32_t kVkF4 = 115;
inline constexpr uint32_t kVkLButton = 1;
inline constexpr uint32_t kVkRButton = 2;

// A mouse position packed as Windows packs it: x in the low word, y in the
// high word, both signed 16-bit.
inline intptr_t PackPoint(int32_t x, int32_t y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) | static_cast<uint32_t>(x & 0xFFFF));
}
inline int32_t PointX(intptr_t lParam) { return static_cast<int16_t>(lParam & 0xFFFF); }
inline int32_t PointY(intptr_t lParam) { return static_cast<int16_t>((lParam >> 16) & 0xFFFF); }

}  // namespace platform
