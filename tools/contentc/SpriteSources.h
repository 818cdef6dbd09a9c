// Sprite descriptions (.sprite): the palettes and sprites of one resource
// file, drawn as PNG pictures. Each line is a keyword and its values; '#'
// starts a comment; picture names are relative to the description's folder.
//
//   file GameData/sprites.iff        resources below go into this file
//   palette 1 colours16.png          a 'PALT' (id 1) of the swatch's pixels,
//                                    row by row (at most 256)
//   palettefile GameData/GlobalCLUT.pal clut.png
//                                    the raw 768-byte palette file of the
//                                    swatch; also the palette of sprites
//                                    that use the default one
//   sprite 100 503 palette=1 ["label"]   an 'SPR#' (id, version 500/502/503/506)
//     frame chair.png depth=chair_z.png x=16 y=40
//   end
//   sprite2 200 1000 palette=-1      an 'SPR2' (id, version 1000 and over)
//     frame lamp.png depth=lamp_z.png alpha=lamp_a.png x=0 y=0
//   end
//
// A frame's colours must each be a colour of its palette. The colour
// picture's alpha channel, or the grey `alpha=` picture, gives the alpha
// level (0..31; 0 is transparent); the grey `depth=` picture gives depth
// bytes (an invisible depth pixel is no pixel). `x` and `y` are the
// anchor's pixel ('SPR#') or the frame's offsets ('SPR2').
#pragma once

#include <string>
#include <vector>

#include "tools/contentc/ContentSource.h"

// Raw palette files a description asked for.
struct PaletteFileOutput {
  std::string path;  // relative to the data root
  std::vector<uint32_t> colours;
};

// Parses one description, adding its resources to `files` and its palette
// files to `palettes`; false with "name:line: reason".
bool ParseSpriteSource(const std::string& name, const std::string& text, std::vector<ContentFile>& files,
                       std::vector<PaletteFileOutput>& palettes, std::string& error);
// Writes each palette file (768 bytes, unused entries black).
bool WritePaletteFiles(const std::vector<PaletteFileOutput>& palettes, const std::string& root, std::string& error);
