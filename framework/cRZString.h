// cRZString: the framework's string value. Names, paths, labels and messages
// travel through the framework as these: bytes in the current code page
// (platform/CodePage.h), with trimming, clipping extraction, prefix tests,
// code-page-aware case folding and printf-style formatting that never
// overflows.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

// Errors of the string operations are thrown as these C strings.
extern const char* const kRZStringOutOfRange;  // "Out of range exception occurred"
extern const char* const kRZStringLengthError; // "Length exception occurred"

class cRZString : public std::string {
public:
    cRZString() = default;
    // A null pointer gives the empty text.
    cRZString(const char* text);
    cRZString(const char* bytes, size_type count);
    cRZString(const std::string& text);
    // The bytes of `other` from `start`, at most `count` of them; a start past
    // the end throws kRZStringOutOfRange.
    cRZString(const cRZString& other, size_type start, size_type count = npos);
    cRZString(const cRZString& other) = default;
    cRZString(cRZString&& other) noexcept = default;
    virtual ~cRZString() = default;

    cRZString& operator=(const cRZString& other) = default;
    cRZString& operator=(cRZString&& other) noexcept = default;
    cRZString& operator=(const char* text);

    // Only the space byte (0x20) is trimmed; tabs and line ends stay.
    virtual void TrimLeft();
    virtual void TrimRight();
    virtual void Trim();

    // Extraction clips: counts past the end never fail.
    cRZString Left(size_type count) const;
    cRZString Right(size_type count) const;
    cRZString Mid(size_type start, size_type count) const;

    // The text with the first occurrence of `part` cut out; the whole text
    // when `part` is null or empty; the empty text when `part` does not occur.
    cRZString RemoveSubstring(const char* part) const;

    // Whether the text begins with the `count` bytes at `bytes`.
    bool StartsWith(const char* bytes, size_type count) const;

    // Case folding through the current code page; double-byte characters are
    // left as they are.
    cRZString& MakeLower();
    cRZString& MakeUpper();

    // Replaces the text with the formatted output. A format holding %n, or
    // one the C library cannot format, leaves the text unchanged. "%I64"
    // (the 64-bit size prefix of the original data) is read as "%ll".
    cRZString& Sprintf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // The byte at index; an index not below the length throws kRZStringOutOfRange.
    char At(size_type index) const;

    // Helpers shared with the other string classes of the framework.
    static void TrimLeftOf(std::string& text);
    static void TrimRightOf(std::string& text);
    // Formats into `out` (measured first, then written once). False, with
    // `out` untouched, for a format holding %n or one vsnprintf rejects.
    static bool FormatInto(std::string& out, const char* format, va_list args);
};
