#include "character/DirectXErrorText.h"

namespace {

struct Row {
    uint32_t code;
    const char* text;
};

constexpr const char* kOutOfMemoryText = "DirectDraw does not have enough memory to perform the operation.";

// Our device never answers the display driver's own codes; the rows here are
// the general ones, the few driver codes callers name, and the layer's own.
constexpr Row kRows[] = {
    {0x00000000, "No error."},
    {0x80004001, "Action not supported."},
    {0x80004003, "E_POINTER: NULL pointer argument."},
    {0x80004005, "Generic failure."},
    {0x8000FFFF, "E_UNEXPECTED: Unexpected error."},
    {0x80070057, "One or more of the parameters passed to the function are incorrect."},
    {0x8007000E, kOutOfMemoryText},
    {0x80070490, "E_PROP_ID_UNSUPPORTED"},
    {0x80070492, "E_PROP_SET_UNSUPPORTED"},
    {0x8876017C, kOutOfMemoryText},
    {0x887601AE, "Access to this surface is being refused because the surface is already locked by another thread."},
    {0x887601C2, "Access to this surface is being refused because the surface memory is gone. The DirectDrawSurface "
                 "object representing this surface should have Restore called on it."},
    {0x88760313, "The file was not found."},
    {0x8004027C, "VFW_E_DDRAW_VERSION_NOT_SUITABLE "},
    {0x9B0B0001, "Out of memory"},
    {0x9B0B0002, "Wrapped COM object pointer is NULL"},
    {0x9B0B0003, "Requested object isn't register with the factory"},
    {0x9B0B0004, "Subclass must implement this function, for now"},
    {0x9B0B0005, "RenderRef type problem:  check your types"},
    {0x9B0B0006, "Bad header in PPM file"},
    {0x9B0B0007, "Sorry, you can't register a RenderRef with the factory"},
    {0x9B0B0008, "Something died while reading a mesh file"},
    {0x9B0B0009, "Tried to render a RenderRef that wasn't bound to a real RenderObject"},
    {0x9B0B000A, "Somebody wasn't expecting to receive a NULL pointer."},
    {0x9B0B000B, "You're trying to do something that assumes you're either fullscreen or windowed, and in fact, "
                 "you're either windowed or fullscreen"},
    {0x9B0B000C, "Object accessed that has not been properly initialized, or object not initialized in the correct "
                 "order."},
    {0x9B0B000D, "Extension type is not recognized, or incorrect"},
    {0x9B0B000E, "Parser can't located expected information in file"},
    {0x9B0B000F, "DDD_ERR_BAD_PARAMETER"},
    {0x9B0B0010, "DDD_ERR_FILE_OPEN_ERROR"},
    {0x9B0B0011, "DDD_ERR_FILE_WRITE_ERROR"},
    {0x9B0B0012, "DDD_ERR_FILE_READ_ERROR"},
    {0x9B0B0013, "DDD_BITMAP_NOT_FOUND"},
    {0x9B0B0014, "DDD_NO_DC"},
    {0x9B0B0015, "DDD_LOCK_RESOURCE_ERROR"},
    {0x9B0B0016, "DDD_CREATE_FILE_ERROR"},
    {0x9B0B0017, "DDD_UNKNOWN_FILE_VERSION_ERROR"},
    {0x9B0B0018, "DDD_UNKNOWN_PIXEL_FORMAT_ERROR"},
    {0x9B0B0019, "DDD_PALETTE_BURST_ERROR"},
    {0x9B0B001A, "DDD_BAD_FILE_FORMAT"},
    {0x9B0B001E, "DDD_ERR_NO_SUCH_DEVICE: No device for this width, height, bitdepth combo"},
    {0x9B0C0001, "BodyPart ID not found, or unknown"},
};

}  // namespace

const char* GetDirectXErrorText(uint32_t code) {
    for (const Row& row : kRows)
        if (row.code == code) return row.text;
    return "Unrecognized error value.";
}
