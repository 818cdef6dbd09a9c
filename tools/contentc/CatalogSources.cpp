#include "tools/contentc/CatalogSources.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <optional>
#include <stdexcept>

#include "gamedata/BehaviorAssembler.h"
#include "gamedata/Careers.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "resfile/ReconObject.h"

namespace {

using tova::ObjectDefinitionRecord;

struct SourceError : std::runtime_error {
  SourceError(int line, const std::string& message) : std::runtime_error(message), line(line) {}
  int line;
};

struct Word {
  std::string text;
  bool quoted = false;
};

// Words of a line: blanks separate them, '#' starts a comment, "..." is one
// word (with \" and \\), and key="..." keeps the quoted part as its value.
std::vector<Word> Words(const std::string& line, int number) {
  std::vector<Word> out;
  size_t i = 0;
  while (i < line.size()) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (std::isspace(c)) {
      ++i;
      continue;
    }
    if (c == '#') break;
    Word w;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])) && line[i] != '#') {
      if (line[i] != '"') {
        w.text += line[i++];
        continue;
      }
      w.quoted = true;
      for (++i;; ++i) {
        if (i >= line.size()) throw SourceError(number, "unterminated quoted text");
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        w.text += line[i];
      }
      ++i;
    }
    out.push_back(std::move(w));
  }
  return out;
}

long long Number(const std::string& text, int line, long long lo, long long hi) {
  // The same number syntax as tree sources: decimal or 0x hex, one sign.
  const std::optional<int64_t> parsed = tova::ParseAssemblyNumber(text);
  if (!parsed) throw SourceError(line, "not a number: '" + text + "'");
  const long long v = *parsed;
  if (v < lo || v > hi) {
    throw SourceError(line, "'" + text + "' lies outside " + std::to_string(lo) + " to " + std::to_string(hi));
  }
  return v;
}

std::vector<int32_t> Numbers(const std::string& list, int line, size_t most) {
  std::vector<int32_t> out;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    out.push_back(static_cast<int32_t>(Number(list.substr(start, comma - start), line, INT32_MIN, INT32_MAX)));
    start = comma + 1;
  }
  if (out.size() > most) throw SourceError(line, "at most " + std::to_string(most) + " numbers");
  return out;
}

struct Block {
  std::vector<std::pair<int, std::vector<Word>>> lines;
};

Block ReadBlock(std::istream& in, int& lineNumber) {
  Block b;
  std::string line;
  int first = lineNumber;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<Word> words = Words(line, lineNumber);
    if (words.empty()) continue;
    if (!words[0].quoted && words[0].text == "end" && words.size() == 1) return b;
    b.lines.emplace_back(lineNumber, std::move(words));
  }
  throw SourceError(first, "missing end");
}

const std::map<std::string, int>& ObjectFields() {
  static const std::map<std::string, int> fields = {
      {"stack", ObjectDefinitionRecord::kStackSize},
      {"firstdrawgroup", ObjectDefinitionRecord::kFirstDrawGroup},
      {"drawgroups", ObjectDefinitionRecord::kDrawGroupCount},
      {"treetable", ObjectDefinitionRecord::kTreeTableId},
      {"pairing", ObjectDefinitionRecord::kPairing},
      {"type", ObjectDefinitionRecord::kObjectType},
      {"master", ObjectDefinitionRecord::kMasterId},
      {"subindex", ObjectDefinitionRecord::kSubIndex},
      {"skip", ObjectDefinitionRecord::kSkipWord},
      {"price", ObjectDefinitionRecord::kPrice},
      {"bodystrings", ObjectDefinitionRecord::kBodyStringsId},
      {"slots", ObjectDefinitionRecord::kSlotId},
      {"catalogmask1", ObjectDefinitionRecord::kCatalogMask1},
      {"catalogmask2", ObjectDefinitionRecord::kCatalogMask2},
      {"catalogstrings", ObjectDefinitionRecord::kCatalogStringsId},
      {"automatic", ObjectDefinitionRecord::kAutomaticInstance},
      {"partkey", ObjectDefinitionRecord::kPartKey},
      {"neighbour", ObjectDefinitionRecord::kNeighbourWord},
      {"wordarray", ObjectDefinitionRecord::kWordArrayLength},
      {"facing", ObjectDefinitionRecord::kFacingOffset},
      {"mainpart", ObjectDefinitionRecord::kMainPart},
      {"footprint", ObjectDefinitionRecord::kFootprintSize},
      {"category", ObjectDefinitionRecord::kCategory},
      {"attributes", ObjectDefinitionRecord::kTypeAttributeCount},
  };
  return fields;
}

std::vector<uint8_t> ObjectBytes(const Block& b) {
  ObjectDefinitionRecord r;
  for (const auto& [line, w] : b.lines) {
    const std::string& key = w[0].text;
    auto need = [&, line = line, &w = w](size_t n) {
      if (w.size() != n) throw SourceError(line, "'" + key + "' takes " + std::to_string(n - 1) + " value(s)");
    };
    if (key == "guid" || key == "shareattributes") {
      need(2);
      auto v = static_cast<uint32_t>(Number(w[1].text, line, 0, 0xFFFFFFFFll));
      r.SetLong(key == "guid" ? ObjectDefinitionRecord::kGuid : ObjectDefinitionRecord::kSharedAttributesGuid, v);
    } else if (key == "entry") {
      need(3);
      int n = static_cast<int>(Number(w[1].text, line, 0, ObjectDefinitionRecord::kFunctionEntries - 1));
      r.SetFunctionEntry(n, static_cast<int16_t>(Number(w[2].text, line, -32768, 65535)));
    } else if (key == "word" || key == "long") {
      need(3);
      int width = key == "word" ? 2 : 4;
      int offset = static_cast<int>(Number(w[1].text, line, 0, ObjectDefinitionRecord::kSize - width));
      if (width == 2) {
        r.SetWord(offset, static_cast<int16_t>(Number(w[2].text, line, -32768, 65535)));
      } else {
        r.SetLong(offset, static_cast<uint32_t>(Number(w[2].text, line, INT32_MIN, 0xFFFFFFFFll)));
      }
    } else if (auto it = ObjectFields().find(key); it != ObjectFields().end()) {
      need(2);
      r.SetWord(it->second, static_cast<int16_t>(Number(w[1].text, line, -32768, 65535)));
    } else {
      throw SourceError(line, "unknown object field '" + key + "'");
    }
  }
  if (r.Guid() == 0) throw SourceError(b.lines.empty() ? 0 : b.lines[0].first, "an object needs a guid");
  return std::vector<uint8_t>(r.Data(), r.Data() + ObjectDefinitionRecord::kSize);
}

void CatalogEntries(const Block& b, ContentResource& r) {
  int language = 1;
  std::map<int, std::pair<std::string, std::string>> texts;
  for (const auto& [line, w] : b.lines) {
    if (w.size() != 2) throw SourceError(line, "expected name \"...\", description \"...\" or language N");
    if (w[0].text == "language") {
      language = static_cast<int>(Number(w[1].text, line, 1, 20));
    } else if (w[0].text == "name") {
      texts[language].first = w[1].text;
    } else if (w[0].text == "description") {
      texts[language].second = w[1].text;
    } else {
      throw SourceError(line, "unknown catalogue line '" + w[0].text + "'");
    }
  }
  for (const auto& [lang, pair] : texts) {
    r.languages[lang] = {ContentEntry{pair.first, ""}, ContentEntry{pair.second, ""}};
  }
}

std::vector<uint8_t> GlobBytes(const Block& b) {
  if (b.lines.size() != 1 || b.lines[0].second.size() != 1 || !b.lines[0].second[0].quoted) {
    throw SourceError(b.lines.empty() ? 0 : b.lines[0].first, "a semi-global block holds one quoted file name");
  }
  const std::string& name = b.lines[0].second[0].text;
  if (name.empty() || name.size() > 255) throw SourceError(b.lines[0].first, "a file name of 1 to 255 characters");
  std::vector<uint8_t> bytes{static_cast<uint8_t>(name.size())};
  bytes.insert(bytes.end(), name.begin(), name.end());
  return bytes;
}

std::vector<uint8_t> CareerBytes(const Block& b) {
  tova::cCareer career;
  for (const auto& [line, w] : b.lines) {
    if (w[0].text == "name" && w.size() == 2) {
      career.name = w[1].text;
      continue;
    }
    if (w[0].text != "level") throw SourceError(line, "expected name \"...\" or level ...");
    tova::CareerLevel level;
    for (size_t i = 1; i < w.size(); ++i) {
      size_t eq = w[i].text.find('=');
      if (eq == std::string::npos) throw SourceError(line, "expected key=value, not '" + w[i].text + "'");
      std::string key = w[i].text.substr(0, eq);
      std::string value = w[i].text.substr(eq + 1);
      if (key == "pay") {
        level.pay = static_cast<int32_t>(Number(value, line, INT32_MIN, INT32_MAX));
      } else if (key == "extra") {
        level.extra = static_cast<int32_t>(Number(value, line, INT32_MIN, INT32_MAX));
      } else if (key == "hours") {
        if (!tova::ParseCareerHours(value, level.startHour, level.endHour)) {
          throw SourceError(line, "hours look like 9a-3p");
        }
      } else if (key == "values" || key == "hourly") {
        std::vector<int32_t> v = Numbers(value, line, key == "values" ? 10 : 7);
        std::copy(v.begin(), v.end(), key == "values" ? level.values : level.hourly);
      } else if (key == "title") {
        level.title = value;
      } else if (key == "text1" || key == "text2" || key == "text3" || key == "text4") {
        std::string* texts[] = {&level.text1, &level.text2, &level.text3, &level.text4};
        *texts[key[4] - '1'] = value;
      } else {
        throw SourceError(line, "unknown level field '" + key + "'");
      }
    }
    career.levels.push_back(level);
  }
  SimpleReconObject<tova::cCareer> record(&career, TypeCode("CARR"));
  MemHandle h = ReconObject::WriteToHandle(record, 0);
  if (!h) throw SourceError(0, "out of memory");
  std::vector<uint8_t> bytes(GetMemHandleData(h), GetMemHandleData(h) + GetMemHandleSize(h));
  DisposeMemHandle(h);
  return bytes;
}

}  // namespace

int ParseCatalogStatement(const std::string& sourcePath, const std::string& firstLine, const std::string& verb,
                          std::istream& in, int& lineNumber, std::vector<ContentFile>& files, std::string& error) {
  if (verb != "object" && verb != "catalog" && verb != "semiglobal" && verb != "career") return 0;
  int start = lineNumber;
  try {
    if (files.empty()) throw SourceError(start, "a resource before any file statement");
    std::vector<Word> head = Words(firstLine, start);
    if (head.size() < 2) throw SourceError(start, verb + " takes a resource id");
    ContentResource r;
    r.where = sourcePath + ":" + std::to_string(start);
    r.id = static_cast<int16_t>(Number(head[1].text, start, -32768, 32767));
    bool legacy = false;
    for (size_t i = 2; i < head.size(); ++i) {
      if (head[i].quoted && r.label.empty()) {
        r.label = head[i].text.substr(0, 63);
      } else if (verb == "catalog" && head[i].text == "legacy") {
        legacy = true;
      } else {
        throw SourceError(start, "unexpected '" + head[i].text + "'");
      }
    }
    Block b = ReadBlock(in, lineNumber);
    if (verb == "object") {
      r.type = TypeCode("OBJD");
      r.bytes = ObjectBytes(b);
    } else if (verb == "catalog") {
      r.type = legacy ? TypeCode("CATS") : TypeCode("CTSS");
      r.isStrings = true;
      CatalogEntries(b, r);
    } else if (verb == "semiglobal") {
      r.type = TypeCode("GLOB");
      r.bytes = GlobBytes(b);
    } else {
      r.type = TypeCode("CARR");
      r.bytes = CareerBytes(b);
    }
    files.back().resources.push_back(std::move(r));
    return 1;
  } catch (const SourceError& e) {
    error = sourcePath + ":" + std::to_string(e.line ? e.line : start) + ": " + e.what();
    return -1;
  }
}
