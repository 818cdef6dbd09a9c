#include "framework/CTGString.h"

#include <cstdarg>
#include <cstdlib>

#include "framework/cRZString.h"
#include "platform/CodePage.h"

CTGString::CTGString(const CTGString& first, const CTGString& second) : std::string(first) { append(second); }

void CTGString::TrimLeft() { cRZString::TrimLeftOf(*this); }

void CTGString::TrimRight() { cRZString::TrimRightOf(*this); }

void CTGString::Trim() {
  TrimLeft();
  TrimRight();
}

CTGString CTGString::Left(size_type count) const { return CTGString(substr(0, count)); }

CTGString CTGString::Right(size_type count) const {
  if (count >= size()) return *this;
  return CTGString(substr(size() - count));
}

CTGString CTGString::Mid(size_type position, size_type count) const {
  if (position >= size()) return CTGString();
  return CTGString(substr(position, count));
}

CTGString& CTGString::MakeLower() {
  const platform::CodePage& page = platform::CurrentCodePage();
  for (char& c : *this) c = static_cast<char>(page.ToLower(static_cast<unsigned char>(c)));
  return *this;
}

CTGString& CTGString::MakeUpper() {
  const platform::CodePage& page = platform::CurrentCodePage();
  for (char& c : *this) c = static_cast<char>(page.ToUpper(static_cast<unsigned char>(c)));
  return *this;
}

CTGString& CTGString::Sprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  cRZString::FormatInto(*this, format, args);
  va_end(args);
  return *this;
}

uint32_t ParseUnsignedAutoBase(const char* text) {
  if (text == nullptr || *text == '\0') return 0;
  int base = 10;
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
  } else {
    for (const char* p = text; *p != '\0'; ++p) {
      if ((*p >= 'a' && *p <= 'f') || (*p >= 'A' && *p <= 'F')) {
        base = 16;
        break;
      }
    }
  }
  return static_cast<uint32_t>(std::strtoul(text, nullptr, base));
}

uint32_t DoubleByteCharCode(const char* p) {
  if (p == nullptr) return 0;
  const auto lead = static_cast<unsigned char>(p[0]);
  if (platform::CurrentCodePage().IsLeadByte(lead) && p[1] != '\0') {
    return lead * 256u + static_cast<unsigned char>(p[1]);
  }
  return lead;
}
