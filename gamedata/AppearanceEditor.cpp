#include "gamedata/AppearanceEditor.h"

#include <array>
#include <map>
#include <optional>

#include "framework/cDataFileCatalog.h"
#include "gamedata/BodyStrings.h"
#include "gamedata/NamePattern.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/SimRandom.h"
#include "gamedata/TextCompare.h"
#include "resfile/StringSet.h"

namespace tova {

namespace {

constexpr size_t kChoiceTextLimit = 63;
constexpr size_t kListPatternLength = 9;
constexpr size_t kNearHeadLength = 6;
constexpr size_t kNearBodyLength = 9;
constexpr int kChildAgeLimit = 18;
constexpr const char* kSuitPrefix = "suit-";

char Lower(char c) { return platform::FoldCase(c); }

bool SameText(std::string_view a, std::string_view b) { return EqualsNoCase(a, b); }

bool StartsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

// Lists of the run, by skin key; eight per key: head/body x child/adult x
// male/female.
struct ListCache {
  std::map<std::string, std::array<std::optional<AppearanceChoices>, 8>> byKey;
};

ListCache& Cache() {
  static ListCache cache;
  return cache;
}

const AppearanceChoices kEmptyList;

bool FitsListPattern(std::string_view suit, char part, char sex, char age) {
  if (suit.size() < kListPatternLength) return false;
  if (Lower(suit[0]) != Lower(part)) return false;
  const char s = Lower(suit[4]);
  if (s != sex && s != 'u') return false;
  return Lower(suit[5]) == age;
}

AppearanceChoices BuildList(const std::vector<std::string>& suits, const std::vector<std::string>& textures,
                            const std::string& key, bool body, bool child, bool female) {
  AppearanceChoices list;
  const char part = body ? 'b' : 'c';
  const char sex = female ? 'f' : 'm';
  const char age = child ? 'c' : 'a';
  const std::string prefix = body ? AppearanceEditor::kBodyPrefix : AppearanceEditor::kHeadPrefix;
  for (const std::string& suit : suits) {
    if (!FitsListPattern(suit, part, sex, age)) continue;
    const std::string wanted = suit.substr(0, kListPatternLength) + key;
    for (const std::string& texture : textures) {
      if (StartsWithText(texture, wanted)) list.emplace_back(suit, prefix + texture);
    }
  }
  return list;
}

int ListSlot(bool body, bool child, bool female) { return (body ? 4 : 0) + (child ? 2 : 0) + (female ? 1 : 0); }

NamePattern TemplatePattern(std::string_view text, std::string_view bodyPart, std::string_view key, char sexLetter) {
  NamePattern pattern;
  std::string literal;
  auto flush = [&] {
    if (!literal.empty()) pattern.AddLiteral(literal);
    literal.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '$') {
      literal += text[i];
      continue;
    }
    if (i + 1 >= text.size()) break;
    const char code = text[++i];
    if (code == 'B') {
      literal += bodyPart;
    } else if (code == 'C') {
      literal += key;
    } else if (code == 'G') {
      flush();
      pattern.AddAlternatives(std::string(1, sexLetter), "u");
    }
  }
  flush();
  return pattern;
}

}  // namespace

AppearanceChoice::AppearanceChoice(std::string_view suitName, std::string_view textureText)
    : suit(suitName.substr(0, kChoiceTextLimit)), texture(textureText.substr(0, kChoiceTextLimit)) {}

bool AppearanceChoice::Matches(const AppearanceChoice& other) const {
  return SameText(suit, other.suit) && SameText(texture, other.texture);
}

AppearanceEditor::AppearanceEditor(iAppearanceHost& host, std::vector<std::string> textureSearchPath)
    : host_(host), searchPath_(std::move(textureSearchPath)) {}

AppearanceEditor::~AppearanceEditor() = default;

void AppearanceEditor::ResetCache() { Cache().byKey.clear(); }

bool AppearanceEditor::Attach(ObjectDefinition& definition) { return Attach(definition.GetBodyStrings()); }

bool AppearanceEditor::Attach(StringSet* bodyStrings) {
  if (strings_ != nullptr || bodyStrings == nullptr) return false;
  strings_ = bodyStrings;
  original_ = std::make_unique<StringSet>();
  original_->CopyFrom(*bodyStrings);

  suits_.clear();
  std::vector<std::string> names;
  host_.GetSuitNames(names);
  const std::string_view prefix = kSuitPrefix;
  for (const std::string& name : names) {
    if (StartsWithText(name, prefix)) suits_.push_back(name.substr(prefix.size()));
  }

  textures_.clear();
  ListTextureNames(textures_);
  SelectLists();
  return true;
}

void AppearanceEditor::RestoreStrings() {
  // Entry by entry: the set keeps the file it saves to.
  const int count = original_->GetCount();
  for (int n = 1; n <= count; ++n) Set(n, BodyStrings::Get(*original_, n));
  while (strings_->GetCount() > count) strings_->RemoveString(strings_->GetCount());
}

void AppearanceEditor::ListTextureNames(std::vector<std::string>& out) const {
  cDataFileCatalog& catalog = GetDataFileCatalog();
  const uint32_t type = MakeTypeCode("BMP ");
  catalog.RegisterType(type);
  cDataFileList files;
  catalog.ListFiles(files, searchPath_, type);
  for (const cDataFileListEntry& e : files) out.emplace_back(e.nameKey.c_str());
}

void AppearanceEditor::Detach(bool save) {
  if (strings_ == nullptr) return;
  bool changed = false;
  for (int n = 1; n < std::max(strings_->End(), original_->End()); ++n) {
    if (Get(n) != BodyStrings::Get(*original_, n)) changed = true;
  }
  if (save) {
    if (changed) strings_->Save();
  } else {
    RestoreStrings();
  }
  strings_ = nullptr;
  original_.reset();
  suits_.clear();
  textures_.clear();
  heads_ = bodies_ = nullptr;
}

std::string AppearanceEditor::Get(int n) const { return strings_ ? BodyStrings::Get(*strings_, n) : std::string(); }

void AppearanceEditor::Set(int n, const std::string& text) {
  if (strings_ == nullptr || n < 1) return;
  // A string table only grows at its end: fill the gap with empty entries.
  while (strings_->GetCount() < n - 1) strings_->SetString(strings_->GetCount() + 1, "");
  strings_->SetString(n, text.c_str());
}

std::string AppearanceEditor::GetSkinKey() const {
  const std::string key = Get(kBodySkinKey).substr(0, 3);
  return key.empty() ? "???" : key;
}

bool AppearanceEditor::IsChild() const { return std::atoi(Get(kBodyAge).c_str()) < kChildAgeLimit; }

bool AppearanceEditor::IsFemale() const { return !SameText(Get(kBodySex), "male"); }

void AppearanceEditor::SelectLists() {
  if (strings_ == nullptr) return;
  const std::string key = GetSkinKey();
  const bool child = IsChild(), female = IsFemale();
  auto& lists = Cache().byKey[key];
  auto& heads = lists[static_cast<size_t>(ListSlot(false, child, female))];
  if (!heads) heads = BuildList(suits_, textures_, key, false, child, female);
  auto& bodies = lists[static_cast<size_t>(ListSlot(true, child, female))];
  if (!bodies) bodies = BuildList(suits_, textures_, key, true, child, female);
  heads_ = &*heads;
  bodies_ = &*bodies;
}

const AppearanceChoices& AppearanceEditor::GetBodyList() const { return bodies_ ? *bodies_ : kEmptyList; }
const AppearanceChoices& AppearanceEditor::GetHeadList() const { return heads_ ? *heads_ : kEmptyList; }

void AppearanceEditor::SetAge(bool child) {
  Set(kBodyAge, child ? "9" : "27");
  Set(kBodyAgeClass, child ? "child" : "adult");
  SelectLists();
  Rebuild();
}

void AppearanceEditor::SetSex(bool female) {
  Set(kBodySex, female ? "female" : "male");
  SelectLists();
  Rebuild();
}

void AppearanceEditor::SetSkinTone(std::string_view key) {
  Set(kBodySkinKey, std::string(key.substr(0, 3)));
  SelectLists();
  Rebuild();
}

int32_t AppearanceEditor::FindIn(const AppearanceChoices& list, int n) const {
  if (strings_ == nullptr) return -1;
  std::string suit, texture;
  BodyStrings::SplitEntry(*strings_, n, suit, texture, false);
  const AppearanceChoice stored(suit, texture);
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].Matches(stored)) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t AppearanceEditor::GetBodyCount() const {
  return GetHeadList().empty() ? 0 : static_cast<int32_t>(GetBodyList().size());
}
int32_t AppearanceEditor::FindBodyIndex() const { return FindIn(GetBodyList(), kBodyChoice); }
int32_t AppearanceEditor::GetHeadCount() const { return static_cast<int32_t>(GetHeadList().size()); }
int32_t AppearanceEditor::FindHeadIndex() const { return FindIn(GetHeadList(), kHeadChoice); }

int32_t AppearanceEditor::SetBody(int32_t n) {
  const AppearanceChoices& list = GetBodyList();
  if (n >= static_cast<int32_t>(list.size())) return static_cast<int32_t>(list.size());
  Set(kBodyChoice, n < 0 ? std::string() : list[static_cast<size_t>(n)].Text());
  Rebuild();
  return n;
}

int32_t AppearanceEditor::SetHead(int32_t n) {
  const AppearanceChoices& list = GetHeadList();
  if (n >= static_cast<int32_t>(list.size())) return static_cast<int32_t>(list.size());
  Set(kHeadChoice, n < 0 ? std::string() : list[static_cast<size_t>(n)].Text());
  Rebuild();
  return n;
}

void AppearanceEditor::ReplaceWithNear(int n, const AppearanceChoices& list, size_t length) {
  // Nothing to draw from: the rebuild that follows empties the choice.
  if (list.empty()) return;
  std::string suit, texture;
  BodyStrings::SplitEntry(*strings_, n, suit, texture, false);
  const std::string stored = suit.substr(0, length);
  std::vector<size_t> near;
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string candidate = list[i].suit.substr(0, length);
    if (candidate.size() < length || stored.size() < length) continue;
    if (Lower(candidate[0]) != stored[0]) continue;
    bool same = true;
    for (size_t c = 4; c < length && same; ++c) same = Lower(candidate[c]) == stored[c];
    if (same) near.push_back(i);
  }
  const uint32_t draw = NextRandom();
  const size_t index = near.empty() ? draw % static_cast<uint32_t>(list.size())
                                    : near[draw % static_cast<uint32_t>(near.size())];
  Set(n, list[index].Text());
}

void AppearanceEditor::Repair(std::vector<int>& changed) {
  if (strings_ == nullptr || Get(kBodyChoice).empty()) return;
  StringSet before;
  before.CopyFrom(*strings_);
  const bool bodyFits = FindBodyIndex() >= 0;
  const bool headFits = FindHeadIndex() >= 0;
  if (!bodyFits || !headFits) {
    RestoreStrings();
    SelectLists();
    const bool bodyMissing = FindBodyIndex() < 0;
    const bool headMissing = FindHeadIndex() < 0;
    if (bodyMissing) ReplaceWithNear(kBodyChoice, GetBodyList(), kNearBodyLength);
    if (headMissing) {
      ReplaceWithNear(kHeadChoice, GetHeadList(), kNearHeadLength);
      Rebuild();
    } else if (bodyMissing) {
      Rebuild();
    }
  }
  for (int n = 1; n < std::max(strings_->End(), before.End()); ++n) {
    if (Get(n) != BodyStrings::Get(before, n)) changed.push_back(n);
  }
}

void AppearanceEditor::Rebuild() {
  if (strings_ == nullptr) return;
  const AppearanceChoices& heads = GetHeadList();
  const AppearanceChoices& bodies = GetBodyList();
  if (heads.empty() || bodies.empty()) {
    for (int n : {2, 3, 16, 17, 18, 19}) Set(n, "");
    host_.LooksChanged();
    return;
  }
  const int32_t head = FindHeadIndex();
  const int32_t body = FindBodyIndex();
  if (head < 0 || body < 0) {
    Set(kHeadChoice, heads[static_cast<size_t>(std::max(head, 0))].Text());
    Set(kBodyChoice, bodies[static_cast<size_t>(std::max(body, 0))].Text());
  }
  ComputeDerived();
}

void AppearanceEditor::ComputeDerived() {
  std::string suit, texture;
  BodyStrings::SplitEntry(*strings_, kBodyChoice, suit, texture, false);
  const std::string s = suit.size() > 6 ? suit.substr(6, 3) : std::string();
  const size_t textureSkip = std::string_view(kBodyPrefix).size() + 12;
  const std::string t = texture.size() > textureSkip ? texture.substr(textureSkip) : std::string();
  const std::string k = GetSkinKey();
  const std::string x = IsFemale() ? "f" : "m";
  const bool child = IsChild();
  const std::string y = child ? "u" : x;

  NamePattern n1;
  n1.AddLiteral("N");
  n1.AddAlternatives("U", x);
  n1.AddLiteral(s);
  NamePattern n2 = n1;
  n2.ReplaceFirst("F");
  NamePattern t1 = n1;
  t1.AddLiteral(k);
  t1.AddAlternatives(t, "");
  NamePattern t2 = t1;
  t2.ReplaceFirst("U");
  NamePattern t3 = t1;
  t3.ReplaceFirst("F");

  struct Hand {
    const char* lead;
    const char* side;
    const char* pose;
    int string;
  };
  static constexpr Hand kHands[8] = {{"G", "L", "O", 29}, {"G", "R", "O", 30}, {"H", "L", "O", 18},
                                     {"H", "R", "O", 19}, {"H", "L", "C", 22}, {"H", "R", "C", 23},
                                     {"H", "L", "P", 20}, {"H", "R", "P", 21}};
  NamePattern hands[8];
  for (size_t i = 0; i < 8; ++i) {
    hands[i].AddLiteral(kHands[i].lead);
    hands[i].AddAlternatives("U", x);
    hands[i].AddAlternatives("A", kHands[i].side);
    hands[i].AddLiteral(kHands[i].pose);
    hands[i].AddAlternatives(k, "");
    hands[i].AddAlternatives(t, "");
  }

  for (const std::string& name : suits_) {
    n1.BestMatch(name);
    if (n1.GetBestName().empty()) n2.BestMatch(name);
  }
  for (const std::string& name : textures_) {
    for (NamePattern& h : hands) h.BestMatch(name);
    t3.BestMatch(name);
    t1.BestMatch(name);
    t2.BestMatch(name);
  }

  const std::string body = std::string(",") + kBodyPrefix;
  Set(kBodyDerived, n1.GetBestName() + body + t1.GetBestName());
  const std::string alternate = !t2.GetBestName().empty() ? t2.GetBestName() : (child ? t1.GetBestName() : "");
  Set(kBodyDerivedAlternate, n1.GetBestName() + body + alternate);
  Set(kBodyDerivedOther, n2.GetBestName() + body + t3.GetBestName());
  for (size_t i = 0; i < 8; ++i) {
    const std::string& kept = hands[i].GetBestName();
    Set(kHands[i].string,
        kept.empty() ? std::string() : "H" + y + kHands[i].side + kHands[i].pose + ",HAND=" + kept);
  }
  host_.LooksChanged();
}

AppearanceChoice AppearanceEditor::FindTemplate(std::string_view text, bool body) const {
  const std::string bodyString = Get(kBodyChoice);
  const std::string bodyPart = bodyString.size() > 6 ? bodyString.substr(6, 3) : std::string();
  const NamePattern pattern = TemplatePattern(text, bodyPart, GetSkinKey(), IsFemale() ? 'f' : 'm');
  AppearanceChoice found;
  for (const std::string& name : suits_) {
    if (pattern.Match(name) > 0) {
      found.suit = name.substr(0, kChoiceTextLimit);
      break;
    }
  }
  for (const std::string& name : textures_) {
    if (pattern.Match(name) > 0) {
      found.texture = (std::string(body ? kBodyPrefix : kHeadPrefix) + name).substr(0, kChoiceTextLimit);
      break;
    }
  }
  return found;
}

}  // namespace tova
