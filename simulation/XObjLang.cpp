#include "simulation/XObjLang.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "gamedata/BalloonIconGroup.h"
#include "gamedata/RecordBytes.h"
#include "resfile/ReconObject.h"
#include "simulation/PrimitiveOpcode.h"
#include "simulation/TreeProperties.h"
#include "simulation/cTreeConstants.h"
#include "simulation/people/PersonMotion.h"

namespace tova {

namespace {

// String tables of the global behaviour file.
enum Table : int {
  kTreeScopeWords = 128,
  kGlobalNames = 129,
  kGoToWhere = 130,
  kGoToFacing = 131,
  kScopeNames = 132,
  kMotiveNames = 134,
  kOperators = 136,
  kPrimitiveNames = 139,
  kDataNames = 141,
  kLowestWhose = 153,
  kRemoveKinds = 156,
  kSlotOneNames = 157,
  kBalloonKinds = 162,
  kSetToNextKinds = 164,
  kLowestKinds = 165,
  kPlacements = 167,
  kRelationOwners = 170,
  kPersonDataNames = 200,
  kFunctionNames = 201,
  kDefinitionNames = 204,
  kSnapKinds = 207,
  kRefreshWhat = 211,
  kRefreshHow = 212,
  kLookKinds = 216,
  kRoomNames = 219,
  kGlobalCalls = 220,
  kNeighborhoodNames = 221,
  kCallModes = 222,
  kInteractionKinds = 224,
  kSuitLocations = 227,
  kFixedKinds = 231,
  kStackRelationOwners = 235,
  kButtonWords = 237,
  kTutorialSteps = 238,
  kLocationKinds = 239,
  kBudgetKinds = 240,
  kJobNames = 243,
  kIconKinds = 244,
  kEntryTreeNames = 245,
  kHighlightTargets = 247,
  kNeighborhoodGlobals = 249,
};
// Tables of the object's own or semi-global file.
constexpr int kAttributeNames = 256;
constexpr int kRelationNames = 258;
constexpr int kExtraNames = 259;
constexpr int kDialogTexts = 301;
constexpr int kSuitNameStrings = 304;
constexpr int kCaptions = 305;

constexpr int kOperandLiteral = 7;
constexpr int kOperandTemp = 8;
constexpr int kOperandParam = 9;
constexpr int kOperandLocal = 25;
constexpr int kOperandConstant = 26;

std::string Number(int v) { return std::to_string(v); }

// A text cut at 48 characters with "..." after it.
std::string Cut48(const std::string& s) { return s.size() > 48 ? s.substr(0, 48) + "..." : s; }

bool AllFF(const uint8_t* b) {
  return std::all_of(b, b + 8, [](uint8_t v) { return v == 0xFF; });
}

}  // namespace

struct XObjLang::Node {
  const Behavior& behavior;
  int16_t treeId;
  uint16_t opcode;
  uint8_t b[8];
  int16_t w[4];
  mutable std::optional<TreeProperties> props;

  const TreeProperties& Props() const {
    if (!props) {
      props.emplace(&behavior, treeId);
      props->Load();
    }
    return *props;
  }
  ResourceSource* Own() const { return behavior.OwnFile(); }
  ResourceSource* Semi() const { return behavior.SemiGlobalFile(); }
};

XObjLang::XObjLang(ResourceSource* behaviorFile, iResFile* balloonFile)
    : file_(behaviorFile), balloonFile_(balloonFile) {}

XObjLang::~XObjLang() = default;

std::optional<std::string> XObjLang::Global(int table, int entry) const {
  if (!file_ || entry < 1) return std::nullopt;
  auto s = file_->GetString(static_cast<int16_t>(table), entry);
  if (!s || s->empty()) return std::nullopt;
  return s;
}

std::string XObjLang::GlobalOr(int table, int entry, const std::string& otherwise) const {
  return Global(table, entry).value_or(otherwise);
}

std::string XObjLang::GetName(int index) const { return GlobalOr(kSlotOneNames, index + 1, "unknown"); }

std::string XObjLang::GetPrimitiveName(int opcode) const { return GlobalOr(kPrimitiveNames, opcode + 1, ""); }

int XObjLang::GetPrimitiveCount() const {
  // One name per opcode below 256: the highest entry present.
  for (int n = 256; n >= 1; --n) {
    if (Global(kPrimitiveNames, n)) return n;
  }
  return 0;
}

std::string XObjLang::GuidName(uint32_t guid) const {
  if (guidNames_) {
    std::string name = guidNames_(guid);
    if (!name.empty()) return name;
  }
  return Number(static_cast<int32_t>(guid));
}

std::string XObjLang::ConstantName(const Node& n, int value) const {
  const auto u = static_cast<uint16_t>(value);
  static constexpr int kBases[3] = {4096, 8192, 256};
  const int range = u >> 13;
  if (range > 2) return Number(value);
  const int table = kBases[range] + ((u >> 7) & 63);
  const int element = u & 127;
  ResourceSource* file = n.behavior.GetFileForTree(table);
  if (!file) return Number(value);
  auto label = file->GetLabel(kTypeBCON, static_cast<int16_t>(table), SwapConstants);
  if (!label) return Number(value);
  std::string elementName;
  if (auto record = file->GetResource(kTypeTRCN, static_cast<int16_t>(table), SwapReconHeader)) {
    cTreeConstants constants;
    MemHandle h = NewMemHandle(static_cast<int32_t>(record->size()));
    if (h) {
      std::copy(record->begin(), record->end(), GetMemHandleData(h));
      SimpleReconObject<cTreeConstants> reader(&constants, kTypeTRCN);
      if (ReconObject::ReadFromHandle(reader, h) == 0) elementName = constants.ElementLabel(element);
      DisposeMemHandle(h);
    }
  }
  return "#" + *label + " " + (elementName.empty() ? Number(element) : elementName);
}

std::optional<std::string> XObjLang::ValueName(const Node& n, int scope, int value) const {
  auto fileString = [&](ResourceSource* f, int table) -> std::optional<std::string> {
    if (!f || value + 1 < 1) return std::nullopt;
    auto s = f->GetString(static_cast<int16_t>(table), value + 1);
    if (!s || s->empty()) return std::nullopt;
    return s;
  };
  switch (scope) {
    case 0: return fileString(n.Own(), kAttributeNames);
    case 1: return fileString(n.Semi(), kAttributeNames);
    case 36: return fileString(n.Own(), kExtraNames);
    case 37: return fileString(n.Semi(), kExtraNames);
    case 3:
    case 4:
    case 5: return Global(kDataNames, value + 1);
    case 6: return Global(kGlobalNames, value + 1);
    case 12:
    case 14:
    case 15:
    case 28:
    case 29: return Global(kMotiveNames, value + 1);
    case 18:
    case 19:
    case 32: return Global(kPersonDataNames, value + 1);
    case 21:
    case 38: return Global(kDefinitionNames, value + 1);
    case 23: return Global(kRoomNames, value + 1);
    case 24: return Global(kNeighborhoodNames, value + 1);
    case 33: return Global(kJobNames, value + 1);
    case 34: return Global(kNeighborhoodGlobals, value + 1);
    case 35: return Global(kEntryTreeNames, value + 1);
    case kOperandParam:
    case kOperandLocal: {
      std::string name = n.Props().GetName(scope == kOperandParam ? 0 : 1, value);
      if (name.empty()) return std::nullopt;
      return name;
    }
    case kOperandConstant: return ConstantName(n, value);
    default: return std::nullopt;
  }
}

std::string XObjLang::Operand(const Node& n, int scope, int value) const {
  std::string out;
  if (scope != kOperandLiteral) out = GlobalOr(kScopeNames, scope + 1, "owner " + Number(scope)) + " ";
  out += ValueName(n, scope, value).value_or(Number(static_cast<int16_t>(value)));
  return out;
}

std::string XObjLang::Expression(const Node& n, const std::string& prefix) const {
  const int op = static_cast<int8_t>(n.b[5]);
  const int leftScope = static_cast<int8_t>(n.b[6]);
  const int rightScope = static_cast<int8_t>(n.b[7]);
  std::string out = prefix + Operand(n, leftScope, n.w[0]) + " " + GlobalOr(kOperators, op + 1, Number(op)) + " ";
  if (op >= 8 && op <= 10 && rightScope == kOperandLiteral) {
    // A flag operator names the bit from the table the left side's words
    // point to.
    static const std::pair<const char*, int> kFlagTables[] = {
        {"route entry flags ", 0},     {"exclusive placement flags ", 251}, {"wall placement flags ", 229},
        {"placement flags ", 202},      {"movement flags ", 203},            {"function sort flags ", 206},
        {"room sort flags ", 205},      {"censorship flags ", 178},          {"wall adjacency flags ", 208},
        {"flag field 2 ", 214},         {"flags", 142}};
    std::string lower = out;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    for (const auto& [words, table] : kFlagTables) {
      if (lower.find(words) == std::string::npos) continue;
      if (table != 0) {
        if (auto name = Global(table, n.w[1])) return out + *name;
      }
      break;
    }
  }
  return out + Operand(n, rightScope, n.w[1]);
}

std::string XObjLang::TreeCall(const Node& n) const {
  const bool all = AllFF(n.b);
  TreeProperties called(&n.behavior, static_cast<int16_t>(n.opcode));
  called.Load();
  const int labelled = std::min(called.GetCount(TreeProperties::kParameters), 4);
  if (labelled == 0) {
    if (all) return "(" + GlobalOr(kTreeScopeWords, 4, "") + ")";
    char text[64];
    std::snprintf(text, sizeof text, "(stack %d, %d, %d, %d)", n.w[0], n.w[1], n.w[2], n.w[3]);
    return text;
  }
  std::string out;
  for (int i = 0; i < labelled; ++i) {
    const std::string label = called.GetName(0, i);
    if (label.empty()) continue;
    out += out.empty() ? "(with " : ", ";
    out += label + "=" + (all ? Operand(n, kOperandTemp, i) : Number(n.w[i]));
  }
  return out.empty() ? out : out + ")";
}

std::string XObjLang::Operands(const Node& n) const {
  const uint8_t* b = n.b;
  const int16_t* w = n.w;
  auto op = [&](int scope, int value) { return Operand(n, scope, value); };
  auto g = [&](int table, int value) { return GlobalOr(table, value + 1, Number(value)); };
  auto ownString = [&](int table, int entry) -> std::optional<std::string> {
    if (!n.Own() || entry < 1) return std::nullopt;
    auto s = n.Own()->GetString(static_cast<int16_t>(table), entry);
    if (!s || s->empty()) return std::nullopt;
    return s;
  };
  std::string s;
  switch (n.opcode) {
    case kPrimSleep: return "for ticks in " + op(kOperandParam, w[0]);
    case kPrimGlobalCall: return g(kGlobalCalls, w[0]);
    case kPrimFindBestInteraction:
    case kPrimGrab:
    case kPrimDrop:
    case kPrimQueueFoundAction: return "";
    case kPrimChangeSuit: {
      s = (b[2] & 1) ? "dress " : "undress ";
      std::optional<std::string> suit;
      if (b[1] == 2) suit = ownString(kSuitNameStrings, b[0] + 1);
      s += suit.value_or("index " + Number(b[0]));
      return s + " from " + GlobalOr(kSuitLocations, b[1] + 1, "location " + Number(b[1])) + " suits";
    }
    case kPrimRefresh: return g(kRefreshWhat, w[0]) + " " + g(kRefreshHow, w[1]);
    case kPrimRandomNumber: return op(w[1], w[0]) + ":=random from 0 to <" + op(w[3], w[2]);
    case kPrimPlaceFixedObject: return g(kFixedKinds, b[0]) + ((b[1] & 1) ? ", allow busy objects" : "");
    case kPrimTutorial: return g(kTutorialSteps, b[0]);
    case kPrimGetDistanceTo:
      return op(kOperandTemp, w[0]) + " := distance from " + ((b[2] & 1) ? op(b[3], w[2]) : op(3, 11)) +
             " to stack obj";
    case kPrimGetDirectionTo:
      return op(w[1], w[0]) + " := dir from " + ((b[4] & 1) ? op(b[5], w[3]) : op(3, 11)) + " to stack obj";
    case kPrimPushInteraction:
      s = "#" + Number(b[0]) + " of " + op((b[3] & 2) ? kOperandLocal : kOperandParam, b[1]) +
          " onto the stack object's queue, " + g(kInteractionKinds, b[2]);
      if (b[3] & 1) s += ", use icon from " + op(kOperandLocal, b[4]);
      if (b[3] & 4) s += ", continue as current";
      if (b[3] & 8) s += ", use name";
      return s;
    case kPrimFindBestObjectForFunction: return g(kFunctionNames, w[0]);
    case kPrimBreakpoint: return "if " + op(w[1], w[0]) + "!=0";
    case kPrimFindLocation:
      if (b[0] != 0) s = g(kLocationKinds, b[0]);
      if (b[2] & 1) s += (s.empty() ? "" : ", ") + std::string("start at ") + op(kOperandLocal, b[1]);
      if (b[2] & 4) s += ", user editable";
      if (!(b[2] & 2)) s += ", prefer empty";
      return s;
    case kPrimIdleForInput: return "for ticks in " + op(kOperandParam, w[0]) + (w[1] ? ", allow push" : ", do not allow push");
    case kPrimRemoveObject:
      return g(kRemoveKinds, b[0]) + ((b[1] & 1) ? ", return immediately" : "") +
             ((b[1] & 2) ? "" : ", cleanup all");
    case kPrimMakeNewCharacter: return op(kOperandLocal, b[1]) + ", " + op(kOperandLocal, b[2]) + ", " + op(kOperandLocal, b[0]);
    case kPrimRunFunctionalTree: return g(kFunctionNames, b[0]) + ((b[1] & 1) ? ", change icon" : "");
    case kPrimShowString: {
      auto text = ownString(w[0], w[1]);
      return text ? Cut48(*text) : Number(w[0]) + ":" + Number(w[1]);
    }
    case kPrimLookTowards: return GlobalOr(kLookKinds, w[0] + 1, "type " + Number(w[0]));
    case kPrimPlaySound: {
      std::optional<std::string> name = soundNames_ ? soundNames_(n.behavior, w[0]) : std::nullopt;
      s = name.value_or(Number(w[0]));
      const uint8_t flags = b[4] == 0xFF ? 0 : b[4];
      if (flags & 0x10) s += ", auto vary";
      if (flags & 1) s += ", looped";
      if (flags & 2) s += ", with stack obj as source";
      if (flags & 4) s += ", no zoom";
      if (flags & 8) s += ", no pan";
      if (w[1] != 0 && w[1] != 256) {
        char rate[48];
        std::snprintf(rate, sizeof rate, "%f", w[1] / 256.0);
        s += ", sampled at " + std::string(rate);
      }
      if (b[5] != 0) s += ", volume " + Number(b[5]);
      return s;
    }
    case kPrimRelationship:
    case kPrimStackRelationship: {
      const int var = n.opcode == kPrimRelationship ? b[1] : b[0];
      const std::string name = ownString(kRelationNames, var + 1).value_or("var " + Number(var));
      std::string variable;
      std::string value;
      bool first;
      int flags;
      if (n.opcode == kPrimRelationship) {
        variable = name + " of " + g(kRelationOwners, b[3]);
        value = op(kOperandParam, b[2]);
        first = b[0] != 0;
        flags = b[4];
      } else {
        std::string owner;
        switch (b[1]) {
          case 0:
          case 1: owner = g(kStackRelationOwners, b[1]); break;
          case 2: owner = "stack object to " + op(kOperandLocal, b[3]); break;
          default: owner = op(kOperandLocal, b[3]) + " to stack object"; break;
        }
        variable = name + " of " + owner;
        value = op(b[4], w[3]);
        first = (b[2] & 4) != 0;
        flags = b[2];
      }
      s = first ? variable + " := " + value : value + " := " + variable;
      if (flags & 1) s += ", fail if too small";
      if (flags & 2) s += ", use neighbors";
      return s;
    }
    case kPrimAlterBudget: {
      const int scope = b[0] == 0 ? kOperandLiteral : b[0] == 1 ? kOperandParam : b[0] == 2 ? kOperandLocal : b[1];
      const std::string amount = op(scope, w[1]);
      const uint8_t flags = b[7];
      if (flags & 1) {
        s = "test if " + amount + ((flags & 2) ? " may be added" : " may be subtracted");
      } else {
        s = ((flags & 2) ? "add " : "subtract ") + amount;
      }
      return s + " as " + g(kBudgetKinds, b[6]);
    }
    case kPrimGoToRelativePosition:
      return g(kGoToWhere, static_cast<int8_t>(b[2]) + 2) + ", " + g(kGoToFacing, static_cast<int8_t>(b[3]) + 2) +
             ((b[6] & 2) ? ", no failure trees" : "");
    case kPrimCallNamedTree: {
      // The list comes from the file the primitive reads it from.
      ResourceSource* f = (b[2] & 1) ? n.Semi() : n.Own();
      std::optional<std::string> name;
      if (f && b[4] >= 1) name = f->GetString(w[0], b[4]);
      if (name && name->empty()) name.reset();
      return std::string((b[2] & 1) ? "Global: " : "Private: ") + name.value_or("???") + ", " +
             g(kCallModes, b[5]);
    }
    case kPrimSetMotiveChange:
      if (b[3] & 1) return "clear all";
      return op(14, b[2]) + " += " + op(b[0], w[2]) + " per hr, stop at " + op(b[1], w[3]);
    case kPrimSetToNext: {
      const int kind = b[4] & 0x7F;
      if (b[4] & 0x80) s = op(b[5], b[7]) + " := next ";
      s += g(kSetToNextKinds, kind);
      if (kind == 4 || kind == 7) s += " " + GuidName(static_cast<uint16_t>(w[0]) | static_cast<uint32_t>(w[1]) << 16);
      if (kind == 9) s += " " + op(kOperandLocal, b[6]);
      return s;
    }
    case kPrimTestObjectType:
      return "type of " + op(w[3], w[2]) + " == " +
             GuidName(static_cast<uint16_t>(w[0]) | static_cast<uint32_t>(w[1]) << 16);
    case kPrimFindLowestMotives: return g(kLowestWhose, w[2]) + " lowest " + g(kLowestKinds, w[3]) + " into temps 0-4";
    case kPrimHighlightUI:
      return std::string((b[4] & 1) ? "turn on " : "turn off ") + g(kHighlightTargets, b[0]) + " " + op(b[1], w[1]);
    case kPrimShowStackObject: {
      const uint8_t flags = b[4];
      if (!(flags & 1)) return "un-show stack obj";
      s = "show stack obj, timeout := " + op((flags & 0x20) ? kOperandLocal : kOperandLiteral, w[0]);
      if (b[5] != 0) s += ", caption: \"" + ownString(kCaptions, b[5]).value_or("???") + "\"";
      s += (flags & 2) ? ", one frame" : ", live";
      if (flags & 4) s += ", ignore visibility";
      s += std::string(", ") + ((flags & 0x10) ? "" : "no ") + "snapshot";
      static const char* kZoom[] = {", near", ", mid", ", far"};
      if (b[3] >= 1 && b[3] <= 3) s += std::string(kZoom[b[3] - 1]) + " zoom";
      static const char* kWindow[] = {", small", ", medium", ", large"};
      if (b[2] <= 2) s += std::string(kWindow[b[2]]) + " window";
      if (!(flags & 0x40)) s += ", slow down";
      if (flags & 8) s += ", center";
      return s;
    }
    case kPrimDialog: {
      switch (b[5]) {
        case 0: s = "message: "; break;
        case 1: s = "choice: "; break;
        case 2: s = op(kOperandTemp, (b[7] >> 4) & 7) + " := tri choice: "; break;
        case 3: s = "text entry: "; break;
        case 4: s = "tutorial: "; break;
        default: break;
      }
      s += Cut48(ownString(kDialogTexts, b[2]).value_or("string error"));
      if (b[7] & 0x81) s += ", " + g(kButtonWords, (b[7] & 1) ? 0 : 1);
      const int icon = (b[7] >> 1) & 7;
      if (icon != 1) {
        s += ", icon: ";
        if (icon == 4) {
          s += ownString(kDialogTexts, b[1]).value_or("name " + Number(b[1]));
        } else if (icon == 3) {
          s += "#" + Number(b[1] + 5000);
        } else {
          s += g(kIconKinds, icon);
        }
      }
      return s;
    }
    case kPrimSetBalloon: {
      if (w[2] == 0) return "clear";
      std::string group = Number(b[3]);
      std::string icon = Number(b[2]);
      if (balloonFile_) {
        BalloonIconGroup balloons(b[3], balloonFile_);
        std::string groupName = balloons.GetGroupName();
        std::string iconName = balloons.GetIconName(b[2]);
        if (!groupName.empty()) group = groupName;
        if (!iconName.empty()) icon = iconName;
      }
      s = group + " : " + icon;
      if (static_cast<uint16_t>(w[1]) == 0x0702) s += " " + op(kOperandLocal, 16 * ((w[0] >> 5) & 63));
      if (w[3] & 0x1000) s += " + " + op(kOperandTemp, 0);
      s += " in " + g(kBalloonKinds, b[6]) + " balloon ";
      s += w[2] == -1 ? std::string("forever") : "for " + Number(w[2]) + ((w[3] & 0x800) ? " loops" : " ticks");
      if (w[3] & 0x100) s += ", show when inactive";
      if (w[3] & 0x200) s += ", crossed out";
      if (w[3] & 0x400) s += ", anim reversed";
      return s;
    }
    case kPrimCreateObjectInstance:
      s = (b[5] & 4) ? std::string("neighbor in stack obj.")
                     : GuidName(static_cast<uint16_t>(w[0]) | static_cast<uint32_t>(w[1]) << 16);
      s += ", place " + g(kPlacements, b[4]);
      if (b[4] == 8 || b[4] == 9) s += " " + op(kOperandLocal, w[3]);
      if (b[5] & 2) {
        s += ", pass object ids to main";
      } else if (b[5] & 0x10) {
        s += ", pass temp 0 to main";
      }
      if (b[5] & 1) s += ", do not duplicate";
      if (b[5] & 8) s += ", fail if tile is non-empty";
      return s;
    case kPrimMoveSlotContents:
      return "from slot " + (w[0] ? "in " + op(kOperandParam, w[1]) : Number(w[1])) + " to slot " +
             (w[2] ? "in " + op(kOperandParam, w[3]) : Number(w[3]));
    case kPrimAnimate: {
      // Animation id in word 0, its source in byte 2, the event count in
      // byte 3 and the flags in byte 4.
      const uint8_t flags = b[4];
      if (flags & 1) return std::string("reset") + ((flags & 8) ? ", carry" : ", background");
      static const char* kSources[] = {"object", "old global", "old person", "misc"};
      s = std::string((flags & 0x20) ? "id in s.v. " : "id ") + Number(w[0]) + " from " +
          (b[2] < 4 ? kSources[b[2]] : "???") + " events:" + Number(b[3]);
      if (flags & 2) s += ", backwards";
      if (flags & 4) s += ", background";
      if (flags & 8) s += ", carry";
      if (flags & 0x10) s += ", stop std carry";
      // The animation tables belong to the people; without them the name is unknown.
      return s + ", name: ???";
    }
    case kPrimGoToRoutingSlot:
      switch (w[1]) {
        case 0: s = "in " + op(kOperandLocal, w[0]); break;
        case 1: s = "#" + Number(w[0]); break;
        case 2: s = "global: #" + Number(w[0]); break;
        default: s = "??? " + Number(w[0]); break;
      }
      return s + ((b[4] & 1) ? ", no failure trees" : "");
    case kPrimSnap:
      s = g(kSnapKinds, w[1]);
      if (w[1] == 0 || w[1] == 3 || w[1] == 4) s += " " + Number(w[0]);
      if (w[2] & 2) s += ", ask person to move";
      if (w[2] & 4) s += ", use footprint";
      return s;
    case kPrimReach:
      switch (w[0]) {
        case 0:
          return std::string("to stack object") +
                 (w[1] ? " and attempt to grab it" : " and do not attempt to grab it");
        case 1:
          return "to slot on stack object with index in " + op(kOperandParam, w[2]) +
                 (w[1] ? " and attempt to drop onto it" : " and do not attempt to drop onto it");
        default: return "to mouth";
      }
    case kPrimStopSounds: return w[0] ? "of stack object" : "of me";
    case kPrimAddMenuInteraction: return ownString(w[0], b[4]).value_or("???");
    default: {
      char text[64];
      std::snprintf(text, sizeof text, "params %d, %d, %d, %d", w[0], w[1], w[2], w[3]);
      return text;
    }
  }
}

std::string XObjLang::DescribeNode(const Behavior& behavior, int16_t treeId, const TreeNode& node) const {
  Node n{behavior, treeId, node.Opcode(), {}, {}, std::nullopt};
  std::copy_n(node.Bytes() + 4, 8, n.b);
  for (int i = 0; i < 4; ++i) n.w[i] = node.Operand(i);

  std::string out;
  if (n.opcode == kPrimExpression) {
    out = Expression(n, "");
  } else {
    const int scope = n.opcode >= kFirstTreeId ? Behavior::GetTreeIdScope(n.opcode) : 0;
    static constexpr int kScopeWord[4] = {0, 2, 1, 3};
    if (scope > 0) {
      if (auto word = Global(kTreeScopeWords, kScopeWord[scope])) out = *word + " ";
    }
    out += n.opcode < kFirstTreeId ? GetPrimitiveName(n.opcode) : behavior.GetTreeName(n.opcode);
    if (n.opcode >= kFirstTreeId) {
      const std::string call = TreeCall(n);
      if (!call.empty()) out += " " + call;
    } else if (!AllFF(n.b)) {
      switch (n.opcode) {
        case kPrimPushInteraction: out += " (" + Operands(n) + ")"; break;
        case kPrimTestWithStackObject: out += " (me with stack obj.)"; break;
        case kPrimWakeStackObject: out += " (...)"; break;
        default: out += " (" + Operands(n) + ")"; break;
      }
    }
  }
  if (out.size() > kTextCapacity) out.resize(kTextCapacity);
  return out;
}

bool XObjLang::IsSingleExitNode(const TreeNode& node) {
  const uint16_t op = node.Opcode();
  const uint8_t* b = node.Bytes() + 4;
  const int16_t w0 = node.Operand(0);
  switch (op) {
    case kPrimSleep: case kPrimChangeSuit: case kPrimRefresh: case kPrimRandomNumber: case kPrimGetDistanceTo:
    case kPrimGetDirectionTo: case kPrimBreakpoint: case kPrimIdleForInput: case kPrimShowString:
    case kPrimPlaySound: case kPrimSetMotiveChange: case kPrimFindLowestMotives: case kPrimHighlightUI:
    case kPrimShowStackObject: case kPrimSetBalloon: case kPrimStopSounds: case kPrimWakeStackObject:
    case kPrimAddMenuInteraction:
      return true;
    case kPrimGlobalCall: return w0 < 4 || w0 > 7;
    case kPrimLookTowards: return w0 < 1 || w0 > 3;
    case kPrimExpression: {
      const int oper = static_cast<int8_t>(b[5]);
      static constexpr int kTests[] = {0, 1, 2, 8, 11, 14, 15, 16, 17};
      return std::find(std::begin(kTests), std::end(kTests), oper) == std::end(kTests);
    }
    case kPrimRelationship: return (b[4] & 1) == 0;
    case kPrimStackRelationship: return (b[2] & 1) == 0;
    case kPrimDialog: return b[5] == 0 || b[5] == 3 || b[5] == 4 || (b[7] & 1) != 0;
    default: return false;
  }
}

void XObjLang::SwapOperands(uint16_t opcode, uint8_t* p) {
  auto swapWord = [p](int i) { std::swap(p[2 * i], p[2 * i + 1]); };
  switch (opcode & kOpcodeMask) {
    case kPrimExpression:
    case kPrimAnimate:
      swapWord(0);
      swapWord(1);
      break;
    case kPrimGoToRelativePosition:
      swapWord(0);
      swapWord(2);
      break;
    case kPrimPushInteraction:
    case kPrimRelationship:
    case kPrimStackRelationship: break;
    case kPrimCreateObjectInstance:
      std::swap(p[0], p[3]);
      std::swap(p[1], p[2]);
      break;
    default:
      for (int i = 0; i < 4; ++i) swapWord(i);
      break;
  }
}

void XObjLang::SwapTree(void* data, int32_t size) { SwapTreeWith(data, size, SwapOperands); }

}  // namespace tova
