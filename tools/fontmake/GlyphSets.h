// The ".fon" glyph sets of the double-byte and Thai languages, drawn from
// outline faces: every glyph of a set rendered at its cell height, cut to
// its cell and turned into one bit per pixel.
#pragma once

#include <string>

namespace fontmake {

// Writes the seven sets into folder (ending in '/'), printing one line per
// file; false with the reason in `error`.
bool WriteGlyphSets(const std::string& folder, const std::string& cjkFacePath, const std::string& thaiFacePath,
                    std::string& error);

}  // namespace fontmake
