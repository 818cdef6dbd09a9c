// The content compiler's whole run: reads every source, then writes the
// data root.
#include "tools/contentc/ContentCompiler.h"

#include <fstream>
#include <sstream>
#include <string_view>
#include <type_traits>
#include <utility>

#include "tools/contentc/CharacterSources.h"
#include "tools/contentc/BankSources.h"
#include "tools/contentc/ContentSource.h"
#include "tools/contentc/CursorSources.h"
#include "tools/contentc/LightSources.h"
#include "tools/contentc/LotSources.h"
#include "tools/contentc/MovieSources.h"
#include "tools/contentc/PictureSources.h"
#include "tools/contentc/SpriteSources.h"
#include "tools/contentc/ScoreSources.h"
#include "tools/contentc/ToneSources.h"

namespace {

// The name ends in `extension` after at least one other character.
bool HasExtension(const std::string& name, std::string_view extension) {
  return name.size() > extension.size() && name.ends_with(extension);
}

}  // namespace

int RunContentCompiler(const std::vector<std::string>& arguments, std::ostream& messages) {
  std::string root;
  ContentSource source;
  std::vector<ToneDescription> tones;
  std::vector<std::pair<std::string, std::string>> lots;  // name, text
  std::vector<std::pair<std::string, Rle8Picture>> pictures;
  std::vector<CursorDescription> cursors;
  std::vector<LightSetDescription> lightSets;
  std::vector<CharacterSource> characters;
  std::vector<PaletteFileOutput> paletteFiles;
  std::vector<BankImage> banks;
  std::vector<MovieDescription> movies;
  std::vector<ScoreDescription> scores;
  int sources = 0;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (arg == "--out" && i + 1 < arguments.size()) {
      root = arguments[++i];
      continue;
    }
    if (HasExtension(arg, ".png")) {
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
    // Tones, cursors and light sets are each read by a parser of one shape.
    const auto parsed = [&](auto parse, auto& into) {
      typename std::remove_reference_t<decltype(into)>::value_type description;
      if (!parse(arg, text.str(), description, error)) return false;
      into.push_back(std::move(description));
      ++sources;
      return true;
    };
    bool ok = true;
    if (HasExtension(arg, ".tone")) {
      ok = parsed(ParseTone, tones);
    } else if (HasExtension(arg, ".lot")) {
      lots.emplace_back(arg, text.str());
      ++sources;
    } else if (HasExtension(arg, ".cursor")) {
      ok = parsed(ParseCursor, cursors);
    } else if (HasExtension(arg, ".light")) {
      ok = parsed(ParseLightSetSource, lightSets);
    } else if (HasExtension(arg, ".chr")) {
      ok = parsed(ParseCharacterSource, characters);
    } else if (HasExtension(arg, ".sprite")) {
      // Sprites join the resource files of the other sources.
      if ((ok = ParseSpriteSource(arg, text.str(), source.Files(), paletteFiles, error))) ++sources;
    } else if (HasExtension(arg, ".bank")) {
      ok = parsed(AssembleBank, banks);
    } else if (HasExtension(arg, ".movie")) {
      ok = parsed(ParseMovieSource, movies);
    } else if (HasExtension(arg, ".score")) {
      ok = parsed(ParseScoreSource, scores);
    } else if ((ok = source.Parse(arg, text.str(), error))) {
      ++sources;
    }
    if (!ok) {
      messages << error << "\n";
      return 1;
    }
  }
  if (root.empty() || sources == 0) {
    messages << "usage: contentc --out DATA_ROOT SOURCE...\n";
    return 2;
  }
  std::string error;
  // Each writer's failure, named by the source it came from where the
  // message does not name it already.
  const auto failed = [&](const std::string& file) {
    messages << "contentc: " << (file.empty() ? "" : file + ": ") << error << "\n";
    return 1;
  };
  if (!WriteContent(source.Files(), root, error)) return failed("");
  if (!WritePaletteFiles(paletteFiles, root, error)) return failed("");
  for (const auto& [name, picture] : pictures)
    if (!WritePicture(name, picture, root, error)) return failed("");
  for (const ToneDescription& tone : tones) {
    if (!WriteTone(tone, root, error)) return failed(tone.file);
    // The sound engine pitches every note from 22050 Hz, whatever the file.
    if (tone.rate != 22050)
      messages << "contentc: warning: " << tone.file << ": " << tone.rate
               << " Hz; the sound engine plays samples as 22050 Hz\n";
  }
  for (const auto& [name, text] : lots)
    if (!CompileLot(name, text, root, error)) return failed("");
  for (const CursorDescription& cursor : cursors)
    if (!WriteCursor(cursor, root, error)) return failed(cursor.file);
  for (const LightSetDescription& lights : lightSets)
    if (!WriteLightSetSource(lights, root, error)) return failed(lights.file);
  for (const CharacterSource& character : characters)
    if (!WriteCharacterSource(character, root, error)) return failed(character.file + ".chr");
  for (const BankImage& bank : banks)
    if (!WriteBank(bank, root, error)) return failed(bank.name);
  for (const MovieDescription& movie : movies)
    if (!WriteMovieSource(movie, root, error)) return failed(movie.file);
  for (const ScoreDescription& score : scores)
    if (!WriteScoreSource(score, root, error)) return failed(score.file);
  return 0;
}
