#include "resfile/FixedString.h"

#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>

namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

void FixedString::Init(char* buffer, int32_t capacity) {
  mText = buffer;
  mCapacity = buffer != nullptr && capacity > 0 ? capacity : 0;
  Clear();
}

int32_t FixedString::Length() const {
  if (mText == nullptr) return 0;
  return static_cast<int32_t>(strnlen(mText, static_cast<size_t>(mCapacity)));
}

void FixedString::Clear() {
  if (mCapacity > 0) mText[0] = '\0';
}

int32_t FixedString::Append(const char* text, int32_t len) {
  if (text == nullptr || mCapacity <= 0) return 0;
  const int32_t length = Length();
  int32_t room = mCapacity - length - 1;
  if (len >= 0 && len < room) room = len;
  int32_t copied = 0;
  while (copied < room && text[copied] != '\0') {
    mText[length + copied] = text[copied];
    ++copied;
  }
  mText[length + copied] = '\0';
  return copied;
}

void FixedString::Assign(const char* text) {
  // The source may be this very buffer: copy it out first.
  if (text == mText && text != nullptr) return;
  Clear();
  Append(text);
}

void FixedString::AssignString(const FixedString& other) { Assign(other.c_str()); }

int32_t FixedString::AppendString(const FixedString& other, int32_t len) {
  if (&other == this) {
    const std::string copy = other.c_str();
    return Append(copy.c_str(), len);
  }
  return Append(other.c_str(), len);
}

int FixedString::Compare(const FixedString& other) const { return strcmp(c_str(), other.c_str()); }

int FixedString::CompareNoCaseN(const char* text, int32_t len) const {
  const char* own = c_str();
  const int32_t length = Length();
  if (text == nullptr) text = "";
  const int32_t n = len < length ? len : length;
  for (int32_t i = 0; i < n; ++i) {
    const int a = static_cast<unsigned char>(Fold(own[i]));
    const int b = static_cast<unsigned char>(Fold(text[i]));
    if (a != b) return a - b;
    if (text[i] == '\0') break;  // unreachable: own[i] is never 0 here
  }
  return length - len;
}

int FixedString::CompareNoCase(const FixedString& other) const {
  return CompareNoCaseN(other.c_str(), other.Length());
}

char FixedString::CharAt(int32_t position) const {
  if (position < 0 || position >= Length()) return 0;
  return mText[position];
}

int32_t FixedString::ToLower() {
  const int32_t length = Length();
  for (int32_t i = 0; i < length; ++i) mText[i] = Fold(mText[i]);
  return length;
}

void FixedString::AppendChar(char c) {
  const char text[2] = {c, '\0'};
  Append(text, 1);
}

void FixedString::AppendInt(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  Append(text);
}

void FixedString::AppendIntPadded(int32_t value, int32_t width) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  Append(text);
}

int32_t FixedString::FindImpl(const char* text, int32_t start, bool foldCase) const {
  if (text == nullptr) return -1;
  const int32_t length = Length();
  const auto needle = static_cast<int32_t>(strlen(text));
  if (start < 0) start = 0;
  if (start > length) return -1;
  for (int32_t i = start; i + needle <= length; ++i) {
    int32_t k = 0;
    while (k < needle && (foldCase ? Fold(mText[i + k]) == Fold(text[k]) : mText[i + k] == text[k])) ++k;
    if (k == needle) return i;
  }
  return -1;
}

int32_t FixedString::Find(const char* text, int32_t start) const { return FindImpl(text, start, false); }

int32_t FixedString::FindNoCase(const char* text, int32_t start) const { return FindImpl(text, start, true); }

void NamedRecord::WriteText(std::ostream& out) const {
  out << name.c_str() << '\n' << first << '\n' << second << '\n';
}

bool NamedRecord::ReadText(std::istream& in) {
  std::string word;
  in >> word;
  if (word.size() > 255) word.resize(255);
  name.Assign(word.c_str());
  in >> first >> second;
  return !in.fail();
}

FixedString& GlobalPathString() {
  static FixedPath path;
  return path;
}

std::vector<NamedRecord>& GlobalNamedRecords() {
  static std::vector<NamedRecord> records;
  return records;
}
