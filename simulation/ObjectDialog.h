#pragma once
// An object's question to the player: a message, a choice of two or three
// buttons, a text entry or a tutorial page. The dialog primitive fills a
// record from the request's eight operand bytes and queues it on the object
// module; the module's per-tick step shows it as a picture dialog through
// the shell, and the dialog's answer (command 1) comes back as the record's
// state: 2, 3 or 4 for the first, second and third button.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "simulation/ObjectDialogRecord.h"
#include "simulation/TreeZaz.h"

class StringSet;

namespace tova {

class cXObject;
class ObjectDefinition;
class ResourceSource;

struct DialogRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const DialogRect&, const DialogRect&) = default;
};

// A picture the shell made for a dialog.
struct DialogImage {
  std::string name;
  int32_t width = 0, height = 0;
  DialogRect Bounds() const { return {0, 0, width, height}; }
};
using DialogImagePtr = std::shared_ptr<DialogImage>;

// The picture dialog window (the game windows make it).
class iObjectDialogWindow {
 public:
  virtual ~iObjectDialogWindow() = default;
  virtual void SetPlacement(int32_t mode, int32_t x, int32_t y, const DialogRect& rect) = 0;
  virtual void SetTitle(const std::string& title) = 0;
  // The whole image, or the part when given.
  virtual void SetPicture(const DialogImage& image, const DialogRect* part) = 0;
  virtual void AddButton(const std::string& caption, int32_t result) = 0;
  virtual void SetDefaultResult(int32_t result, int32_t extra) = 0;
  virtual void SetMessage(const std::string& message) = 0;
  virtual void AddTextEntry(const std::string& text, int32_t maxLength) = 0;
  virtual void ChooseAfter(int32_t result, int32_t milliseconds) = 0;
  virtual void BindKey(int32_t key, int32_t result) = 0;
  virtual void PlaceBeside(const DialogRect& rect) = 0;
  virtual void SetTranslucent(bool on, int32_t opacity) = 0;
  virtual std::string EnteredText() const = 0;
};

// Where pictures come from (the game windows, the catalogue and the
// neighbourhood); null for no picture.
class iDialogPictures {
 public:
  virtual ~iDialogPictures() = default;
  // The catalogue image, or a person's portrait.
  virtual DialogImagePtr DefinitionPicture(ObjectDefinition&) { return nullptr; }
  virtual DialogImagePtr DefinitionPictureByGuid(uint32_t) { return nullptr; }
  virtual DialogImagePtr NeighbourPortrait(int16_t) { return nullptr; }
  // An image by number from the definition's own file.
  virtual DialogImagePtr FileImage(ObjectDefinition&, int32_t) { return nullptr; }
  virtual DialogImagePtr ImageByResId(int32_t) { return nullptr; }
  // The portrait strip of the relationship panel's person, the job
  // picture of the people panel.
  virtual DialogImagePtr RelationshipPortraits() { return nullptr; }
  virtual DialogImagePtr JobPicture() { return nullptr; }
};

// The shell's part: placement, the tutorial window, running the window.
class ObjectDialog;

class iDialogShell {
 public:
  virtual ~iDialogShell() = default;
  // A dialog window linked to the record: its answer (command 1) goes to
  // the record's OnResult.
  virtual std::unique_ptr<iObjectDialogWindow> CreateObjectDialog(ObjectDialog& record) = 0;
  struct Placement {
    int32_t mode = 0, x = 0, y = 0;
    DialogRect rect;
  };
  virtual Placement GetDialogPlacement() { return {}; }
  // The tutorial window's rectangle and the placement it gives (none: its
  // own rectangle); nullopt without a tutorial window.
  virtual std::optional<DialogRect> TutorialWindowRect() { return std::nullopt; }
  virtual std::optional<DialogRect> TutorialWindowPlacement() { return std::nullopt; }
  virtual void AttachToTutorialWindow(iObjectDialogWindow&) {}
  // Runs the window, modally when asked (the answer arrives before this
  // returns).
  virtual void RunDialog(iObjectDialogWindow& window, bool modal) = 0;
  virtual iDialogPictures* Pictures() { return nullptr; }
};

class ObjectDialog : public ObjectDialogRecord {
 public:
  enum Kind : int32_t { kMessage = 0, kChoice = 1, kThreeWay = 2, kTextEntry = 3, kTutorialPage = 4 };
  enum Text : int32_t { kTitle = 0, kButton1, kButton2, kButton3, kMessageText, kEntry, kTextCount };
  enum Result : int32_t { kFirst = 2, kSecond = 3, kThird = 4 };
  static constexpr int32_t kStringTable = 301;
  static constexpr int32_t kButtonTable = 142;
  static constexpr int32_t kAutoChoiceMs = 40000;
  static constexpr int32_t kEntryLength = 999;
  static constexpr int32_t kTranslucency = 200;
  static constexpr uint32_t kSpecialGuid = 0xC3249A1D;

  // The shell that shows the records; null shows nothing (the record
  // waits).
  static void SetShell(iDialogShell* shell) { shell_ = shell; }
  static iDialogShell* GetShell() { return shell_; }
  // The interface's dialog strings (table 142), loaded once on first use;
  // tests hand their own (null: load again).
  static void SetButtonStrings(const StringSet* strings);
  static std::string ButtonString(int32_t n);

  // A record filled from the request's operand bytes, asked by me from the
  // frame's tree.
  static std::unique_ptr<ObjectDialog> FromRequest(cXObject& me, TreeStackFrame& frame,
                                                   const std::array<uint8_t, 8>& bytes);

  void Show() override;
  void Close() override;
  // The dialog's command 1: the chosen result.
  void OnResult(int32_t result);

  int32_t GetKind() const { return kind_; }
  const std::string& GetText(Text t) const { return texts_[static_cast<size_t>(t)]; }
  bool Waits() const { return waitFlag_; }
  bool ContinuesAtOnce() const { return flagA_; }
  int32_t ThreeWayTemp() const { return threeWayTemp_; }
  bool IsTutorial() const { return tutorial_; }
  bool IsSpecial() const { return special_; }
  const DialogImagePtr& GetPicture() const { return picture_; }
  const DialogRect& GetPictureRect() const { return pictureRect_; }
  bool IsShowing() const { return window_ != nullptr; }
  // The primitive read the answer: the record is finished.
  void MarkRead() { SetState(kStateFinished); }

 private:
  explicit ObjectDialog(cXObject* asker) : ObjectDialogRecord(asker) {}
  void FillTexts(ResourceSource* file, const std::array<uint8_t, 8>& bytes);
  void FillPicture(cXObject& me, TreeStackFrame& frame, int32_t source, int32_t number, ObjectDefinition* named,
                   ResourceSource* file);
  int32_t LastResult() const;

  ObjectDefinition* definition_ = nullptr;
  std::array<std::string, kTextCount> texts_;
  int32_t kind_ = kMessage;
  bool flagA_ = false;
  bool waitFlag_ = true;
  int32_t threeWayTemp_ = 0;
  int16_t stackObject_ = 0;
  bool tutorial_ = false;
  bool special_ = false;
  DialogImagePtr picture_;
  DialogRect pictureRect_;
  std::unique_ptr<iObjectDialogWindow> window_;

  static inline iDialogShell* shell_ = nullptr;
};

}  // namespace tova
