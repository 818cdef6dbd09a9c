// A byte string with the one cutting operation the token filler is
// built on. Contents are raw bytes: no terminator, no code-page conversion.
#pragma once

#include <string>
#include <string_view>

namespace translation {

class TextBuffer {
public:
    TextBuffer() = default;
    explicit TextBuffer(std::string bytes) : mBytes(std::move(bytes)) {}

    // What is left after the cuts so far.
    std::string_view Bytes() const { return std::string_view(mBytes).substr(mStart); }
    bool Contains(std::string_view text) const { return Bytes().find(text) != std::string_view::npos; }

    // Finds the first `marker`: gives the text before it and keeps only the
    // text after it (the marker itself is dropped). Without a match: gives
    // nothing, keeps everything and answers false, which tells a marker right
    // at the start from none at all. An empty marker gives the whole buffer
    // and keeps it.
    bool CutBeforeMarker(std::string_view marker, std::string& before);

private:
    std::string mBytes;
    std::size_t mStart = 0;  // cuts move this instead of shifting the bytes
};

}  // namespace translation
