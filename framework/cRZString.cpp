#include "framework/cRZString.h"

#include "platform/CodePage.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>

const char* const kRZStringOutOfRange = "Out of range exception occurred";
const char* const kRZStringLengthError = "Length exception occurred";

namespace {

// Runs f, turning the standard string's errors into the framework's C-string
// exceptions.
template <typename F>
decltype(auto) Guarded(F&& f) {
    try {
        return f();
    } catch (const std::out_of_range&) {
        throw kRZStringOutOfRange;
    } catch (const std::length_error&) {
        throw kRZStringLengthError;
    }
}

bool IsOneOf(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

// Walks the conversions of a printf format the way the C library reads it
// (byte by byte: no double-byte page has '%' as a second byte). Refuses %n,
// which would let a format write through an argument, and rewrites the
// 64-bit prefix "I64" as "ll" (and drops "I32"), which glibc would otherwise
// read as a flag and a width. `rewritten` is filled only when something
// changed.
bool CheckFormat(const char* format, std::string& rewritten, bool& changed) {
    changed = false;
    std::string out;
    for (std::size_t i = 0; format[i] != '\0';) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        std::size_t j = i + 1;
        if (format[j] == '%') {
            out += "%%";
            i = j + 1;
            continue;
        }
        // glibc also reads 'I' (locale digits) as a flag; it must not hide
        // a following 'n'.
        while (IsOneOf(format[j], "0123456789$-+ #'*.") ||
               (format[j] == 'I' && std::strncmp(format + j + 1, "64", 2) != 0 &&
                std::strncmp(format + j + 1, "32", 2) != 0))
            ++j;
        out.append(format + i, j - i);
        if (format[j] == 'I' && std::strncmp(format + j + 1, "64", 2) == 0) {
            out += "ll";
            j += 3;
            changed = true;
        } else if (format[j] == 'I' && std::strncmp(format + j + 1, "32", 2) == 0) {
            j += 3;
            changed = true;
        }
        while (IsOneOf(format[j], "hlLqjzZt")) out += format[j++];
        if (format[j] == 'n') return false;
        i = j;
    }
    if (changed) rewritten.swap(out);
    return true;
}

} // namespace

cRZString::cRZString(const char* text) : std::string(text ? text : "") {}

cRZString::cRZString(const char* bytes, size_type count)
    : std::string(Guarded([&] { return std::string(bytes, count); })) {}

cRZString::cRZString(const std::string& text) : std::string(text) {}

cRZString::cRZString(const cRZString& other, size_type start, size_type count)
    : std::string(Guarded([&] { return std::string(other, start, count); })) {}

cRZString& cRZString::operator=(const char* text) {
    assign(text ? text : "");
    return *this;
}

void cRZString::TrimLeftOf(std::string& text) {
    std::size_t n = 0;
    while (n < text.size() && text[n] == ' ') ++n;
    if (n != 0) text.erase(0, n);
}

void cRZString::TrimRightOf(std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ') --end;
    text.erase(end);
}

void cRZString::TrimLeft() { TrimLeftOf(*this); }
void cRZString::TrimRight() { TrimRightOf(*this); }

void cRZString::Trim() {
    TrimLeft();
    TrimRight();
}

cRZString cRZString::Left(size_type count) const { return cRZString(*this, 0, count); }

cRZString cRZString::Right(size_type count) const {
    if (count >= size()) return *this;
    return cRZString(*this, size() - count);
}

cRZString cRZString::Mid(size_type start, size_type count) const {
    if (start > size()) return cRZString();
    return cRZString(*this, start, count);
}

cRZString cRZString::RemoveSubstring(const char* part) const {
    if (part == nullptr || *part == '\0') return *this;
    size_type index = find(part);
    if (index == npos) return cRZString();
    return Left(index) + Right(size() - index - std::strlen(part));
}

bool cRZString::StartsWith(const char* bytes, size_type count) const {
    if (count == 0) return true;
    if (bytes == nullptr || size() < count) return false;
    return std::memcmp(data(), bytes, count) == 0;
}

cRZString& cRZString::MakeLower() {
    platform::CurrentCodePage().MakeLower(*this);
    return *this;
}

cRZString& cRZString::MakeUpper() {
    platform::CurrentCodePage().MakeUpper(*this);
    return *this;
}

bool cRZString::FormatInto(std::string& out, const char* format, va_list args) {
    if (format == nullptr) return false;
    std::string rewritten;
    bool changed = false;
    if (!CheckFormat(format, rewritten, changed)) return false;
    const char* used = changed ? rewritten.c_str() : format;

    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, used, measure);
    va_end(measure);
    if (length < 0) return false;

    std::string text = Guarded([&] { return std::string(static_cast<std::size_t>(length), '\0'); });
    std::vsnprintf(text.data(), text.size() + 1, used, args);
    out.swap(text);
    return true;
}

cRZString& cRZString::Sprintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatInto(*this, format, args);
    va_end(args);
    return *this;
}

char cRZString::At(size_type index) const {
    if (index >= size()) throw kRZStringOutOfRange;
    return (*this)[index];
}
