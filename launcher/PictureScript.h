// The launcher's pictures are described in a small text form and written as
// BMP files at build time. One picture per "picture" line, then its drawing
// steps, painted in order, coordinates from the top-left corner:
//   picture NAME WIDTH HEIGHT BITS   NAME a relative path ("223.bmp"); BITS 8 or 24
//   fill V                          the whole picture
//   box X Y W H V                   a rectangle
//   disc CX CY R V                  the points closer than R to the centre
//   ring CX CY R T V                the points of a disc of R outside one of R - T
//   gradient X Y W H V V            top to bottom, from the first colour to the second
//   palette NAME                    a RIFF palette of 256 colours: 8 levels of
//                                   red and green, 4 of blue (its own file, no steps)
// V is "R G B" for 24 bits and one palette index for 8 bits (masks: 0 none,
// 255 full). Blank lines and lines starting with '#' are skipped.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "launcher/LauncherPicture.h"

struct ScriptedPicture {
    std::string name;
    std::unique_ptr<LauncherPicture> picture;  // none for a palette
    std::vector<uint8_t> bytes;                // the palette file
};

// All the pictures of a description, or false with "line N: reason".
bool RunPictureScript(const std::string& text, std::vector<ScriptedPicture>& out, std::string& error);
