// contentc --out DATA_ROOT SOURCE...: compiles content sources into the
// resource files of a data root.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tools/contentc/ContentSource.h"
#include "tools/contentc/CursorSources.h"
#include "tools/contentc/LightSources.h"
#include "tools/contentc/LotSources.h"
#include "tools/contentc/PictureSources.h"
#include "tools/contentc/ToneSources.h"

int main(int argc, char** argv) {
  std::string root;
  ContentSource source;
  std::vector<ToneDescription> tones;
  std::vector<std::pair<std::string, std::string>> lots;  // name, text
  std::vector<std::pair<std::string, Rle8Picture>> pictures;
  std::vector<CursorDescription> cursors;
  std::vector<LightSetDescription> lightSets;
  int sources = 0;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      root = argv[++i];
      continue;
    }
    if (arg.size() > 4 && arg.compare(arg.size() - 4, 4, ".png") == 0) {
      Rle8Picture picture;
      std::string error;
      if (!ReadPictureSource(arg, picture, error)) {
        std::fprintf(stderr, "contentc: %s\n", error.c_str());
        return 1;
      }
      pictures.emplace_back(arg, std::move(picture));
      ++sources;
      continue;
    }
    std::ifstream in(arg, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "contentc: cannot read %s\n", arg.c_str());
      return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (arg.size() > 5 && arg.compare(arg.size() - 5, 5, ".tone") == 0) {
      ToneDescription tone;
      if (!ParseTone(arg, text.str(), tone, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
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
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
      }
      cursors.push_back(cursor);
      ++sources;
      continue;
    }
    if (arg.size() > 6 && arg.compare(arg.size() - 6, 6, ".light") == 0) {
      LightSetDescription lights;
      if (!ParseLightSetSource(arg, text.str(), lights, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
      }
      lightSets.push_back(lights);
      ++sources;
      continue;
    }
    if (!source.Parse(arg, text.str(), error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    ++sources;
  }
  if (root.empty() || sources == 0) {
    std::fprintf(stderr, "usage: contentc --out DATA_ROOT SOURCE...\n");
    return 2;
  }
  std::string error;
  if (!WriteContent(source.Files(), root, error)) {
    std::fprintf(stderr, "contentc: %s\n", error.c_str());
    return 1;
  }
  for (const auto& [name, picture] : pictures) {
    if (!WritePicture(name, picture, root, error)) {
      std::fprintf(stderr, "contentc: %s\n", error.c_str());
      return 1;
    }
  }
  for (const ToneDescription& tone : tones) {
    if (!WriteTone(tone, root, error)) {
      std::fprintf(stderr, "contentc: %s: %s\n", tone.file.c_str(), error.c_str());
      return 1;
    }
  }
  for (const auto& [name, text] : lots) {
    if (!CompileLot(name, text, root, error)) {
      std::fprintf(stderr, "contentc: %s\n", error.c_str());
      return 1;
    }
  }
  for (const CursorDescription& cursor : cursors) {
    if (!WriteCursor(cursor, root, error)) {
      std::fprintf(stderr, "contentc: %s: %s\n", cursor.file.c_str(), error.c_str());
      return 1;
    }
  }
  for (const LightSetDescription& lights : lightSets) {
    if (!WriteLightSetSource(lights, root, error)) {
      std::fprintf(stderr, "contentc: %s: %s\n", lights.file.c_str(), error.c_str());
      return 1;
    }
  }
  return 0;
}
