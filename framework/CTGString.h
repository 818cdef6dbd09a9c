// CTGString: the string of the data-file layer. The file manager, the data-file
// catalogue and the folder walkers keep paths and names in it. Case folding is
// byte by byte through the current code page's single-byte tables.
#pragma once

#include <cstdint>
#include <string>

class CTGString : public std::string {
 public:
  CTGString() = default;
  CTGString(const char* text) : std::string(text != nullptr ? text : "") {}
  CTGString(const char* bytes, size_type count) : std::string(bytes, count) {}
  CTGString(const std::string& text) : std::string(text) {}
  CTGString(const CTGString& first, const CTGString& second);
  CTGString(const CTGString&) = default;
  CTGString(CTGString&&) noexcept = default;
  CTGString& operator=(const CTGString&) = default;
  CTGString& operator=(CTGString&&) noexcept = default;
  CTGString& operator=(const char* text) {
    assign(text != nullptr ? text : "");
    return *this;
  }
  virtual ~CTGString() = default;

  // Only the space byte (0x20) is trimmed.
  virtual void TrimLeft();
  virtual void TrimRight();
  virtual void Trim();

  // Extraction clips instead of failing.
  CTGString Left(size_type count) const;
  CTGString Right(size_type count) const;
  CTGString Mid(size_type position, size_type count) const;

  CTGString& MakeLower();
  CTGString& MakeUpper();

  // Replaces the text with the formatted output (sized first, so it never
  // overflows); returns the receiver.
  CTGString& Sprintf(const char* format, ...) __attribute__((format(printf, 2, 3)));
};

// strtoul in base 16 when the text starts with "0x"/"0X" or holds any letter
// a-f/A-F anywhere (so "1e5" is hexadecimal); else base 10. Null or empty: 0.
uint32_t ParseUnsignedAutoBase(const char* text);

// The character at `p` as one number: lead * 256 + trail for a double-byte
// character of the current code page, else the byte's value.
uint32_t DoubleByteCharCode(const char* p);
