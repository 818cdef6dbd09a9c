// ANSI and double-byte code pages of the languages the game ships in.
//
// Game text is stored and drawn as bytes of the current language's code page:
// 1252 (Western), 1250 (Central European), 1251 (Cyrillic), 1255 (Hebrew),
// 874 (Thai), and the double-byte pages 932 (Japanese), 936 (Simplified
// Chinese), 949 (Korean) and 950 (Traditional Chinese). This module answers the
// questions string code asks about those bytes (does a character start here,
// how long is it, is it a digit or a letter, what is its other case) without
// the C library's locales, and converts to and from UTF-8.
//
// There is one process-wide *current* code page (1252 until the language
// manager picks another); framework string routines use it wherever the
// original code relied on the C runtime's multibyte locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class CodePage {
public:
    // The page with that number, or null when it is not one of the nine.
    static const CodePage* Find(int number);
    // The page with that number; an unknown number gives 1252.
    static const CodePage& Get(int number);

    int Number() const { return mNumber; }
    bool IsDoubleByte() const { return mDoubleByte; }

    // Whether the byte begins a two-byte character (never on single-byte pages).
    bool IsLeadByte(unsigned char byte) const { return mLead[byte]; }

    // Bytes of the character at p: 2 for a lead byte followed by a non-zero
    // byte before end, otherwise 1. p must be before end.
    std::size_t CharLength(const char* p, const char* end) const;

    // The character after the one at p in a zero-terminated text. A lead byte
    // just before the terminator steps one byte, so the terminator is never
    // skipped; at the terminator itself p is returned.
    const char* Next(const char* p) const;

    // Classification of a single-byte character. Lead bytes belong to no
    // class; digits are the ASCII digits only.
    bool IsUpper(unsigned char c) const { return mClass[c] & kUpper; }
    bool IsLower(unsigned char c) const { return mClass[c] & kLower; }
    bool IsAlpha(unsigned char c) const { return mClass[c] & kAlpha; }
    bool IsDigit(unsigned char c) const { return mClass[c] & kDigit; }
    bool IsAlnum(unsigned char c) const { return mClass[c] & (kAlpha | kDigit); }
    bool IsSpace(unsigned char c) const { return mClass[c] & kSpace; }
    bool IsPunct(unsigned char c) const { return mClass[c] & kPunct; }
    bool IsPrint(unsigned char c) const { return mClass[c] & kPrint; }

    // Whether the character at p (zero-terminated text) is a digit; the first
    // byte of a double-byte character never is.
    bool IsDigitAt(const char* p) const;

    // Case of a single byte: letters of the page (accented ones included) map
    // to their other case when the page has it; everything else is unchanged.
    unsigned char ToLower(unsigned char c) const { return mLowerMap[c]; }
    unsigned char ToUpper(unsigned char c) const { return mUpperMap[c]; }

    // Case folding of a whole text, stepping by characters: double-byte
    // characters are never changed.
    void MakeLower(std::string& text) const;
    void MakeUpper(std::string& text) const;

    // Conversion through iconv. A byte sequence that is not valid in the
    // source becomes U+FFFD (to UTF-8) or '?' (from UTF-8) and conversion goes
    // on; `exact` (when given) tells whether nothing had to be replaced.
    std::string ToUtf8(std::string_view bytes, bool* exact = nullptr) const;
    std::string FromUtf8(std::string_view utf8, bool* exact = nullptr) const;

private:
    enum : unsigned char {
        kUpper = 1, kLower = 2, kAlpha = 4, kDigit = 8,
        kSpace = 16, kPunct = 32, kPrint = 64,
    };
    explicit CodePage(int number);
    void Fold(std::string& text, const unsigned char* map) const;

    int mNumber;
    bool mDoubleByte;
    const char* mIconvName;
    bool mLead[256];
    unsigned char mClass[256];
    unsigned char mLowerMap[256];
    unsigned char mUpperMap[256];
};

// The process-wide current code page (1252 at start).
const CodePage& CurrentCodePage();
// Makes the page with that number current; false (and no change) when the
// number is not one of the nine pages.
bool SetCurrentCodePage(int number);

// The Windows locale id (LCID) of a POSIX locale name such as "fr_CA.UTF-8"
// or "de": the language and territory, else the language's main locale id,
// else 1033 (US English, also for "C" and "POSIX").
std::uint16_t LcidFromLocaleName(std::string_view name);
// The user's locale id, from LC_ALL, LC_MESSAGES or LANG (the first set).
std::uint16_t UserDefaultLcid();

} // namespace platform
