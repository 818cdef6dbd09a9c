#include "tools/contentc/ContentSource.h"
#include "tools/contentc/BehaviorSources.h"
#include "tools/contentc/CatalogSources.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <utility>

#include "framework/CTGFileManager.h"
#include "framework/LanguageTables.h"
#include "gamedata/BehaviorAssembler.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "resfile/IFFResFile2.h"
#include "resfile/StringSet.h"

namespace {

// Splits a line into words; quoted words keep their spaces.
bool Tokenize(const std::string& line, std::vector<std::string>& out, std::vector<bool>& quoted,
              std::string& error) {
  size_t i = 0;
  while (i < line.size()) {
    if (std::isspace(static_cast<unsigned char>(line[i]))) {
      ++i;
      continue;
    }
    if (line[i] == '"' || line[i] == '\'') {
      char q = line[i++];
      std::string word;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == q) {
          closed = true;
          break;
        }
        if (c == '\\' && q == '"' && i < line.size()) {
          char e = line[i++];
          c = e == 'n' ? '\n' : e == 't' ? '\t' : e;
        }
        word += c;
      }
      if (!closed) {
        error = "unterminated quoted text";
        return false;
      }
      out.push_back(word);
      quoted.push_back(true);
      continue;
    }
    size_t start = i;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    out.push_back(line.substr(start, i - start));
    quoted.push_back(false);
  }
  return true;
}

// The number syntax of every statement: decimal (a leading zero is still
// decimal) or 0x hex, one sign.
bool ParseId(const std::string& word, int16_t& id) {
  const std::optional<int64_t> v = tova::ParseAssemblyNumber(word);
  if (!v || *v < -32768 || *v > 32767) return false;
  id = static_cast<int16_t>(*v);
  return true;
}

bool ParseType(const std::string& word, ResType& type) {
  if (word.size() != 4) return false;
  type = 0;
  for (char c : word) type = (type << 8) | static_cast<unsigned char>(c);
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

bool ContentSource::Parse(const std::string& sourcePath, const std::string& text, std::string& error) {
  std::istringstream in(text);
  std::string line;
  int number = 0;
  ContentResource* open = nullptr;
  int language = 1;
  auto fail = [&](const std::string& message) {
    error = sourcePath + ":" + std::to_string(number) + ": " + message;
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::vector<std::string> words;
    std::vector<bool> quoted;
    std::string tokenError;
    if (!Tokenize(line, words, quoted, tokenError)) return fail(tokenError);
    // Other white space (form feeds, vertical tabs) can leave no words at all.
    if (words.empty()) continue;
    const std::string& verb = words[0];
    if (open && !quoted[0] && verb == "end") {
      open = nullptr;
      continue;
    }
    if (open && !open->isStrings) {
      for (const std::string& w : words) {
        if (w.size() % 2 != 0) return fail("hex bytes come in pairs of digits: " + w);
        for (size_t i = 0; i < w.size(); i += 2) {
          int hi = HexValue(w[i]), lo = HexValue(w[i + 1]);
          if (hi < 0 || lo < 0) return fail("not a hex byte: " + w.substr(i, 2));
          open->bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
        }
      }
      continue;
    }
    if (open) {
      if (!quoted[0] && verb == "language") {
        int16_t id = 0;
        if (words.size() != 2 || !ParseId(words[1], id) || id < 1 || id > 20)
          return fail("language takes an id from 1 to 20");
        language = id;
        continue;
      }
      if (!quoted[0] || words.size() > 2 || (words.size() == 2 && !quoted[1]))
        return fail("expected \"text\" [\"comment\"], language N or end");
      open->languages[language].push_back(ContentEntry{words[0], words.size() == 2 ? words[1] : ""});
      continue;
    }
    if (verb == "file") {
      if (words.size() != 2) return fail("file takes one path");
      mFiles.push_back(ContentFile{words[1], {}});
      continue;
    }
    if (int handled = ParseBehaviorStatement(sourcePath, line, verb, in, number, mFiles, error)) {
      if (handled < 0) return false;
      continue;
    }
    if (int handled = ParseCatalogStatement(sourcePath, line, verb, in, number, mFiles, error)) {
      if (handled < 0) return false;
      continue;
    }
    if (verb != "raw" && verb != "strings") return fail("unknown statement: " + verb);
    if (mFiles.empty()) return fail("a resource before any file statement");
    ContentResource r;
    r.where = sourcePath + ":" + std::to_string(number);
    size_t next = 1;
    if (verb == "raw") {
      if (words.size() < 2 || !ParseType(words[1], r.type)) return fail("raw takes a four-character type");
      next = 2;
    } else {
      r.type = TypeCode("STR#");
      r.isStrings = true;
      language = 1;
    }
    if (words.size() <= next || !ParseId(words[next], r.id)) return fail("expected a resource id");
    if (words.size() > next + 2) return fail("too many words");
    if (words.size() == next + 2) {
      if (!quoted[next + 1]) return fail("the label must be quoted");
      r.label = words[next + 1];
      if (r.label.size() > 63) return fail("a label has at most 63 characters");
    }
    mFiles.back().resources.push_back(std::move(r));
    open = &mFiles.back().resources.back();
  }
  if (open) {
    ++number;
    return fail("missing end");
  }
  return true;
}

namespace {

// Removes the temporary file of a write that did not finish, whatever ended it.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::filesystem::path path) : mPath(std::move(path)) {}
  ~TemporaryFile() {
    if (mKeep) return;
    mFile.Close();
    std::error_code ec;
    std::filesystem::remove(mPath, ec);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  IFFResFile2& File() { return mFile; }
  const std::filesystem::path& Path() const { return mPath; }
  void Keep() { mKeep = true; }

 private:
  std::filesystem::path mPath;
  IFFResFile2 mFile;
  bool mKeep = false;
};

bool WriteFile(const ContentFile& file, const std::filesystem::path& target, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(target.parent_path(), ec);
  std::filesystem::path tempPath = target;
  tempPath += ".tmp";
  std::filesystem::remove(tempPath, ec);  // a stale one from an earlier failure
  TemporaryFile temp(tempPath);
  IFFResFile2& out = temp.File();
  int status = out.Create(tempPath.string());
  if (status == 0) status = out.Open(tempPath.string());
  std::set<std::pair<ResType, int16_t>> seen;
  for (const ContentResource& r : file.resources) {
    if (status != 0) break;
    if (!seen.insert({r.type, r.id}).second) {
      error = r.where + ": '" + TypeCodeText(r.type) + "' " + std::to_string(r.id) + " is defined twice";
      return false;
    }
    if (!r.isStrings) {
      MemHandle h = NewMemHandle(static_cast<int32_t>(r.bytes.size()));
      if (!h) return error = "out of memory", false;
      for (size_t i = 0; i < r.bytes.size(); ++i) GetMemHandleData(h)[i] = r.bytes[i];
      status = out.AddResource(h, r.type, r.id, r.label, true);
      if (status != 0) DisposeMemHandle(h);
      continue;
    }
    for (const auto& [language, entries] : r.languages) {
      const platform::CodePage& page = platform::CodePage::Get(LanguageTables::CodePage(static_cast<uint32_t>(language)));
      StringSet set;
      set.SetSource(&out, r.id, r.type, false, language - 1);
      set.SetName(r.label);
      int n = 0;
      for (const ContentEntry& e : entries) {
        bool exact = true, exactComment = true;
        std::string text = page.FromUtf8(e.text, &exact);
        std::string comment = page.FromUtf8(e.comment, &exactComment);
        if (!exact || !exactComment) {
          error = r.where + ": \"" + e.text + "\" has no exact form in code page " + std::to_string(page.Number());
          return false;
        }
        set.SetString(++n, text.c_str());
        set.SetComment(n, comment.c_str());
      }
      status = set.Save();
      if (status != 0) break;
    }
  }
  int closed = out.Close();
  if (status == 0) status = closed;
  if (status != 0) {
    error = file.path + ": writing failed with status " + std::to_string(status);
    return false;
  }
  std::filesystem::rename(tempPath, target, ec);
  if (ec) {
    error = file.path + ": " + ec.message();
    return false;
  }
  temp.Keep();
  return true;
}

// An output name as the data layer sees it: '\' and '/' both separate
// folders, letter case does not count.
std::string OutputKey(const std::string& path) {
  std::string key = platform::ToLowerAscii(path);
  std::replace(key.begin(), key.end(), '\\', '/');
  return key;
}

// Output names stay inside the data root: relative, with no ".." part, and
// naming a file.
bool StaysInsideRoot(const std::string& path) {
  return !path.empty() && path.back() != '/' && path.back() != '\\' && StaysInsideFolder(path);
}

}  // namespace

bool WriteContent(std::vector<ContentFile>& files, const std::string& root, std::string& error) {
  // Statements for one file may come from several sources.
  std::vector<ContentFile> merged;
  for (ContentFile& f : files) {
    auto it = std::find_if(merged.begin(), merged.end(), [&f](const ContentFile& m) { return m.path == f.path; });
    if (it == merged.end()) {
      merged.push_back(std::move(f));
    } else {
      for (ContentResource& r : f.resources) it->resources.push_back(std::move(r));
    }
  }
  // Every name is checked before anything is written.
  std::map<std::string, const ContentFile*> byKey;
  for (const ContentFile& f : merged) {
    if (!StaysInsideRoot(f.path)) {
      error = f.path + ": an output file must lie inside the data root (a relative path without '..')";
      return false;
    }
    const auto [it, added] = byKey.emplace(OutputKey(f.path), &f);
    if (!added) {
      error = f.path + ": the same file as " + it->second->path + " once letter case is ignored";
      return false;
    }
  }
  for (const ContentFile& f : merged) {
    std::string relative = f.path;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    // An existing file is replaced under its own spelling.
    const std::string target = platform::ResolvePath((std::filesystem::path(root) / relative).string());
    if (!WriteFile(f, target, error)) return false;
  }
  return true;
}
