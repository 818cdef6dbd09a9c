#pragma once
// What the game primitives, the object dialogs and the tutorial reach above
// the object module: the neighbourhood's names, families and careers, the
// game windows (window tree, live pop-up, change counter), the shell's view
// service and lot view, and the sound and debug switches. The upper layers
// install their implementations; until then every answer is "nothing there"
// and tests install small fakes.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tova {

class cSimulator;
class cXObject;
class ObjectDefinition;

// A text of a career level.
enum class CareerText : int32_t { kName = 0, kDescription = 1, kOffer = 2 };

// What the behaviour trees ask of the neighbourhood.
class iPrimitiveNeighbourhood {
 public:
  virtual ~iPrimitiveNeighbourhood() = default;
  virtual bool HasRecord(int16_t /*neighbourId*/) const { return false; }
  virtual std::optional<std::string> NeighbourName(int16_t /*neighbourId*/) const { return std::nullopt; }
  // The family id kept in the record's person data (word 61).
  virtual std::optional<int16_t> FamilyOf(int16_t /*neighbourId*/) const { return std::nullopt; }
  virtual std::optional<std::string> FamilyName(int16_t /*family*/) const { return std::nullopt; }
  virtual std::optional<int32_t> FamilyWorth(int16_t /*family*/) const { return std::nullopt; }
  virtual std::optional<std::string> GradeText(int32_t /*grade*/) const { return std::nullopt; }
  // A career's level text; alternate picks the second text where the
  // career data has two.
  virtual std::optional<std::string> CareerLevelText(int32_t /*career*/, int32_t /*level*/, CareerText /*which*/,
                                                     bool /*alternate*/) const {
    return std::nullopt;
  }
  // The acting person's current career and level, and the person's flag
  // that picks the second of two career texts.
  struct Career {
    int32_t career = 0;
    int32_t level = 0;
    bool alternate = false;
  };
  virtual std::optional<Career> PersonCareer(int16_t /*neighbourId*/) const { return std::nullopt; }
  // The settings behind tutorial state n + 1 (n 0-2), written at once.
  virtual void SetTutorialState(int32_t /*n*/) {}
  // The record joins the current lot's family (out of its old one first);
  // false when there is no lot family or a step fails.
  virtual bool MoveToLotFamily(int16_t /*neighbourId*/) { return false; }
  virtual bool RemoveFromFamily(int16_t /*neighbourId*/) { return false; }
};

// A new user character being made by the make-new-character primitive.
class iNewCharacter {
 public:
  virtual ~iNewCharacter() = default;
  // String n (1-based) of a string list of the new definition's file.
  virtual std::optional<std::string> DefinitionString(int16_t /*list*/, int32_t /*n*/) const { return std::nullopt; }
  // The appearance editor on the new definition.
  virtual void AttachEditor() = 0;
  virtual void SetAgeClass(bool child) = 0;
  virtual void SetSkinTone(const std::string& tone) = 0;
  virtual void SetSex(bool female) = 0;
  virtual int32_t BodyChoices() const = 0;
  virtual int32_t HeadChoices() const = 0;
  virtual void ChooseHead(int32_t n) = 0;
  virtual void ChooseBody(int32_t n) = 0;
  virtual void DetachEditor(bool save) = 0;
  // The catalogue name, written to the definition's file.
  virtual void SetCatalogueName(const std::string& name) = 0;
  virtual void SetRecordId(int16_t id) = 0;
  // Deletes the character again (file, definition and record).
  virtual void Delete() = 0;
};

class iCharacterMaker {
 public:
  virtual ~iCharacterMaker() = default;
  // A new user character with its record and definition; null on failure.
  virtual std::unique_ptr<iNewCharacter> CreateUserCharacter() = 0;
};

// One window of the interface's window tree as the tutorial sees it.
class iUiWindow {
 public:
  virtual ~iUiWindow() = default;
  virtual int32_t ChildCount() const = 0;
  virtual iUiWindow* Child(int32_t n) const = 0;
  virtual bool IsButton() const { return false; }
  virtual int32_t ButtonId() const { return 0; }
  // The neighbour whose portrait is the button's image, 0 for none.
  virtual int16_t PortraitNeighbour() const { return 0; }
  virtual bool StateFlag() const { return false; }
  virtual bool IsRelationshipWindow() const { return false; }
  virtual void SetHighlight(bool /*on*/) {}
};

// The game windows and the shell as the trees reach them.
class iGameInterface {
 public:
  virtual ~iGameInterface() = default;
  virtual iUiWindow* MainWindow() { return nullptr; }
  // The last pressed button (null for none).
  virtual iUiWindow* LastPressedButton() { return nullptr; }
  // The people panel's live pop-up: shown, and its page name.
  virtual bool LivePopupShown() const { return false; }
  virtual std::string LivePopupPage() const { return {}; }
  virtual int32_t ChangeCounter() const { return 0; }
  // The application's current lot view: none, or its busy test.
  virtual bool HasLotView() const { return false; }
  virtual bool LotViewBusy() const { return false; }
  // The world's view rotation (0-3).
  virtual int32_t ViewRotation() const { return 0; }
  // The view service shows an object: three options (byte 4 bits 0, 1
  // and 4), the time-out, the two view settings and the last flag.
  struct ShowObjectRequest {
    int16_t object = 0;
    bool option0 = false, option1 = false, option4 = false;
    int32_t timeoutMs = 0;
    int32_t setting3 = 0, setting2 = 0;
    bool notBit2 = true;
    std::string caption;
  };
  virtual void ShowObject(const ShowObjectRequest& /*request*/) {}
};

// What the primitives ask of the people beyond the live person itself.
class iPeopleCalls {
 public:
  virtual ~iPeopleCalls() = default;
  // A named entry on the person's own list of pending menu entries.
  virtual void AddPendingMenuEntry(cXObject& /*person*/, const std::string& /*name*/, const int16_t (&/*params*/)[4]) {}
  // The partner becomes the person's pending interaction partner when the
  // person has such a request open; whether it did.
  virtual bool SetPendingPartner(cXObject& /*person*/, cXObject& /*partner*/) { return false; }
  // The two 16-bit words the person's routing keeps.
  virtual void SetRoutingPair(cXObject& /*person*/, int16_t /*a*/, int16_t /*b*/) {}
  // The person's footprint box at its own position.
  virtual void RecomputeFootprint(cXObject& /*person*/) {}
  // The person's definition takes its next body choice (written back).
  virtual void NextBodyChoice(cXObject& /*person*/) {}
};

struct GameServices {
  cSimulator* simulator = nullptr;
  iPrimitiveNeighbourhood* neighbourhood = nullptr;
  iCharacterMaker* characters = nullptr;
  iGameInterface* ui = nullptr;
  iPeopleCalls* people = nullptr;
  // The sound trace and sound debugging switches, the debug output and the
  // debug log (nothing is written while unset).
  bool soundTrace = false;
  bool soundDebugging = false;
  std::function<void(const std::string&)> debugOutput;
  std::function<void(const std::string&)> debugLog;

  // The program's services (never null; an empty set until installed).
  static GameServices& Get() {
    static GameServices services;
    return services;
  }
};

}  // namespace tova
