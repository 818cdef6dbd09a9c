#include "gamedata/BehaviorAssembler.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <map>
#include <set>

#include "gamedata/BehaviorTree.h"
#include "resfile/iResFile.h"

namespace tova {
namespace {

constexpr std::string_view kPrimitiveNames[] = {
    "Sleep", "GlobalCall", "Expression", "", "Grab", "Drop", "", "Refresh", "RandomNumber",
    "PlaceFixedObject", "Tutorial", "GetDistanceTo", "GetDirectionTo", "PushInteraction",
    "FindBestObjectForFunction", "Breakpoint", "FindLocation", "", "RemoveObject", "MakeNewCharacter",
    "RunFunctionalTree", "ShowString", "", "PlaySound", "Relationship", "AlterBudget", "StackRelationship", "",
    "CallNamedTree", "", "", "SetToNext", "TestObjectType", "FindLowestMotives", "HighlightUI",
    "ShowStackObject", "Dialog", "", "", "", "", "SetBalloon", "CreateObjectInstance", "MoveSlotContents", "", "",
    "Snap", "", "StopSounds", "WakeStackObject", "AddMenuInteraction",
};

struct PendingNode {
  int line;
  uint16_t opcode;
  int16_t operands[4];
  std::string targets[2];
};

struct PendingTree {
  int line = 0;
  AssembledTree tree;
  int16_t format = static_cast<int16_t>(kCurrentTreeFormat);
  uint8_t type = 0, params = 4, locals = 0, reserved = 0;
  int32_t version = 0;
  std::vector<PendingNode> nodes;
  std::map<std::string, int> labels;
};

[[noreturn]] void Fail(int line, const std::string& message) {
  throw AssemblyError("line " + std::to_string(line) + ": " + message);
}

std::vector<std::string> SplitWords(std::string_view s) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) words.emplace_back(s.substr(start, i - start));
  }
  return words;
}

int64_t NumberIn(int line, std::string_view word, int64_t lo, int64_t hi, const char* what) {
  auto v = ParseAssemblyNumber(word);
  if (!v || *v < lo || *v > hi) {
    Fail(line, std::string(what) + " must be a number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                   ", not '" + std::string(word) + "'");
  }
  return *v;
}

bool IsLabel(std::string_view s) {
  if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  for (char c : s) {
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  }
  return true;
}

// The label of a tree line, from its opening quote on: '\\' takes the next
// character as it is, and only blanks may follow the closing quote.
std::string QuotedLabel(int line, std::string_view text) {
  std::string label;
  size_t i = 1;
  for (; i < text.size() && text[i] != '"'; ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) ++i;
    label += text[i];
  }
  if (i >= text.size()) Fail(line, "label without closing quote");
  if (text.find_first_not_of(" \t", i + 1) != std::string_view::npos) Fail(line, "text after the label");
  if (label.size() > static_cast<size_t>(kMaxLabelLength)) {
    Fail(line, "a label has at most " + std::to_string(kMaxLabelLength) + " characters");
  }
  return label;
}

uint8_t ResolveTarget(const PendingTree& t, const PendingNode& n, const std::string& target) {
  if (target == "true") return kTargetTrue;
  if (target == "false") return kTargetFalse;
  if (target == "undefined") return kTargetUndefined;
  if (auto it = t.labels.find(target); it != t.labels.end()) return static_cast<uint8_t>(it->second);
  if (auto v = ParseAssemblyNumber(target)) {
    if (*v >= 0 && *v <= 252) return static_cast<uint8_t>(*v);
    Fail(n.line, "target " + target + " is not a node number (0 to 252)");
  }
  Fail(n.line, "unknown label '" + target + "'");
}

AssembledTree Finish(PendingTree& t) {
  ByteWriter w;
  w.I16(t.format);
  w.I16(static_cast<int16_t>(t.nodes.size()));
  w.U8(t.type);
  w.U8(t.params);
  w.U8(t.locals);
  w.U8(t.reserved);
  w.I32(t.version);
  for (const PendingNode& n : t.nodes) {
    w.U16(n.opcode);
    w.U8(ResolveTarget(t, n, n.targets[0]));
    w.U8(ResolveTarget(t, n, n.targets[1]));
    for (int16_t op : n.operands) w.I16(op);
  }
  t.tree.bytes = w.Take();
  return std::move(t.tree);
}

void ParseNode(PendingTree& t, int line, std::string_view text) {
  PendingNode n{line, 0, {0, 0, 0, 0}, {}};
  size_t arrow = text.find("->");
  if (arrow == std::string_view::npos) Fail(line, "node without '->' and its two targets");
  std::vector<std::string> left = SplitWords(text.substr(0, arrow));
  std::vector<std::string> right = SplitWords(text.substr(arrow + 2));
  if (right.size() != 2) Fail(line, "a node needs exactly two targets after '->'");
  n.targets[0] = right[0];
  n.targets[1] = right[1];
  size_t i = 0;
  if (!left.empty() && left[0].size() > 1 && left[0].back() == ':') {
    std::string label = left[0].substr(0, left[0].size() - 1);
    if (!IsLabel(label) || label == "true" || label == "false" || label == "undefined") {
      Fail(line, "bad label '" + label + "'");
    }
    if (!t.labels.emplace(label, static_cast<int>(t.nodes.size())).second) {
      Fail(line, "label '" + label + "' used twice");
    }
    ++i;
  }
  if (i >= left.size()) Fail(line, "node without an opcode");
  if (auto named = PrimitiveOpcodeByName(left[i])) {
    n.opcode = static_cast<uint16_t>(*named);
  } else if (ParseAssemblyNumber(left[i])) {
    n.opcode = static_cast<uint16_t>(NumberIn(line, left[i], 0, kOpcodeMask, "an opcode"));
  } else {
    Fail(line, "unknown opcode '" + left[i] + "'");
  }
  ++i;
  if (i < left.size() && left[i] == "bytes") {
    // The eight operand bytes as the node holds them: word k is byte 2k
    // and byte 2k+1 above it.
    ++i;
    if (left.size() - i > 8) Fail(line, "a node has at most eight operand bytes");
    uint8_t bytes[8] = {};
    for (int k = 0; i < left.size(); ++i, ++k) {
      bytes[k] = static_cast<uint8_t>(NumberIn(line, left[i], -128, 255, "an operand byte"));
    }
    for (int k = 0; k < 4; ++k) n.operands[k] = static_cast<int16_t>(bytes[2 * k] | (bytes[2 * k + 1] << 8));
  } else {
    if (left.size() - i > 4) Fail(line, "a node has at most four operands");
    for (int k = 0; i < left.size(); ++i, ++k) {
      n.operands[k] = static_cast<int16_t>(NumberIn(line, left[i], -32768, 65535, "an operand"));
    }
  }
  if (t.nodes.size() >= static_cast<size_t>(kMaxTreeNodes)) Fail(line, "a tree holds at most 251 nodes");
  t.nodes.push_back(std::move(n));
}

}  // namespace

std::optional<int64_t> ParseAssemblyNumber(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  // One sign only: from_chars would take a second '-' itself.
  if (s.empty() || s[0] == '-') return std::nullopt;
  int64_t v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (ec != std::errc() || ptr != s.data() + s.size() || v > (int64_t{1} << 40)) return std::nullopt;
  return negative ? -v : v;
}

std::string_view PrimitiveOpcodeName(int opcode) {
  if (opcode < 0 || opcode >= static_cast<int>(std::size(kPrimitiveNames))) return {};
  return kPrimitiveNames[opcode];
}

std::optional<int> PrimitiveOpcodeByName(std::string_view name) {
  if (name.empty()) return std::nullopt;
  for (size_t i = 0; i < std::size(kPrimitiveNames); ++i) {
    if (kPrimitiveNames[i] == name) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::vector<AssembledTree> AssembleTrees(std::string_view text) {
  std::vector<AssembledTree> trees;
  std::optional<PendingTree> tree;
  int lineNo = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // The label may be quoted text with a '#'; comments start outside quotes.
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
      if (quoted && line[i] == '\\') {
        ++i;
        continue;
      }
      if (line[i] == '"') quoted = !quoted;
      if (line[i] == '#' && !quoted) {
        line = line.substr(0, i);
        break;
      }
    }
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) continue;
    const std::string& key = words[0];
    if (key == "tree") {
      if (tree) Fail(lineNo, "'tree' inside a tree (missing 'end')");
      if (words.size() < 2) Fail(lineNo, "'tree' needs an id");
      tree.emplace();
      tree->line = lineNo;
      tree->tree.id = static_cast<int16_t>(NumberIn(lineNo, words[1], -32768, 32767, "a tree id"));
      const size_t open = line.find('"');
      if (SplitWords(line.substr(0, open)).size() > 2) Fail(lineNo, "the label must be in double quotes");
      if (open != std::string_view::npos) tree->tree.label = QuotedLabel(lineNo, line.substr(open));
      continue;
    }
    if (!tree) Fail(lineNo, "'" + key + "' outside a tree");
    if (key == "end") {
      if (words.size() != 1) Fail(lineNo, "'end' takes nothing");
      trees.push_back(Finish(*tree));
      tree.reset();
    } else if (key == "format" || key == "type" || key == "params" || key == "locals" || key == "version" ||
               key == "reserved") {
      if (words.size() != 2) Fail(lineNo, "'" + key + "' takes one number");
      if (key == "format") {
        tree->format = static_cast<int16_t>(NumberIn(lineNo, words[1], 0x8000, 0xFFFF, "the format"));
      } else if (key == "version") {
        tree->version = static_cast<int32_t>(NumberIn(lineNo, words[1], INT32_MIN, UINT32_MAX, "the version"));
      } else {
        const auto v = static_cast<uint8_t>(NumberIn(lineNo, words[1], 0, 255, key.c_str()));
        (key == "type" ? tree->type : key == "params" ? tree->params : key == "locals" ? tree->locals : tree->reserved) =
            v;
      }
    } else {
      ParseNode(*tree, lineNo, line);
    }
  }
  if (tree) Fail(tree->line, "tree without 'end'");
  return trees;
}

std::string DisassembleTree(int16_t id, std::string_view label, std::span<const uint8_t> bytes) {
  if (!IsRunnableTree(bytes)) throw AssemblyError("tree " + std::to_string(id) + " is not in the current format");
  std::vector<uint8_t> copy(bytes.begin(), bytes.end());
  TreeView tree(copy);
  const int count = tree.NodeCount();
  std::set<int> targeted;
  for (int i = 0; i < count; ++i) {
    for (uint8_t t : {tree.Node(i).TrueTarget(), tree.Node(i).FalseTarget()}) {
      if (t < count) targeted.insert(t);
    }
  }
  auto target = [&](uint8_t t) -> std::string {
    if (t == kTargetTrue) return "true";
    if (t == kTargetFalse) return "false";
    if (t == kTargetUndefined) return "undefined";
    if (t < count) return "n" + std::to_string(t);
    return std::to_string(t);
  };
  std::string out = "tree " + std::to_string(id) + " \"";
  for (char c : label) {
    if (c == '\n') throw AssemblyError("the label of tree " + std::to_string(id) + " holds a line break");
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += "\"\n";
  char buf[64];
  std::snprintf(buf, sizeof buf, "  format 0x%04X\n", static_cast<unsigned>(static_cast<uint16_t>(tree.FormatWord())));
  out += buf;
  out += "  type " + std::to_string(tree.TreeType()) + "\n";
  out += "  params " + std::to_string(tree.ParamCount()) + "\n";
  out += "  locals " + std::to_string(tree.LocalCount()) + "\n";
  out += "  version " + std::to_string(tree.Version()) + "\n";
  if (copy[7] != 0) out += "  reserved " + std::to_string(copy[7]) + "\n";
  for (int i = 0; i < count; ++i) {
    TreeNode node = tree.Node(i);
    std::string line = targeted.count(i) ? "n" + std::to_string(i) + ":" : "";
    line.resize(std::max<size_t>(line.size() + 1, 5), ' ');
    std::string_view name = PrimitiveOpcodeName(node.Opcode());
    line += name.empty() ? std::to_string(node.Opcode()) : std::string(name);
    for (int k = 0; k < 4; ++k) line += " " + std::to_string(node.Operand(k));
    line += " -> " + target(node.TrueTarget()) + " " + target(node.FalseTarget());
    out += line + "\n";
  }
  out += "end\n";
  return out;
}

}  // namespace tova
