#include "gamedata/BodyStrings.h"

#include "platform/Path.h"
#include "resfile/StringSet.h"

namespace tova {

namespace {

std::string FoldAscii(std::string_view text) { return platform::ToLowerAscii(text); }

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

}  // namespace tova
