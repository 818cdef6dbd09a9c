#include "tools/contentc/BehaviorSources.h"

#include <cctype>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

#include "gamedata/BehaviorAssembler.h"
#include "gamedata/BehaviorTree.h"
#include "gamedata/DrawGroup.h"
#include "gamedata/FloatConstants.h"
#include "gamedata/ObjFnTable.h"
#include "gamedata/Motives.h"
#include "gamedata/SlotDescriptor.h"
#include "resfile/MemResFile.h"
#include "resfile/ReconObject.h"
#include "resfile/StringSet.h"
#include "simulation/TreeProperties.h"
#include "simulation/TreeTable.h"
#include "simulation/cTreeConstants.h"

namespace {

using tova::AssemblyError;

// A fault at a line of the block; the caller adds the source's name.
struct BlockError {
  int line;
  std::string message;
};

struct Line {
  int number;
  std::vector<std::string> words;
  std::vector<bool> quoted;
};

void SplitLine(const std::string& text, int number, Line& out) {
  out.number = number;
  size_t i = 0;
  while (i < text.size()) {
    if (std::isspace(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == '#') {
      break;
    } else if (text[i] == '"') {
      std::string word;
      bool closed = false;
      for (++i; i < text.size(); ++i) {
        if (text[i] == '"') {
          closed = true;
          ++i;
          break;
        }
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        word += text[i];
      }
      if (!closed) throw BlockError{number, "unterminated quoted text"};
      out.words.push_back(word);
      out.quoted.push_back(true);
    } else {
      size_t start = i;
      while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) && text[i] != '#') ++i;
      out.words.push_back(text.substr(start, i - start));
      out.quoted.push_back(false);
    }
  }
}

int64_t Integer(const Line& l, const std::string& word, int64_t lo, int64_t hi, const char* what) {
  const std::optional<int64_t> number = tova::ParseAssemblyNumber(word);
  if (!number) throw BlockError{l.number, std::string(what) + " must be a number, not '" + word + "'"};
  const int64_t v = *number;
  if (v < lo || v > hi) {
    throw BlockError{l.number, std::string(what) + " must lie from " + std::to_string(lo) + " to " + std::to_string(hi)};
  }
  return v;
}

float Real(const Line& l, const std::string& word, const char* what) {
  char* end = nullptr;
  const float v = std::strtof(word.c_str(), &end);
  if (word.empty() || *end != '\0') throw BlockError{l.number, std::string(what) + " must be a number, not '" + word + "'"};
  return v;
}

std::vector<std::string> Commas(const std::string& s) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t comma = s.find(',', start);
    parts.push_back(s.substr(start, comma - start));
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

// Applies key=value words from `first` on through the handlers.
using Setter = std::function<void(const std::string& value)>;
void Options(const Line& l, size_t first, const std::map<std::string, Setter>& setters) {
  for (size_t i = first; i < l.words.size(); ++i) {
    const std::string& w = l.words[i];
    const size_t eq = w.find('=');
    auto it = eq == std::string::npos ? setters.end() : setters.find(w.substr(0, eq));
    if (it == setters.end()) throw BlockError{l.number, "unknown setting '" + w + "'"};
    it->second(w.substr(eq + 1));
  }
}

template <size_t N>
void IntegerList(const Line& l, const std::string& value, std::array<int32_t, N>& out, const char* what) {
  std::vector<std::string> parts = Commas(value);
  if (parts.size() != N) throw BlockError{l.number, std::string(what) + " takes " + std::to_string(N) + " numbers"};
  for (size_t k = 0; k < N; ++k) out[k] = static_cast<int32_t>(Integer(l, parts[k], INT32_MIN, INT32_MAX, what));
}

std::vector<uint8_t> Constants(const Line& head, const std::vector<Line>& body, bool tunable) {
  std::vector<int16_t> values;
  for (const Line& l : body) {
    for (const std::string& w : l.words) values.push_back(static_cast<int16_t>(Integer(l, w, -32768, 65535, "a value")));
  }
  if (values.size() > 0x7FFF) throw BlockError{head.number, "a constant table holds at most 32767 values"};
  return tova::MakeConstants(values, tunable);
}

std::vector<uint8_t> Functions(const std::vector<Line>& body) {
  tova::ObjFnTable table;
  for (const Line& l : body) {
    if (l.words.size() > 2) throw BlockError{l.number, "an entry is a tree id and an optional companion id"};
    tova::ObjFnTable::Entry e;
    e.treeId = static_cast<int16_t>(Integer(l, l.words[0], -32768, 32767, "a tree id"));
    if (l.words.size() == 2) e.companionId = static_cast<int16_t>(Integer(l, l.words[1], -32768, 32767, "a companion id"));
    table.Entries().push_back(e);
  }
  return table.ToRecord();
}

std::vector<uint8_t> Slots(const std::vector<Line>& body) {
  std::vector<tova::SlotDescriptor> slots;
  for (const Line& l : body) {
    if (l.words.size() < 4) throw BlockError{l.number, "a slot is a type and x y z"};
    tova::SlotDescriptor s;
    const std::string& type = l.words[0];
    if (type == "object") {
      s.type = tova::kSlotObject;
    } else if (type == "point") {
      s.type = tova::kSlotPoint;
    } else if (type == "routing") {
      s.type = tova::kSlotRouting;
    } else {
      s.type = static_cast<int16_t>(Integer(l, type, -32768, 32767, "a slot type"));
    }
    s.x = Real(l, l.words[1], "x");
    s.y = Real(l, l.words[2], "y");
    s.z = Real(l, l.words[3], "z");
    auto i32 = [&l](int32_t& field, const char* what) {
      return [&l, &field, what](const std::string& v) { field = static_cast<int32_t>(Integer(l, v, INT32_MIN, UINT32_MAX, what)); };
    };
    std::array<int32_t, 2> words{};
    Options(l, 4,
            {{"params", [&](const std::string& v) { IntegerList(l, v, s.params, "params"); }},
             {"distances", [&](const std::string& v) { IntegerList(l, v, s.distances, "distances"); }},
             {"words",
              [&](const std::string& v) {
                IntegerList(l, v, words, "words");
                s.objectWord1 = words[0];
                s.objectWord2 = words[1];
              }},
             {"tolerance", [&](const std::string& v) { s.tolerance = Real(l, v, "tolerance"); }},
             {"flags", i32(s.flags, "flags")},
             {"target", i32(s.target, "target")},
             {"facing", i32(s.facing, "facing")},
             {"last", i32(s.lastWord, "last")},
             {"height", i32(s.heightClass, "height")}});
    slots.push_back(s);
  }
  return tova::MakeSlotRecord(slots);
}

std::vector<uint8_t> DrawGroupBytes(const std::vector<Line>& body) {
  tova::DrawGroup group;
  for (const Line& l : body) {
    if (l.words[0] == "image") {
      tova::DrawGroupImage image;
      Options(l, 1,
              {{"directions",
                [&](const std::string& v) { image.directionMask = static_cast<uint32_t>(Integer(l, v, 0, UINT32_MAX, "directions")); }},
               {"zoom", [&](const std::string& v) { image.zoom = static_cast<int32_t>(Integer(l, v, INT32_MIN, INT32_MAX, "zoom")); }}});
      group.images.push_back(image);
    } else if (l.words[0] == "sprite") {
      if (group.images.empty()) throw BlockError{l.number, "a sprite before any image"};
      if (l.words.size() < 2) throw BlockError{l.number, "a sprite needs its sprite resource id"};
      tova::DrawGroupSprite s;
      s.spriteId = static_cast<int32_t>(Integer(l, l.words[1], INT32_MIN, INT32_MAX, "a sprite id"));
      auto i32 = [&l](int32_t& field, const char* what) {
        return [&l, &field, what](const std::string& v) { field = static_cast<int32_t>(Integer(l, v, INT32_MIN, UINT32_MAX, what)); };
      };
      Options(l, 2,
              {{"frame", i32(s.frame, "frame")},
               {"x", i32(s.x, "x")},
               {"y", i32(s.y, "y")},
               {"flags", i32(s.flags, "flags")},
               {"vertical", [&](const std::string& v) { s.vertical = Real(l, v, "vertical"); }},
               {"plane",
                [&](const std::string& v) {
                  std::vector<std::string> parts = Commas(v);
                  if (parts.size() != 2) throw BlockError{l.number, "plane takes two numbers"};
                  s.planeA = Real(l, parts[0], "plane");
                  s.planeB = Real(l, parts[1], "plane");
                }}});
      group.images.back().sprites.push_back(s);
    } else {
      throw BlockError{l.number, "expected image or sprite"};
    }
  }
  return group.Serialize();
}

std::vector<uint8_t> Floats(const std::vector<Line>& body) {
  tova::FloatConstants table;
  for (const Line& l : body) {
    if (!l.quoted[0] || l.words.size() < 2 || l.words.size() > 3 || (l.words.size() == 3 && !l.quoted[2])) {
      throw BlockError{l.number, "expected \"name\" value [\"comment\"]"};
    }
    if (l.words[0].size() > 63) throw BlockError{l.number, "a name has at most 63 characters"};
    table.Append({Real(l, l.words[1], "a value"), l.words[0], l.words.size() == 3 ? l.words[2] : ""});
  }
  return table.ToRecord();
}

std::vector<uint8_t> RecordBytes(ReconObject& record, int32_t version) {
  MemHandle h = ReconObject::WriteToHandle(record, version);
  if (!h) throw BlockError{0, "out of memory"};
  std::vector<uint8_t> bytes(GetMemHandleData(h), GetMemHandleData(h) + GetMemHandleSize(h));
  DisposeMemHandle(h);
  return bytes;
}

// One interaction a line: its quoted name, then action=ID check=ID flags=N
// attenuation=CODE custom=F number=N (its names-list entry less one; the
// position by default) and motive=K,W0,W1,W2 as often as needed. The names
// list 'TTAs' of the same id comes with it.
void Interactions(int line, const std::vector<Line>& body, ContentResource& table, std::vector<ContentResource>& extra) {
  tova::TreeTable t(tova::kMotiveCount);
  for (const Line& l : body) {
    if (!l.quoted[0]) throw BlockError{l.number, "an interaction starts with its quoted name"};
    tova::TreeTableEntry e = t.NewEntry();
    e.name = l.words[0];
    e.nameIndex = t.GetEntryCount();
    Options(l, 1,
            {{"action", [&](const std::string& v) { e.actionTree = static_cast<int16_t>(Integer(l, v, -32768, 32767, "a tree id")); }},
             {"check", [&](const std::string& v) { e.checkTree = static_cast<int16_t>(Integer(l, v, -32768, 32767, "a tree id")); }},
             {"flags", [&](const std::string& v) { e.flags = static_cast<int32_t>(Integer(l, v, INT32_MIN, INT32_MAX, "flags")); }},
             {"attenuation", [&](const std::string& v) { e.attenuationCode = static_cast<int32_t>(Integer(l, v, 0, 255, "an attenuation code")); }},
             {"custom", [&](const std::string& v) { e.customAttenuation = Real(l, v, "an attenuation"); }},
             {"number", [&](const std::string& v) { e.nameIndex = static_cast<int32_t>(Integer(l, v, 0, 32766, "a number")); }},
             {"motive", [&](const std::string& v) {
                std::array<int32_t, 4> m{};
                IntegerList(l, v, m, "a motive entry");
                if (m[0] < 0 || m[0] >= tova::kMotiveCount) throw BlockError{l.number, "no such motive entry"};
                e.motives[static_cast<size_t>(m[0])] = tova::MotiveEntry{static_cast<int16_t>(m[1]), static_cast<int16_t>(m[2]),
                                                                        static_cast<int16_t>(m[3])};
              }}});
    t.Data().entries.push_back(std::move(e));
  }
  // Written through the table's own writer, names list and all.
  if (table.id < 1) throw BlockError{line, "an interactions id must be positive"};
  MemResFile scratch;
  const ResId id = table.id;
  if (t.Save(&scratch, id, table.label) != 0 || !scratch.GetStored(tova::kTypeTTAB, id, table.bytes)) {
    throw BlockError{line, "the table could not be written"};
  }
  StringSet names;
  names.SetSource(&scratch, id, tova::kTypeTTAs, false, 0);
  names.Load(false, true);
  ContentResource list;
  list.type = tova::kTypeTTAs;
  list.id = table.id;
  list.label = table.label;
  list.isStrings = true;
  list.where = table.where;
  for (int n = 1; n <= names.GetCount(); ++n) list.languages[1].push_back({names.GetString(n), ""});
  extra.push_back(std::move(list));
}

// One element of the constant table a line: its quoted label, an optional
// quoted comment, then an optional range "min max".
std::vector<uint8_t> TreeConstantBytes(const std::vector<Line>& body) {
  tova::cTreeConstants c;
  for (const Line& l : body) {
    if (!l.quoted[0]) throw BlockError{l.number, "a constant starts with its quoted label"};
    tova::cTreeConstants::Entry e;
    e.label = l.words[0];
    size_t next = 1;
    if (next < l.words.size() && l.quoted[next]) e.comment = l.words[next++];
    if (next + 2 == l.words.size()) {
      e.ranged = true;
      e.minimum = static_cast<int16_t>(Integer(l, l.words[next], -32768, 32767, "a minimum"));
      e.maximum = static_cast<int16_t>(Integer(l, l.words[next + 1], -32768, 32767, "a maximum"));
    } else if (next != l.words.size()) {
      throw BlockError{l.number, "a range takes a minimum and a maximum"};
    }
    c.Entries().push_back(std::move(e));
  }
  SimpleReconObject<tova::cTreeConstants> record(&c, tova::kTypeTRCN);
  return RecordBytes(record, tova::cTreeConstants::kCurrentVersion);
}

// "param" or "local" and a quoted name, one a line, in order.
std::vector<uint8_t> TreePropertyBytes(const std::vector<Line>& body) {
  std::vector<std::string> parameters, locals;
  for (const Line& l : body) {
    if (l.words.size() != 2 || l.quoted[0] || !l.quoted[1] || (l.words[0] != "param" && l.words[0] != "local")) {
      throw BlockError{l.number, "expected param \"name\" or local \"name\""};
    }
    (l.words[0] == "param" ? parameters : locals).push_back(l.words[1]);
  }
  tova::TreeProperties p(nullptr, 0);
  p.SetNames(std::move(parameters), std::move(locals));
  SimpleReconObject<tova::TreeProperties> record(&p, tova::kTypeTPRP);
  return RecordBytes(record, tova::TreeProperties::kCurrentVersion);
}

const std::map<std::string, ResType>& BlockTypes() {
  static const std::map<std::string, ResType> types = {
      {"tree", tova::kTypeBHAV},      {"constants", tova::kTypeBCON}, {"functions", tova::kTypeOBJf},
      {"slots", tova::kTypeSLOT},     {"drawgroup", tova::kTypeDGRP}, {"floats", tova::kTypeFCNS},
      {"interactions", tova::kTypeTTAB}, {"treeconstants", tova::kTypeTRCN}, {"treeprops", tova::kTypeTPRP},
  };
  return types;
}

}  // namespace

int ParseBehaviorStatement(const std::string& sourcePath, const std::string& firstLine, const std::string& verb,
                           std::istream& in, int& lineNumber, std::vector<ContentFile>& files, std::string& error) {
  auto kind = BlockTypes().find(verb);
  if (kind == BlockTypes().end()) return 0;
  const int first = lineNumber;
  auto fail = [&](int line, const std::string& message) {
    error = sourcePath + ":" + std::to_string(line) + ": " + message;
    return -1;
  };
  if (files.empty()) return fail(first, "a resource before any file statement");
  // The block's text, with its lines at their places in the source so that
  // the assembler's line numbers are the source's.
  std::string text(static_cast<size_t>(first - 1), '\n');
  text += firstLine + "\n";
  std::vector<Line> body;
  Line head;
  std::string raw;
  try {
    SplitLine(firstLine, first, head);
    while (true) {
      if (!std::getline(in, raw)) return fail(lineNumber + 1, "missing end");
      ++lineNumber;
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      text += raw + "\n";
      Line l;
      SplitLine(raw, lineNumber, l);
      if (l.words.empty()) continue;
      if (l.words[0] == "end" && !l.quoted[0]) break;
      body.push_back(std::move(l));
    }
    ContentResource r;
    r.type = kind->second;
    r.where = sourcePath + ":" + std::to_string(first);
    if (head.words.size() < 2) throw BlockError{first, verb + " needs an id"};
    r.id = static_cast<int16_t>(Integer(head, head.words[1], -32768, 32767, "an id"));
    size_t next = 2;
    if (next < head.words.size() && head.quoted[next]) r.label = head.words[next++];
    if (r.label.size() > 63) throw BlockError{first, "a label has at most 63 characters"};
    const bool tunable = verb == "constants" && next < head.words.size() && !head.quoted[next] &&
                         head.words[next] == "tunable";
    if (tunable) ++next;
    if (next < head.words.size()) throw BlockError{first, "'" + head.words[next] + "' is not expected here"};
    if (verb == "tree") {
      std::vector<tova::AssembledTree> trees = tova::AssembleTrees(text);
      r.bytes = std::move(trees.at(0).bytes);
    } else {
      if (verb == "constants") r.bytes = Constants(head, body, tunable);
      if (verb == "functions") r.bytes = Functions(body);
      if (verb == "slots") r.bytes = Slots(body);
      if (verb == "drawgroup") r.bytes = DrawGroupBytes(body);
      if (verb == "floats") r.bytes = Floats(body);
      if (verb == "treeconstants") r.bytes = TreeConstantBytes(body);
      if (verb == "treeprops") r.bytes = TreePropertyBytes(body);
    }
    std::vector<ContentResource> extra;
    if (verb == "interactions") Interactions(first, body, r, extra);
    files.back().resources.push_back(std::move(r));
    for (ContentResource& e : extra) files.back().resources.push_back(std::move(e));
    return 1;
  } catch (const BlockError& e) {
    return fail(e.line, e.message);
  } catch (const AssemblyError& e) {
    // "line N: message" with N already counted in the source.
    std::string message = e.what();
    const size_t colon = message.find(": ");
    if (message.rfind("line ", 0) == 0 && colon != std::string::npos) {
      error = sourcePath + ":" + message.substr(5, colon - 5) + message.substr(colon);
    } else {
      error = sourcePath + ":" + std::to_string(first) + ": " + message;
    }
    return -1;
  }
}
