// Result codes of the 3D layer as text. Every operation of the layer answers
// a 32-bit code (0 success; the layer's own codes 0x9B0Bxxxx for the device,
// 0x9B0Cxxxx for the character library, 0x9B0Dxxxx for light files) and keeps
// the last one; logs, message boxes and the developer tools show them
// through this one function.
#pragma once

#include <cstdint>

// The layer's own codes, by the name their text gives them where it has one.
enum : uint32_t {
    kDDDOk = 0,
    kDDDOutOfMemory = 0x9B0B0001,
    kDDDNullPointer = 0x9B0B000A,
    kDDDNotInitialized = 0x9B0B000C,
    kDDDBadPpmHeader = 0x9B0B0006,
    kDDDBadParameter = 0x9B0B000F,
    kDDDFileOpenError = 0x9B0B0010,
    kDDDFileWriteError = 0x9B0B0011,
    kDDDFileReadError = 0x9B0B0012,
    kDDDBitmapNotFound = 0x9B0B0013,
    kDDDNoDC = 0x9B0B0014,
    kDDDUnknownFileVersion = 0x9B0B0017,
    kDDDUnknownPixelFormat = 0x9B0B0018,
    kDDDPaletteBurst = 0x9B0B0019,
    kDDDBadFileFormat = 0x9B0B001A,
    kDDDMatrixHandleMissing = 0x9B0B001B,
    kDDDDeviceNameNotFound = 0x9B0B001C,
    kDDDImageKindNotReadable = 0x9B0B001D,
    kDDDNoSuchDevice = 0x9B0B001E,
    kDDDLightNotInViewport = 0x9B0B001F,
    kDDDLightTableFull = 0x9B0B0020,
};

// The row's text, or "Unrecognized error value." for a code without one.
const char* GetDirectXErrorText(uint32_t code);
