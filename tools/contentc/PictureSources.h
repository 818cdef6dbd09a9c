// Picture sources: PNG files of at most 256 colours under the content folder,
// compiled into the 8-bit run-length bitmaps the game draws. A source given
// as a relative path "A/B/name.png" becomes DATA_ROOT/A/B/name.bmp. Every
// colour is kept as a palette entry in the order it first appears (magenta,
// the transparent colour, included); pixels with alpha below 128 become
// magenta.
#pragma once

#include <string>

#include "ui/graphics/Rle8Bitmap.h"

// False, with "name: reason" in error, for an unreadable source or one of
// more than 256 colours.
bool ReadPictureSource(const std::string& name, Rle8Picture& picture, std::string& error);
bool WritePicture(const std::string& sourceName, const Rle8Picture& picture, const std::string& root,
                  std::string& error);
