#include "vekpatch/Common/LanguageResources.h"

#include <cstdio>
#include <mutex>

#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/Registry.h"
#include "vekpatch/Common/InstallOps.h"

namespace vek {

namespace {

struct LoadedLanguage {
  std::mutex mutex;
  int users = 0;
  std::map<int, std::string> strings;
  std::string id;
  std::string path;
};

LoadedLanguage& Language() {
  static LoadedLanguage language;
  return language;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  platform::File f;
  if (!f.Open(path, platform::File::kRead, platform::File::Disposition::kOpenExisting)) return false;
  out.clear();
  return f.ReadToEnd(out);
}

// Loads one candidate file into the shared state; caller holds the mutex.
bool LoadCandidate(LoadedLanguage& lang, const std::string& path) {
  std::string bytes;
  if (!platform::FileExists(path) || !ReadWholeFile(path, bytes)) return false;
  std::map<int, std::string> strings;
  std::string error;
  if (!ParseLanguageFile(bytes, strings, error)) {
    std::fprintf(stderr, "VekPatch: language file %s not used: %s\n", path.c_str(), error.c_str());
    return false;
  }
  lang.strings = std::move(strings);
  lang.path = path;
  const std::string name(platform::LastPartOf(path));
  lang.id = name.size() >= 8 ? name.substr(4, name.size() - 8) : name;
  lang.users = 1;
  return true;
}

std::string HexId(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%.*x", digits, value);
  return text;
}

}  // namespace

bool ParseLanguageFile(std::string_view bytes, std::map<int, std::string>& strings, std::string& error) {
  strings.clear();
  size_t pos = 0;
  int lineNumber = 0;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(lineNumber) + ": " + why;
    strings.clear();
    return false;
  };
  while (pos < bytes.size()) {
    ++lineNumber;
    size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return fail("no tab between id and text");
    const std::string_view idText = line.substr(0, tab);
    if (idText.empty() || idText.size() > 5) return fail("the id is not a number of 1 to 5 digits");
    int id = 0;
    for (char c : idText) {
      if (c < '0' || c > '9') return fail("the id is not a number of 1 to 5 digits");
      id = id * 10 + (c - '0');
    }
    if (strings.count(id)) return fail("id " + std::to_string(id) + " given twice");
    std::string text;
    const std::string_view raw = line.substr(tab + 1);
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '\\') {
        text += raw[i];
        continue;
      }
      if (i + 1 == raw.size()) return fail("a '\\' ends the line");
      const char e = raw[++i];
      if (e == '\\') text += '\\';
      else if (e == 't') text += '\t';
      else if (e == 'n') text += '\n';
      else return fail(std::string("unknown escape \\") + e);
    }
    strings.emplace(id, std::move(text));
  }
  for (int id = kFirstLanguageString; id <= kLastLanguageString; ++id) {
    const auto it = strings.find(id);
    if (it == strings.end() || it->second.empty()) {
      lineNumber = 0;
      error = "string " + std::to_string(id) + " is missing or empty";
      strings.clear();
      return false;
    }
  }
  return true;
}

bool LoadLanguageResources(const char* path) {
  LoadedLanguage& lang = Language();
  std::lock_guard<std::mutex> lock(lang.mutex);
  if (lang.users > 0) {
    ++lang.users;
    return true;
  }
  if (path != nullptr) return LoadCandidate(lang, path);

  platform::RegKey key;
  if (platform::Registry::Default().OpenKey(platform::RegRoot::kLocalMachine, kVekPatchKey,
                                            platform::RegAccess::kAll, key) != platform::kRegSuccess) {
    return false;
  }
  uint32_t language = 1033;
  const platform::RegStatus rc = key.QueryDword("Language", language);
  if (rc == platform::kRegNotFound) language = 1033;
  else if (rc != platform::kRegSuccess) return false;

  std::string folderA;
  if (key.QueryString("InstallPath", folderA, 260) != platform::kRegSuccess || folderA.empty()) return false;
  if (folderA.back() != '/') folderA += '/';
  // The download folder, found by looking (never by changing folder: the host's
  // other threads share the working folder).
  std::string folderB;
  for (int n = -1; n <= 10 && folderB.empty(); ++n) {
    const std::string candidate = folderA + "PATCH" + (n < 0 ? std::string() : std::to_string(n)) + "/";
    if (platform::DirectoryExists(candidate)) folderB = candidate;
  }

  const std::string exact = "vekp" + HexId(language, 4) + ".txt";
  const std::string pattern = "vekp??" + HexId(language & 0xff, 2) + ".txt";
  auto tryIn = [&](const std::string& folder, const std::string& name) {
    return !folder.empty() && LoadCandidate(lang, folder + name);
  };
  auto tryPattern = [&](const std::string& folder) {
    if (folder.empty()) return false;
    for (const platform::DirectoryEntry& e : platform::ListDirectory(folder, pattern)) {
      if (!e.isDirectory && LoadCandidate(lang, folder + e.name)) return true;
    }
    return false;
  };
  return tryIn(folderA, exact) || tryIn(folderB, exact) || tryPattern(folderA) || tryPattern(folderB) ||
         tryIn(folderA, "vekp0409.txt") || tryIn(folderB, "vekp0409.txt");
}

std::string LoadLanguageString(int id) {
  LoadedLanguage& lang = Language();
  std::lock_guard<std::mutex> lock(lang.mutex);
  const auto it = lang.strings.find(id);
  return it == lang.strings.end() ? std::string() : it->second;
}

void FreeLanguageResources() {
  LoadedLanguage& lang = Language();
  std::lock_guard<std::mutex> lock(lang.mutex);
  if (lang.users == 0) return;
  if (--lang.users == 0) {
    lang.strings.clear();
    lang.id.clear();
    lang.path.clear();
  }
}

std::string LoadedLanguageId() {
  LoadedLanguage& lang = Language();
  std::lock_guard<std::mutex> lock(lang.mutex);
  return lang.id;
}

std::string LoadedLanguagePath() {
  LoadedLanguage& lang = Language();
  std::lock_guard<std::mutex> lock(lang.mutex);
  return lang.path;
}

std::string ReplaceToken(std::string_view text, const std::vector<std::string>& texts,
                         const std::vector<int64_t>& numbers) {
  std::string out;
  out.reserve(text.size() + 32);
  size_t nextText = 0, nextNumber = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      const char kind = text[i + 1];
      if (kind == 's' && nextText < texts.size()) {
        out += texts[nextText++];
        ++i;
        continue;
      }
      if (kind == 'd' && nextNumber < numbers.size()) {
        out += std::to_string(numbers[nextNumber++]);
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string LanguageMessage(int id, const std::vector<std::string>& texts, const std::vector<int64_t>& numbers) {
  return ReplaceToken(LoadLanguageString(id), texts, numbers);
}

}  // namespace vek
