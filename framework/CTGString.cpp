#include "framework/CTGString.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/CodePage.h"

CTGString::CTGString(const CTGString& first, const CTGString& second) : std::string(first) { append(second); }

void CTGString::TrimLeft() { erase(0, find_first_not_of(' ')); }

void CTGString::TrimRight() {
  const size_type last = find_last_not_of(' ');
  erase(last == npos ? 0 : last + 1);
}

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
  if (format == nullptr) return *this;
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int needed = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (needed >= 0) {
    std::vector<char> out(static_cast<size_t>(needed) + 1);
    std::vsnprintf(out.data(), out.size(), format, again);
    assign(out.data(), static_cast<size_t>(needed));
  }
  va_end(again);
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
