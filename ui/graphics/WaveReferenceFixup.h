// The load-time fix-up of wave-reference resources ('FWAV'): a name (a C
// string at the start), then, at the first 4-byte boundary after its
// terminator, three 16-bit fields stored in the other byte order.
#pragma once

#include <cstdint>

// Swaps the three fields in place when they lie wholly inside `size` bytes.
// Answers the name's length plus one when nothing follows the name (the name
// is measured only within the size), else the bytes the fields end at.
uint32_t FixupWaveReference(uint8_t* data, uint32_t size);
