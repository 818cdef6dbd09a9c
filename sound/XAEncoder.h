// The encoder of "XA" files (see cWaveXA.h for the layout): for each group it
// tries every filter and shift, encoding against the decoder's own state, and
// keeps the one with the smallest error. Used by the content compiler and
// tests.
#pragma once

#include <cstdint>
#include <vector>

// Interleaved 16-bit samples of 1 or 2 channels to a whole file image.
std::vector<uint8_t> EncodeXA(const int16_t* samples, uint32_t frames, uint16_t channels, uint32_t rate);
