// The person-appearance editor on arbitrary names and body strings. The
// input holds four sections split by 0x01 bytes: suit names, texture names
// and body strings (one a line, string n on line n), then operation bytes
// that pick ages, sexes, skins, bodies, heads, repairs and templates.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gamedata/AppearanceEditor.h"
#include "gamedata/SimRandom.h"
#include "resfile/StringSet.h"

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

class Host : public tova::iAppearanceHost {
 public:
  std::vector<std::string> suits;
  void GetSuitNames(std::vector<std::string>& out) const override { out = suits; }
  void LooksChanged() override {}
};

class Editor : public tova::AppearanceEditor {
 public:
  Editor(Host& host, std::vector<std::string> textures) : AppearanceEditor(host, {}), textures_(std::move(textures)) {}

 protected:
  void ListTextureNames(std::vector<std::string>& out) const override { out = textures_; }

 private:
  std::vector<std::string> textures_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> sections = Split(std::string(reinterpret_cast<const char*>(data), size), '\x01');
  Host host;
  host.suits = Split(sections[0], '\n');
  Editor editor(host, sections.size() > 1 ? Split(sections[1], '\n') : std::vector<std::string>{});
  StringSet strings;
  if (sections.size() > 2) {
    const std::vector<std::string> lines = Split(sections[2], '\n');
    for (size_t i = 0; i < lines.size() && i < 40; ++i) strings.SetString(static_cast<int>(i + 1), lines[i].c_str());
  }
  tova::AppearanceEditor::ResetCache();
  tova::SetRandomSeed(static_cast<uint32_t>(size));
  if (!editor.Attach(&strings)) return 0;
  const std::string ops = sections.size() > 3 ? sections[3] : std::string();
  for (size_t i = 0; i < ops.size() && i < 64; ++i) {
    const auto op = static_cast<uint8_t>(ops[i]);
    const int32_t n = static_cast<int32_t>(op >> 3) - 2;
    std::vector<int> changed;
    switch (op & 7) {
      case 0: editor.SetAge((op & 8) != 0); break;
      case 1: editor.SetSex((op & 8) != 0); break;
      case 2: editor.SetSkinTone(host.suits[static_cast<size_t>(op >> 3) % host.suits.size()]); break;
      case 3: editor.SetBody(n); break;
      case 4: editor.SetHead(n); break;
      case 5: editor.Repair(changed); break;
      case 6: editor.Rebuild(); break;
      default: editor.FindTemplate(host.suits.back(), (op & 8) != 0); break;
    }
  }
  editor.Detach(false);
  return 0;
}
