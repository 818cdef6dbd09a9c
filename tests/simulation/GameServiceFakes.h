// Recording fakes of what the game primitives, the object dialogs and the
// tutorial reach above the object module: dialog windows answering by
// script on a manual clock, the shell that runs them, pictures, the
// neighbourhood, the interface's window tree and a new-character maker.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gamedata/ObjectDefinition.h"
#include "simulation/GameServices.h"
#include "simulation/ObjectDialog.h"
#include "simulation/SoundPlayer.h"

namespace tova_test {

using namespace tova;

// A picture dialog that records what it was given. Run modally it answers
// with the scripted result, or lets its manual clock run until its
// time-out chooses.
class FakeObjectDialog : public iObjectDialogWindow {
 public:
  void SetPlacement(int32_t, int32_t, int32_t, const DialogRect&) override {}
  void SetTitle(const std::string& t) override { title = t; }
  void SetPicture(const DialogImage& image, const DialogRect* part) override {
    picture = image.name;
    if (part) pictureRect = *part;
  }
  void AddButton(const std::string& caption, int32_t result) override { buttons.push_back({caption, result}); }
  void SetDefaultResult(int32_t result, int32_t extra) override { defaultResult = {result, extra}; }
  void SetMessage(const std::string& m) override { message = m; }
  void AddTextEntry(const std::string& text, int32_t maxLength) override {
    entryDefault = text;
    entryLength = maxLength;
  }
  void ChooseAfter(int32_t result, int32_t ms) override { timeout = {result, ms}; }
  void BindKey(int32_t key, int32_t result) override { keys[key] = result; }
  void PlaceBeside(const DialogRect& rect) override { besideRect = rect; }
  void SetTranslucent(bool on, int32_t opacity) override { translucency = on ? opacity : -1; }
  std::string EnteredText() const override { return entered; }

  std::string title, message, picture, entryDefault, entered;
  std::optional<DialogRect> pictureRect, besideRect;
  std::vector<std::pair<std::string, int32_t>> buttons;
  std::optional<std::pair<int32_t, int32_t>> defaultResult, timeout;
  std::map<int32_t, int32_t> keys;
  int32_t entryLength = 0;
  int32_t translucency = -1;
};

struct FakePictures : iDialogPictures {
  static DialogImagePtr Image(const std::string& name) {
    return std::make_shared<DialogImage>(DialogImage{name, 80, 40});
  }
  DialogImagePtr DefinitionPicture(ObjectDefinition& d) override { return Image("definition " + d.GetName()); }
  DialogImagePtr DefinitionPictureByGuid(uint32_t guid) override { return Image("guid " + std::to_string(guid)); }
  DialogImagePtr NeighbourPortrait(int16_t id) override { return Image("portrait " + std::to_string(id)); }
  DialogImagePtr FileImage(ObjectDefinition& d, int32_t n) override {
    return Image("file " + d.GetName() + " " + std::to_string(n));
  }
  DialogImagePtr ImageByResId(int32_t id) override { return Image("res " + std::to_string(id)); }
};

// Makes FakeObjectDialogs; a modal run answers with the next scripted
// result (typing the scripted text first), or waits out the time-out on
// its manual clock.
class FakeDialogShell : public iDialogShell {
 public:
  FakeDialogShell() { ObjectDialog::SetShell(this); }
  ~FakeDialogShell() override { ObjectDialog::SetShell(nullptr); }
  std::unique_ptr<iObjectDialogWindow> CreateObjectDialog(ObjectDialog& record) override {
    current = &record;
    auto w = std::make_unique<FakeObjectDialog>();
    made.push_back(w.get());
    return w;
  }
  std::optional<DialogRect> TutorialWindowRect() override { return tutorialRect; }
  void AttachToTutorialWindow(iObjectDialogWindow&) override { ++attached; }
  void RunDialog(iObjectDialogWindow& window, bool modal) override {
    auto& w = static_cast<FakeObjectDialog&>(window);
    runs.push_back(modal ? "modal" : "modeless");
    shown.push_back(w);
    if (!modal || current == nullptr) return;
    if (!answers.empty()) {
      w.entered = typed;
      const int32_t answer = answers.front();
      answers.erase(answers.begin());
      current->OnResult(answer);
      return;
    }
    // Nobody answers: the clock runs in steps of a second.
    while (w.timeout && clockMs < w.timeout->second) clockMs += 1000;
    if (w.timeout) current->OnResult(w.timeout->first);
  }
  iDialogPictures* Pictures() override { return &pictures; }

  // The record being shown.
  ObjectDialog* current = nullptr;
  std::vector<int32_t> answers;
  std::string typed;
  int32_t clockMs = 0;
  std::optional<DialogRect> tutorialRect;
  int32_t attached = 0;
  std::vector<FakeObjectDialog*> made;
  std::vector<FakeObjectDialog> shown;  // copies as each was run
  std::vector<std::string> runs;
  FakePictures pictures;
};

class FakeNeighbourhood : public iPrimitiveNeighbourhood {
 public:
  bool HasRecord(int16_t id) const override { return names.count(id) != 0; }
  std::optional<std::string> NeighbourName(int16_t id) const override {
    auto it = names.find(id);
    return it == names.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  std::optional<int16_t> FamilyOf(int16_t id) const override {
    auto it = families.find(id);
    return it == families.end() ? std::nullopt : std::optional<int16_t>(it->second);
  }
  std::optional<std::string> FamilyName(int16_t f) const override {
    auto it = familyNames.find(f);
    return it == familyNames.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  std::optional<int32_t> FamilyWorth(int16_t f) const override {
    auto it = worth.find(f);
    return it == worth.end() ? std::nullopt : std::optional<int32_t>(it->second);
  }
  std::optional<std::string> GradeText(int32_t g) const override { return "grade " + std::to_string(g); }
  std::optional<std::string> CareerLevelText(int32_t career, int32_t level, CareerText which,
                                             bool alternate) const override {
    return "career " + std::to_string(career) + "/" + std::to_string(level) + "/" +
           std::to_string(static_cast<int>(which)) + (alternate ? "b" : "a");
  }
  std::optional<Career> PersonCareer(int16_t id) const override {
    if (id == 0) return std::nullopt;
    return Career{7, 3, true};
  }
  void SetTutorialState(int32_t n) override { tutorialStates.push_back(n); }
  bool MoveToLotFamily(int16_t id) override {
    moved.push_back(id);
    return lotFamily;
  }
  bool RemoveFromFamily(int16_t id) override {
    removed.push_back(id);
    return true;
  }

  std::map<int16_t, std::string> names;
  std::map<int16_t, int16_t> families;
  std::map<int16_t, std::string> familyNames;
  std::map<int16_t, int32_t> worth;
  std::vector<int32_t> tutorialStates;
  std::vector<int16_t> moved, removed;
  bool lotFamily = true;
};

// A character the maker made; what was done to it is logged.
class FakeNewCharacter : public iNewCharacter {
 public:
  FakeNewCharacter(std::vector<std::string>& log, int32_t bodies, int32_t heads)
      : log_(log), bodies_(bodies), heads_(heads) {}
  std::optional<std::string> DefinitionString(int16_t list, int32_t n) const override {
    if (list == 8192 && n >= 1 && n <= 3) return std::string(n == 1 ? "lgt" : n == 2 ? "med" : "drk");
    return std::nullopt;
  }
  void AttachEditor() override { log_.push_back("attach"); }
  void SetAgeClass(bool child) override { log_.push_back(child ? "child" : "adult"); }
  void SetSkinTone(const std::string& tone) override { log_.push_back("skin " + tone); }
  void SetSex(bool female) override { log_.push_back(female ? "female" : "male"); }
  int32_t BodyChoices() const override { return bodies_; }
  int32_t HeadChoices() const override { return heads_; }
  void ChooseHead(int32_t n) override { log_.push_back("head " + std::to_string(n)); }
  void ChooseBody(int32_t n) override { log_.push_back("body " + std::to_string(n)); }
  void DetachEditor(bool save) override { log_.push_back(save ? "detach save" : "detach"); }
  void SetCatalogueName(const std::string& name) override { log_.push_back("name " + name); }
  void SetRecordId(int16_t id) override { log_.push_back("record " + std::to_string(id)); }
  void Delete() override { log_.push_back("delete"); }

 private:
  std::vector<std::string>& log_;
  int32_t bodies_, heads_;
};

class FakeCharacterMaker : public iCharacterMaker {
 public:
  std::unique_ptr<iNewCharacter> CreateUserCharacter() override {
    if (refuse) return nullptr;
    log.push_back("create");
    return std::make_unique<FakeNewCharacter>(log, bodies, heads);
  }
  bool refuse = false;
  int32_t bodies = 4, heads = 3;
  std::vector<std::string> log;
};

// A window of a fake interface tree.
class FakeWindow : public iUiWindow {
 public:
  FakeWindow(int32_t id = 0, bool button = false, int16_t portrait = 0) : id(id), button(button), portrait(portrait) {}
  FakeWindow& Add(int32_t childId, bool childButton, int16_t childPortrait = 0) {
    children.push_back(std::make_unique<FakeWindow>(childId, childButton, childPortrait));
    return *children.back();
  }
  int32_t ChildCount() const override { return static_cast<int32_t>(children.size()); }
  iUiWindow* Child(int32_t n) const override { return children[static_cast<size_t>(n)].get(); }
  bool IsButton() const override { return button; }
  int32_t ButtonId() const override { return id; }
  int16_t PortraitNeighbour() const override { return portrait; }
  bool StateFlag() const override { return state; }
  bool IsRelationshipWindow() const override { return relationship; }
  void SetHighlight(bool on) override { highlight = on ? 1 : 0; }

  int32_t id;
  bool button;
  int16_t portrait;
  bool state = false;
  bool relationship = false;
  int highlight = -1;
  std::vector<std::unique_ptr<FakeWindow>> children;
};

class FakeInterface : public iGameInterface {
 public:
  iUiWindow* MainWindow() override { return &root; }
  iUiWindow* LastPressedButton() override { return pressed; }
  bool LivePopupShown() const override { return popupShown; }
  std::string LivePopupPage() const override { return page; }
  int32_t ChangeCounter() const override { return counter; }
  bool HasLotView() const override { return lotView; }
  bool LotViewBusy() const override { return busy; }
  int32_t ViewRotation() const override { return rotation; }
  void ShowObject(const ShowObjectRequest& r) override { shown.push_back(r); }

  FakeWindow root;
  FakeWindow* pressed = nullptr;
  bool popupShown = false;
  std::string page;
  int32_t counter = 0;
  bool lotView = false, busy = false;
  int32_t rotation = 0;
  std::vector<ShowObjectRequest> shown;
};

// Installs fakes into the program's services and takes them out again.
class ServicesScope {
 public:
  ServicesScope() : saved_(GameServices::Get()) {}
  ~ServicesScope() { GameServices::Get() = saved_; }

 private:
  GameServices saved_;
};

}  // namespace tova_test
