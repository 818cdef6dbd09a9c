#include "gamedata/BodyStrings.h"

#include <algorithm>
#include <cstring>

#include "platform/Path.h"
#include "resfile/StringSet.h"

namespace tova {

namespace {

std::string FoldAscii(std::string_view text) { return platform::ToLowerAscii(text); }

constexpr const char* kTextureKeys[] = {"BODY=", "HEAD-HEAD=", "HAND="};

std::string WithoutKey(const std::string& texture) {
  for (const char* key : kTextureKeys) {
    const size_t length = std::strlen(key);
    if (texture.compare(0, length, key) == 0) return texture.substr(length);
  }
  return texture;
}

}  // namespace

std::string BodyStrings::Get(const StringSet& strings, int n) {
  const char* text = strings.GetString(n);
  return text != nullptr ? std::string(text) : std::string();
}

void BodyStrings::SplitText(std::string_view text, std::string& suit, std::string& texture, bool afterSemicolon) {
  const size_t semicolon = text.find(';');
  std::string_view part;
  if (!afterSemicolon) {
    part = text.substr(0, semicolon);
  } else if (semicolon != std::string_view::npos) {
    part = text.substr(semicolon + 1);
  }
  const size_t comma = part.find(',');
  if (comma == std::string_view::npos) {
    suit = FoldAscii(part);
    texture.clear();
    return;
  }
  suit = FoldAscii(part.substr(0, comma));
  const std::string_view rest = part.substr(comma + 1);
  const size_t equals = rest.find('=');
  if (equals == std::string_view::npos) {
    texture = FoldAscii(rest);
  } else {
    texture = std::string(rest.substr(0, equals + 1)) + FoldAscii(rest.substr(equals + 1));
  }
}

void BodyStrings::SplitEntry(const StringSet& strings, int n, std::string& suit, std::string& texture,
                             bool afterSemicolon) {
  SplitText(Get(strings, n), suit, texture, afterSemicolon);
}

const std::vector<int>& BodyStrings::SuitEntries() {
  static const std::vector<int> entries = {2, 3, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
  return entries;
}

void BodyStrings::SetEntry(StringSet& strings, int n, std::string_view text) {
  if (n < 1) return;
  while (strings.GetCount() < n - 1) strings.SetString(strings.GetCount() + 1, "");
  strings.SetString(n, std::string(text).c_str());
}

void BodyStrings::MergeChanged(StringSet& edited, const StringSet& base, std::vector<std::string>& textures) {
  for (int n : SuitEntries()) {
    const std::string mine = Get(edited, n);
    const std::string original = Get(base, n);
    if (platform::EqualsNoCase(mine, original)) continue;
    std::string mySuit, myTexture, baseSuit, baseTexture;
    SplitText(mine, mySuit, myTexture, false);
    SplitText(original, baseSuit, baseTexture, false);
    SetEntry(edited, n, mine.substr(0, mine.find(';')) + ";" + original);
    if (myTexture == baseTexture) continue;
    const std::string texture = WithoutKey(baseTexture);
    const bool known = std::any_of(textures.begin(), textures.end(),
                                   [&](const std::string& t) { return platform::EqualsNoCase(t, texture); });
    if (!known) textures.push_back(texture);
  }
}

void BodyStrings::KeepSecond(StringSet& strings) {
  for (int n = 1; n <= strings.GetCount(); ++n) {
    const std::string text = Get(strings, n);
    const size_t semicolon = text.find(';');
    if (semicolon != std::string::npos) strings.SetString(n, text.substr(semicolon + 1).c_str());
  }
}

int BodyStrings::Compare(const StringSet& a, const StringSet& b) {
  if (a.GetCount() != b.GetCount()) return a.GetCount() - b.GetCount();
  for (int n = 1; n <= a.GetCount(); ++n) {
    const int order = std::strcmp(Get(a, n).c_str(), Get(b, n).c_str());
    if (order != 0) return order;
  }
  return 0;
}

}  // namespace tova
