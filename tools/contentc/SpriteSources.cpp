#include "tools/contentc/SpriteSources.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>

#include "framework/CTGFileManager.h"
#include "platform/AtomicFile.h"
#include "platform/PngFile.h"
#include "resfile/SpriteWriter.h"
#include "tools/contentc/KeywordLines.h"

namespace {

struct SpriteSourceBlock {
  bool second = false;  // 'SPR2'
  int16_t id = 0;
  int32_t version = 0;
  int32_t palette = -1;
  std::string label;
  std::string where;
  std::vector<tova::SpritePicture> frames;
};

std::optional<platform::Image> SpriteSourceImage(const std::filesystem::path& folder, const std::string& file,
                                                 std::string& why) {
  if (!StaysInsideFolder(file)) {
    why = file + ": a picture is named relative to the description's folder";
    return std::nullopt;
  }
  std::string error;
  auto image = platform::ReadPngFile((folder / file).string(), &error);
  if (!image) why = file + ": " + error;
  return image;
}

std::vector<uint32_t> SpriteSourceSwatch(const platform::Image& image) {
  std::vector<uint32_t> colours;
  for (int32_t y = 0; y < image.height; ++y)
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = image.At(x, y);
      colours.push_back(uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
    }
  return colours;
}

// The value of "key=value" words, or nullopt when the word has another key.
std::optional<std::string> SpriteSourceOption(const std::string& word, const char* key) {
  const std::string prefix = std::string(key) + "=";
  if (word.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  return word.substr(prefix.size());
}

bool SpriteSourceFrame(const std::filesystem::path& folder, std::istringstream& words,
                       const std::vector<uint32_t>& palette, tova::SpritePicture& frame, std::string& why) {
  std::string colourName, word, depthName, alphaName;
  if (!(words >> colourName)) return false;
  int x = 0, y = 0;
  while (words >> word) {
    if (auto v = SpriteSourceOption(word, "depth")) depthName = *v;
    else if (auto v2 = SpriteSourceOption(word, "alpha")) alphaName = *v2;
    else if (auto v3 = SpriteSourceOption(word, "x")) x = std::stoi(*v3);
    else if (auto v4 = SpriteSourceOption(word, "y")) y = std::stoi(*v4);
    else return false;
  }
  const auto colour = SpriteSourceImage(folder, colourName, why);
  if (!colour) return false;
  std::optional<platform::Image> depth, alpha;
  if (!depthName.empty() && !(depth = SpriteSourceImage(folder, depthName, why))) return false;
  if (!alphaName.empty() && !(alpha = SpriteSourceImage(folder, alphaName, why))) return false;
  for (const auto* other : {&depth, &alpha})
    if (*other && ((*other)->width != colour->width || (*other)->height != colour->height)) {
      why = colourName + ": its depth and alpha pictures must be of its size";
      return false;
    }
  frame = {};
  frame.width = colour->width;
  frame.height = colour->height;
  frame.x = static_cast<int16_t>(x);
  frame.y = static_cast<int16_t>(y);
  std::map<uint32_t, int> indexOf;
  for (size_t i = palette.size(); i-- > 0;) indexOf[palette[i]] = static_cast<int>(i);
  const size_t n = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height);
  frame.indices.assign(n, 0);
  std::vector<uint8_t> levels(n, 31);
  std::vector<bool> used(256, false);
  bool partial = false;
  for (int32_t py = 0; py < frame.height; ++py)
    for (int32_t px = 0; px < frame.width; ++px) {
      const size_t i = static_cast<size_t>(py) * frame.width + px;
      const uint8_t* p = colour->At(px, py);
      const int a = alpha ? alpha->At(px, py)[0] : colour->channels == 4 ? p[3] : 255;
      levels[i] = static_cast<uint8_t>((a * 31 + 127) / 255);
      partial |= levels[i] > 0 && levels[i] < 31;
      if (levels[i] == 0) continue;
      const auto found = indexOf.find(uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
      if (found == indexOf.end()) {
        char text[96];
        std::snprintf(text, sizeof text, ": colour %02X%02X%02X at %d,%d is not in the palette", p[0], p[1], p[2],
                      px, py);
        why = colourName + text;
        return false;
      }
      frame.indices[i] = static_cast<uint8_t>(found->second);
      used[static_cast<size_t>(found->second)] = true;
    }
  // The transparent index is one no visible pixel uses.
  for (int t = 255; t >= 0 && frame.transparent < 0; --t)
    if (!used[static_cast<size_t>(t)]) frame.transparent = t;
  if (frame.transparent < 0 && std::find(levels.begin(), levels.end(), 0) != levels.end()) {
    why = colourName + ": all 256 colours are used, none is left for transparency";
    return false;
  }
  for (size_t i = 0; i < n; ++i)
    if (levels[i] == 0) frame.indices[i] = static_cast<uint8_t>(frame.transparent);
  if (partial || alpha) frame.alpha = levels;
  if (depth) {
    frame.depth.resize(n);
    for (int32_t py = 0; py < frame.height; ++py)
      for (int32_t px = 0; px < frame.width; ++px) {
        const uint8_t* d = depth->At(px, py);
        const bool none = depth->channels == 4 && d[3] < 128;
        frame.depth[static_cast<size_t>(py) * frame.width + px] = none ? 255 : std::min<uint8_t>(d[0], 254);
      }
  }
  return true;
}

}  // namespace

bool ParseSpriteSource(const std::string& name, const std::string& text, std::vector<ContentFile>& files,
                       std::vector<PaletteFileOutput>& palettes, std::string& error) {
  const std::filesystem::path folder = std::filesystem::path(name).parent_path();
  ContentFile file;
  std::map<int32_t, std::vector<uint32_t>> paletteColours;
  std::optional<std::vector<uint32_t>> defaultColours;
  std::optional<SpriteSourceBlock> block;
  std::string why;
  int line = 0;
  const auto take = [&](const std::string& key, std::istringstream& words) {
    if (block) {
      if (key == "end") {
        std::vector<uint8_t> bytes;
        const bool written =
            block->second ? tova::WriteSprite2Resource(block->version, block->palette, block->frames, bytes, why)
                          : tova::WriteSpriteResource(block->version, block->palette, block->frames, false, bytes, why);
        if (!written) return KeywordResult::kBadValue;
        ContentResource r;
        r.type = TypeCode(block->second ? "SPR2" : "SPR#");
        r.id = block->id;
        r.label = block->label;
        r.bytes = std::move(bytes);
        r.where = block->where;
        file.resources.push_back(std::move(r));
        block.reset();
        return KeywordResult::kTaken;
      }
      if (key != "frame") return KeywordResult::kUnknown;
      const bool useDefault = block->palette < 0 || (!block->second && block->version < 502);
      const std::vector<uint32_t>* colours = nullptr;
      if (useDefault && defaultColours) colours = &*defaultColours;
      if (!useDefault && paletteColours.count(block->palette)) colours = &paletteColours[block->palette];
      if (!colours) {
        why = "the frame's palette is not declared above it";
        return KeywordResult::kBadValue;
      }
      tova::SpritePicture frame;
      if (!SpriteSourceFrame(folder, words, *colours, frame, why)) return KeywordResult::kBadValue;
      block->frames.push_back(std::move(frame));
      return KeywordResult::kTaken;
    }
    if (key == "file") {
      if (!(words >> file.path) || !file.resources.empty()) return KeywordResult::kBadValue;
      return KeywordResult::kTaken;
    }
    if (key == "palette" || key == "palettefile") {
      std::string target, swatch;
      int32_t id = 0;
      if (key == "palette" ? !(words >> id >> swatch) : !(words >> target >> swatch)) return KeywordResult::kBadValue;
      const auto image = SpriteSourceImage(folder, swatch, why);
      if (!image) return KeywordResult::kBadValue;
      std::vector<uint32_t> colours = SpriteSourceSwatch(*image);
      if (colours.size() > 256) {
        why = swatch + ": a palette holds at most 256 colours";
        return KeywordResult::kBadValue;
      }
      if (key == "palettefile") {
        defaultColours = colours;
        palettes.push_back({target, std::move(colours)});
        return KeywordResult::kTaken;
      }
      if (file.path.empty()) return KeywordResult::kBadValue;
      ContentResource r;
      r.type = TypeCode("PALT");
      r.id = static_cast<int16_t>(id);
      r.bytes = tova::WritePaletteResource(colours);
      r.where = name + ":" + std::to_string(line);
      file.resources.push_back(std::move(r));
      paletteColours[id] = std::move(colours);
      return KeywordResult::kTaken;
    }
    if (key == "sprite" || key == "sprite2") {
      SpriteSourceBlock b;
      b.second = key == "sprite2";
      int32_t id = 0;
      if (file.path.empty() || !(words >> id >> b.version) || id < 0 || id > 32767) return KeywordResult::kBadValue;
      b.id = static_cast<int16_t>(id);
      std::string rest, word;
      std::getline(words, rest);
      if (const size_t open = rest.find('"'); open != std::string::npos) {
        const size_t close = rest.find('"', open + 1);
        if (close == std::string::npos) return KeywordResult::kBadValue;
        b.label = rest.substr(open + 1, close - open - 1);
        rest = rest.substr(0, open) + rest.substr(close + 1);
      }
      std::istringstream options(rest);
      while (options >> word) {
        if (auto v = SpriteSourceOption(word, "palette")) b.palette = std::stoi(*v);
        else return KeywordResult::kBadValue;
      }
      b.where = name + ":" + std::to_string(line);
      block = std::move(b);
      return KeywordResult::kTaken;
    }
    return KeywordResult::kUnknown;
  };
  bool read = false;
  try {
    read = ForEachKeywordLine(name, text, line, error, [&](const std::string& key, std::istringstream& words) {
      return take(key, words);
    });
  } catch (const std::exception&) {  // a number that does not parse
    error = name + ":" + std::to_string(line) + ": bad number";
    return false;
  }
  if (!read) {
    if (!why.empty()) error += ": " + why;
    return false;
  }
  if (block) {
    error = name + ": a sprite block has no 'end'";
    return false;
  }
  if (!file.resources.empty()) files.push_back(std::move(file));
  return true;
}

bool WritePaletteFiles(const std::vector<PaletteFileOutput>& palettes, const std::string& root, std::string& error) {
  for (const PaletteFileOutput& p : palettes) {
    if (!StaysInsideFolder(p.path)) {
      error = p.path + ": a palette file must lie inside the data root";
      return false;
    }
    std::string bytes(768, '\0');
    for (size_t i = 0; i < p.colours.size() && i < 256; ++i) {
      bytes[3 * i] = static_cast<char>(p.colours[i] >> 16);
      bytes[3 * i + 1] = static_cast<char>(p.colours[i] >> 8);
      bytes[3 * i + 2] = static_cast<char>(p.colours[i]);
    }
    const std::filesystem::path target = std::filesystem::path(root) / p.path;
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    platform::AtomicFile file(target);
    if (!file.Begin() || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
      error = p.path + ": " + file.Error();
      return false;
    }
  }
  return true;
}
