#include "framework/cRZIniFile.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/TextFile.h"

namespace {

// The value of a key that a read cannot tell from a missing one.
const char kNotFound[] = "NOT FOUND";

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

struct Line {
  enum Kind { kOther, kSection, kKey } kind = kOther;
  std::string name;   // section or key name, trimmed
  std::string value;  // trimmed, one pair of enclosing quotes removed
  std::string text;   // the line as read
};

Line ParseLine(const std::string& text) {
  Line line;
  line.text = text;
  const std::string t = Trimmed(text);
  if (!t.empty() && t[0] == '[') {
    const size_t close = t.find(']');
    line.kind = Line::kSection;
    line.name = Trimmed(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return line;
  }
  if (t.empty() || t[0] == ';') return line;
  const size_t eq = t.find('=');
  if (eq == std::string::npos) return line;
  line.kind = Line::kKey;
  line.name = Trimmed(t.substr(0, eq));
  line.value = Trimmed(t.substr(eq + 1));
  const std::string& v = line.value;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    line.value = v.substr(1, v.size() - 2);
  }
  if (line.name.empty()) line.kind = Line::kOther;
  return line;
}

std::vector<Line> Load(const std::string& path) {
  std::vector<Line> lines;
  const std::optional<std::string> text = platform::ReadTextFile(path);
  if (!text) return lines;
  size_t start = 0;
  while (start < text->size()) {
    size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    lines.push_back(ParseLine(text->substr(start, end - start)));
    start = end + 1;
  }
  return lines;
}

// The index of the first header of the section; lines.size() when absent.
size_t FindSection(const std::vector<Line>& lines, const std::string& section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == Line::kSection && platform::EqualsNoCase(lines[i].name, section)) return i;
  }
  return lines.size();
}

// The end of the section that starts at header index `at`.
size_t SectionEnd(const std::vector<Line>& lines, size_t at) {
  size_t i = at + 1;
  while (i < lines.size() && lines[i].kind != Line::kSection) ++i;
  return i;
}

// The index of the section's first key line of that name; `end` when none.
size_t FindKey(const std::vector<Line>& lines, size_t at, size_t end, const std::string& key) {
  for (size_t i = at + 1; i < end; ++i) {
    if (lines[i].kind == Line::kKey && platform::EqualsNoCase(lines[i].name, key)) return i;
  }
  return end;
}

bool Lookup(const std::vector<Line>& lines, const std::string& section, const std::string& key, std::string& value) {
  const size_t at = FindSection(lines, section);
  if (at == lines.size()) return false;
  const size_t end = SectionEnd(lines, at);
  const size_t found = FindKey(lines, at, end, key);
  if (found == end) return false;
  value = lines[found].value;
  return true;
}

// Calls back for each key of the section with the value a lookup gives it (a
// repeated key gives its first value); false when the section has no keys.
template <typename Visit>
bool VisitKeys(const std::vector<Line>& lines, const std::string& section, Visit visit) {
  const size_t at = FindSection(lines, section);
  if (at == lines.size()) return false;
  const size_t end = SectionEnd(lines, at);
  bool any = false;
  for (size_t i = at + 1; i < end; ++i) {
    if (lines[i].kind != Line::kKey) continue;
    any = true;
    const std::string& value = lines[FindKey(lines, at, end, lines[i].name)].value;
    if (value != kNotFound) visit(lines[i].name, value);
  }
  return any;
}

}  // namespace

bool cRZIniFile::WriteString(const cRZString& section, const cRZString& key, const cRZString& value) {
  const std::string s = Trimmed(section);
  const std::string k = Trimmed(key);
  if (s.empty() || k.empty()) return false;
  std::vector<Line> lines = Load(mPath);
  const std::string newLine = k + "=" + value;
  size_t at = FindSection(lines, s);
  if (at == lines.size()) {
    if (value.empty()) return true;  // deleting from a missing section: nothing to do
    if (!lines.empty() && !Trimmed(lines.back().text).empty()) lines.push_back(ParseLine(""));
    lines.push_back(ParseLine("[" + s + "]"));
    lines.push_back(ParseLine(newLine));
  } else {
    const size_t end = SectionEnd(lines, at);
    const size_t found = FindKey(lines, at, end, k);
    if (found != end) {
      if (value.empty()) {
        lines.erase(lines.begin() + static_cast<ptrdiff_t>(found));
      } else {
        lines[found] = ParseLine(newLine);
      }
    } else if (!value.empty()) {
      // After the section's last non-blank line.
      size_t insert = end;
      while (insert > at + 1 && Trimmed(lines[insert - 1].text).empty()) --insert;
      lines.insert(lines.begin() + static_cast<ptrdiff_t>(insert), ParseLine(newLine));
    } else {
      return true;
    }
  }
  std::string text;
  for (const Line& line : lines) text += line.text + "\n";
  const std::string crlf = platform::ToTextMode(text, platform::LineEnd::kCrLf);
  return platform::SaveFileAtomically(platform::ResolvePath(mPath), crlf);
}

bool cRZIniFile::ReadString(const cRZString& section, const cRZString& key, cRZString& value) const {
  std::string found;
  if (!Lookup(Load(mPath), Trimmed(section), Trimmed(key), found) || found == kNotFound) {
    value = "";
    return false;
  }
  value = found;
  return true;
}

bool cRZIniFile::ForEachKey(const cRZString& section, const KeyCallback& callback, void* user) const {
  return VisitKeys(Load(mPath), Trimmed(section), [&](const std::string& key, const std::string& value) {
    if (callback) callback(cRZString(key), cRZString(value), user);
  });
}

bool cRZIniFile::ForEachSection(const SectionCallback& callback, void* user) const {
  // One read of the file serves every section.
  const std::vector<Line> lines = Load(mPath);
  bool any = false;
  for (const Line& line : lines) {
    if (line.kind != Line::kSection) continue;
    any = true;
    const cRZString section(line.name);
    const bool hadKeys = VisitKeys(lines, line.name, [&](const std::string& key, const std::string& value) {
      if (callback) callback(section, cRZString(key), cRZString(value), user);
    });
    if (!hadKeys && callback) callback(section, cRZString(), cRZString(), user);
  }
  return any;
}
