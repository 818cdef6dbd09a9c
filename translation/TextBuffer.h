// A growable byte string with the one cutting operation the token filler is
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
    bool Empty() const { return Bytes().empty(); }
    bool Contains(std::string_view text) const { return Bytes().find(text) != std::string_view::npos; }
    void Append(std::string_view text) { mBytes.append(text); }

    // Finds the first `marker`: answers the text before it and keeps only the
    // text after it (the marker itself is dropped). Without a match: answers
    // nothing and keeps everything. An empty marker answers the whole buffer
    // and keeps it.
    std::string CutBeforeMarker(std::string_view marker);

    // Like CutBeforeMarker, but tells whether the marker was there, which an
    // empty answer alone cannot.
    bool CutBeforeMarker(std::string_view marker, std::string& before);

private:
    std::string mBytes;
    std::size_t mStart = 0;  // cuts move this instead of shifting the bytes
};

}  // namespace translation
