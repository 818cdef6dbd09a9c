#include "windows/UIPoint.h"

#include <cctype>
#include <limits>

namespace windows {

namespace {
// One scanf-style decimal: blanks, an optional sign, at least one digit.
bool ReadUIPointNumber(const std::string& text, size_t& at, int32_t& out) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    const size_t first = at;
    int64_t value = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        value = value * 10 + (text[at++] - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return false;
    }
    if (at == first) return false;
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min()) return false;
    out = static_cast<int32_t>(value);
    return true;
}
}  // namespace

UIPoint ParseUIPoint(const std::string& text) {
    UIPoint point;
    size_t at = 0;
    if (text.empty() || text[at++] != '(') return {};
    if (!ReadUIPointNumber(text, at, point.x)) return {};
    if (at >= text.size() || text[at++] != ';') return {};
    if (!ReadUIPointNumber(text, at, point.y)) return {};
    return point;
}

}  // namespace windows
