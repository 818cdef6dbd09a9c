// The content compiler's whole run: reads every source, then writes the
// data root.
#include "tools/contentc/ContentCompiler.h"

#include <fstream>
#include <sstream>
#include <utility>

#include "tools/contentc/ContentSource.h"
#include "tools/contentc/CursorSources.h"
#include "tools/contentc/LightSources.h"
#include "tools/contentc/LotSources.h"
#include "tools/contentc/PictureSources.h"
#include "tools/contentc/ToneSources.h"

int RunContentCompiler(const std::vector<std::string>& arguments, std::ostream& messages) {
  std::string root;
  ContentSource source;
  std::vector<ToneDescription> tones;
  std::vector<std::pair<std::string, std::string>> lots;  // name, text
  std::vector<std::pair<std::string, Rle8Picture>> pictures;
  std::vector<CursorDescription> cursors;
  std::vector<LightSetDescription> lightSets;
  int sources = 0;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (arg == "--out" && i + 1 < arguments.size()) {
      root = arguments[++i];
      continue;
    }
    if (arg.size() > 4 && arg.compare(arg.size() - 4, 4, ".png") == 0) {
      Rle8Picture picture;
      std::string error;
      if (!ReadPictureSource(arg, picture, error)) {
        messages << "contentc: " << error << "\n";
        return 1;
      }
      pictures.emplace_back(arg, std::move(picture));
      ++sources;
      continue;
    }
    std::ifstream in(arg, std::ios::binary);
    if (!in) {
      messages << "contentc: cannot read " << arg << "\n";
      return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (arg.size() > 5 && arg.compare(arg.size() - 5, 5, ".tone") == 0) {
      ToneDescription tone;
      if (!ParseTone(arg, text.str(), tone, error)) {
        messages << error << "\n";
        return 1;
      }
      tones.push_back(tone);
      ++sources;
      continue;
    }
    if (arg.size() > 4 && arg.compare(arg.size() - 4, 4, ".lot") == 0) {
      lots.emplace_back(arg, text.str());
      ++sources;
      continue;
    }
    if (arg.size() > 7 && arg.compare(arg.size() - 7, 7, ".cursor") == 0) {
      CursorDescription cursor;
      if (!ParseCursor(arg, text.str(), cursor, error)) {
        messages << error << "\n";
        return 1;
      }
      cursors.push_back(cursor);
      ++sources;
      continue;
    }
    if (arg.size() > 6 && arg.compare(arg.size() - 6, 6, ".light") == 0) {
      LightSetDescription lights;
      if (!ParseLightSetSource(arg, text.str(), lights, error)) {
        messages << error << "\n";
        return 1;
      }
      lightSets.push_back(lights);
      ++sources;
      continue;
    }
    if (!source.Parse(arg, text.str(), error)) {
      messages << error << "\n";
      return 1;
    }
    ++sources;
  }
  if (root.empty() || sources == 0) {
    messages << "usage: contentc --out DATA_ROOT SOURCE...\n";
    return 2;
  }
  std::string error;
  if (!WriteContent(source.Files(), root, error)) {
    messages << "contentc: " << error << "\n";
    return 1;
  }
  for (const auto& [name, picture] : pictures) {
    if (!WritePicture(name, picture, root, error)) {
      messages << "contentc: " << error << "\n";
      return 1;
    }
  }
  for (const ToneDescription& tone : tones) {
    if (!WriteTone(tone, root, error)) {
      messages << "contentc: " << tone.file << ": " << error << "\n";
      return 1;
    }
  }
  for (const auto& [name, text] : lots) {
    if (!CompileLot(name, text, root, error)) {
      messages << "contentc: " << error << "\n";
      return 1;
    }
  }
  for (const CursorDescription& cursor : cursors) {
    if (!WriteCursor(cursor, root, error)) {
      messages << "contentc: " << cursor.file << ": " << error << "\n";
      return 1;
    }
  }
  for (const LightSetDescription& lights : lightSets) {
    if (!WriteLightSetSource(lights, root, error)) {
      messages << "contentc: " << lights.file << ": " << error << "\n";
      return 1;
    }
  }
  return 0;
}
