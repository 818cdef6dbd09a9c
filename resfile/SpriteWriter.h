// Writes the renderer's sprite resources from indexed pictures: 'PALT'
// palettes, 'SPR#' run-length sprites (versions 500, 502, 503 and 506) and
// 'SPR2' command-stream sprites (version 1000 and over). The content compiler
// and the tests make every sprite through these, so the reader is always
// tested against the bytes the game ships.
//
// 'SPR#' frames are rows of two-byte commands (operation, count): 4 begins a
// row (its count is the row's byte length including the command; a row over
// 255 bytes uses the six-byte form 4 2, 5 255, then the length big-endian),
// 1 skips, 2 fills with one value, 3 copies literal values (padded to even),
// 9 stands for blank rows and 5 ends the frame. Trailing blank rows are left
// to the end command.
//
// 'SPR2' frames start every row they draw with 0x0000 (the first one starts
// row 0), jump over blank rows with 0x8000 n (the row counter moves by n;
// the next 0x0000 starts the row after them), skip transparent pixels with
// 0x6000 and end with 0xA000. Pixels go out as 0xC000 (indices only) when
// the frame has no depth, else as 0x2000 (depth, index) and, for pixels
// whose alpha level is below 31, 0x4000 (depth, index, alpha).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tova {

// One picture of a sprite. `indices` holds width * height palette indices;
// pixels equal to `transparent` (when 0..255) are not drawn. `depth` (empty
// or width * height bytes, 255 = no pixel) and `alpha` (empty or levels 0..31)
// are optional channels.
struct SpritePicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> indices;
  std::vector<uint8_t> depth;
  std::vector<uint8_t> alpha;
  int32_t transparent = -1;
  // 'SPR#': the anchor's pixel inside the picture (the frame's rectangle is
  // relative to it). 'SPR2': the header's x and y offsets.
  int16_t x = 0;
  int16_t y = 0;
};

// A 'PALT' resource of up to 256 colours given as 0x00RRGGBB.
std::vector<uint8_t> WritePaletteResource(const std::vector<uint32_t>& colours);

// An 'SPR#' resource. Version 500 (no palette id, colour only), 502 (colour
// only), 503 (colour and depth channels) or 506 (colour, depth, alpha-layer
// colour, alpha-layer depth, alpha levels: the colour channel holds the
// pixels of alpha level 16 and over, the alpha layer every pixel above 0).
// `otherByteOrder` writes the header and the frame rectangles big-endian, as
// a file of the other byte order holds them. False with a reason on a bad
// picture or version.
bool WriteSpriteResource(int32_t version, int32_t paletteId, const std::vector<SpritePicture>& frames,
                         bool otherByteOrder, std::vector<uint8_t>& out, std::string& error);

// The run-length rows of one channel: values where `present` is non-zero.
std::vector<uint8_t> EncodeSpriteRows(const std::vector<uint8_t>& values, const std::vector<uint8_t>& present,
                                      int32_t width, int32_t height);

// An 'SPR2' resource (version 1000 or more).
bool WriteSprite2Resource(int32_t version, int32_t paletteId, const std::vector<SpritePicture>& frames,
                          std::vector<uint8_t>& out, std::string& error);

}  // namespace tova
