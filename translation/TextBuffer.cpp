#include "translation/TextBuffer.h"

namespace translation {

bool TextBuffer::CutBeforeMarker(std::string_view marker, std::string& before) {
    std::string_view rest = Bytes();
    if (marker.empty()) {
        before = rest;
        return true;
    }
    std::size_t at = rest.find(marker);
    if (at == std::string_view::npos) {
        before.clear();
        return false;
    }
    before = rest.substr(0, at);
    mStart += at + marker.size();
    return true;
}

}  // namespace translation
