#pragma once
// The character-creation screens' editor of a person's looks: it offers the
// bodies and heads that fit the person's age, sex and skin tone, built by
// matching the 3D suit names and the texture files of the 3D search path
// against fixed naming rules, and writes the choice, with the suit, texture
// and hand names derived from it, back into the body strings.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class StringSet;

namespace tova {

class ObjectDefinition;

// One offered body or head: a suit name and a texture text ("BODY=" or
// "HEAD-HEAD=" and a texture file name), each at most 63 characters.
struct AppearanceChoice {
  std::string suit;
  std::string texture;

  AppearanceChoice() = default;
  AppearanceChoice(std::string_view suitName, std::string_view textureText);
  // Suit, ',' and texture, as strings 2 and 3 hold it.
  std::string Text() const { return suit + "," + texture; }
  // ASCII letters compared without case.
  bool Matches(const AppearanceChoice& other) const;
};
using AppearanceChoices = std::vector<AppearanceChoice>;

// What the editor needs of the 3D character renderer.
class iAppearanceHost {
 public:
  virtual ~iAppearanceHost() = default;
  // The names of every loaded suit (with their "suit-" prefix).
  virtual void GetSuitNames(std::vector<std::string>& out) const = 0;
  // The person's looks changed: drop what was built from the old ones.
  virtual void LooksChanged() = 0;
};

class AppearanceEditor {
 public:
  static constexpr const char* kBodyPrefix = "BODY=";
  static constexpr const char* kHeadPrefix = "HEAD-HEAD=";

  // textureSearchPath: the folders the texture files are listed from.
  AppearanceEditor(iAppearanceHost& host, std::vector<std::string> textureSearchPath);
  AppearanceEditor() = delete;
  virtual ~AppearanceEditor();
  AppearanceEditor(const AppearanceEditor&) = delete;
  AppearanceEditor& operator=(const AppearanceEditor&) = delete;

  // False when already attached or there are no body strings.
  bool Attach(StringSet* bodyStrings);
  bool Attach(ObjectDefinition& definition);
  // With save, writes changed strings back into the definition's file;
  // otherwise puts the strings back as they were at Attach.
  void Detach(bool save);
  bool IsAttached() const { return strings_ != nullptr; }

  void SetAge(bool child);
  void SetSex(bool female);
  void SetSkinTone(std::string_view key);

  int32_t GetBodyCount() const;
  int32_t FindBodyIndex() const;
  // -1 clears the choice (the rebuild then takes the first entry); n beyond
  // the list changes nothing and gives the count back.
  int32_t SetBody(int32_t n);
  int32_t GetHeadCount() const;
  int32_t FindHeadIndex() const;
  int32_t SetHead(int32_t n);

  // Puts a stored body or head that no longer fits back on its list (a
  // near one is drawn); the numbers of the strings that changed are added
  // to changed.
  void Repair(std::vector<int>& changed);
  // Rewrites strings 2 and 3 from the lists and recomputes the derived
  // strings.
  void Rebuild();

  // A naming template: "$B" the body's three characters after its sixth,
  // "$C" the skin key, "$G" the sex letter or 'u'; other text literal.
  // The first matching suit and texture, empty texts when none.
  AppearanceChoice FindTemplate(std::string_view text, bool body) const;

  const AppearanceChoices& GetBodyList() const;
  const AppearanceChoices& GetHeadList() const;
  const std::vector<std::string>& GetSuitNames() const { return suits_; }
  const std::vector<std::string>& GetTextureNames() const { return textures_; }

  std::string GetSkinKey() const;
  bool IsChild() const;
  bool IsFemale() const;

  // Forgets the lists cached for the run (tests, a new data root).
  static void ResetCache();

 protected:
  // The texture files' names (without extension) along the search path,
  // from the data-file catalogue.
  virtual void ListTextureNames(std::vector<std::string>& out) const;

 private:
  std::string Get(int n) const;
  void Set(int n, const std::string& text);
  void RestoreStrings();
  void SelectLists();
  int32_t FindIn(const AppearanceChoices& list, int n) const;
  void ReplaceWithNear(int n, const AppearanceChoices& list, size_t length);
  void ComputeDerived();

  iAppearanceHost& host_;
  std::vector<std::string> searchPath_;
  StringSet* strings_ = nullptr;
  std::unique_ptr<StringSet> original_;
  std::vector<std::string> textures_;
  std::vector<std::string> suits_;
  const AppearanceChoices* heads_ = nullptr;
  const AppearanceChoices* bodies_ = nullptr;
};

}  // namespace tova
