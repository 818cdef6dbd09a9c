// Four-character codes: 32-bit values whose most significant byte is the
// first character, so that a big-endian chunk header shows them in reading
// order ('rsmp' is 0x72736D70).
#pragma once

#include <cstdint>
#include <string>


using ResType = uint32_t;

constexpr ResType TypeCode(const char (&s)[5]) {
  return (static_cast<ResType>(static_cast<unsigned char>(s[0])) << 24) |
         (static_cast<ResType>(static_cast<unsigned char>(s[1])) << 16) |
         (static_cast<ResType>(static_cast<unsigned char>(s[2])) << 8) |
         static_cast<ResType>(static_cast<unsigned char>(s[3]));
}

// The four characters of a code; bytes outside printable ASCII appear as '.'.
inline std::string TypeCodeText(ResType type) {
  std::string s(4, ' ');
  for (int i = 0; i < 4; ++i) {
    unsigned char c = static_cast<unsigned char>(type >> (24 - 8 * i));
    s[i] = (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
  }
  return s;
}

