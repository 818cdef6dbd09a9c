#pragma once
// What the neighbourhood asks of the object catalogue, the simulator and the
// lot's live objects. Each has a harmless default so that tools and tests can
// run the neighbourhood alone; the game supplies the real ones.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "resfile/ResStatus.h"
#include "resfile/iResFile.h"

namespace tova {

// A person definition of the catalogue as the neighbourhood sees it.
struct PersonDefinitionInfo {
  int32_t guid = 0;
  std::string name;
  // Made by the player (definition flags kind 4): may be deleted.
  bool userCharacter = false;
  // The character file the definition came from (user characters).
  std::string characterFile;
};

// The simulator's three lot value figures.
struct LotValueFigures {
  int32_t a = 0;
  int32_t b = 0;
  int32_t c = 0;
};

// A live person of the lot as the neighbourhood binds it: its definition's
// GUID and name, its neighbour id and its person data words.
class NeighborhoodPerson {
 public:
  virtual ~NeighborhoodPerson() = default;
  virtual int32_t GetGuid() const = 0;
  virtual std::string GetDefinitionName() const = 0;
  virtual int16_t GetNeighborId() const = 0;
  virtual void SetNeighborId(int16_t id) = 0;
  // kPersonDataCount words.
  virtual int16_t* PersonData() = 0;
};

// What the daily statistics row takes from the lot: its persons, the house
// ratings and the simulator's figures and money of the day.
struct LotPersonFacts {
  int32_t guid = 0;
  int32_t age = 0;
  bool female = false;
  bool employed = false;
};
struct LotDayFigures {
  int32_t objectCount = 0;
  int32_t objectsValue = 0;       // figure A
  int32_t architectureValue = 0;  // figure B
  int32_t squareFeet = 0;
  int32_t sizeClass = 0;
  int32_t furnishingsRating = 0;
  int32_t sizeRating = 0;
  int32_t yardRating = 0;
  int32_t upkeepRating = 0;
  int32_t layoutRating = 0;
  // Income, bills, food, maintenance, objects, miscellaneous, architecture.
  int32_t money[7] = {};
  int32_t funds = 0;
};

// A person object standing on the loaded lot, with the mark that tells a
// visitor (non-zero) from a member of the lot's family (0).
struct LotPersonObject {
  int16_t object = 0;
  int32_t guid = 0;
  // Made by the player (definition flags kind 4).
  bool userCharacter = false;
  int16_t visitorMark = 0;
};

class NeighborhoodServices {
 public:
  virtual ~NeighborhoodServices() = default;

  // Object catalogue.
  virtual std::optional<PersonDefinitionInfo> FindPersonDefinition(int32_t /*guid*/) { return std::nullopt; }
  virtual std::vector<PersonDefinitionInfo> ListPersonDefinitions() { return {}; }
  // The character files of the folder become person definitions.
  virtual void RegisterCharacterFolder(const std::string& /*folder*/) {}
  virtual int ReadObjectTypeTable(iResFile& /*file*/) { return 0; }
  virtual int WriteObjectTypeTable(iResFile& /*file*/) { return 0; }
  // Copies the character file of a definition to `path` without replacing
  // anything: 0, kFlatCreateExists when the target exists, else an error.
  virtual int CopyCharacterFile(int32_t /*guid*/, const std::string& /*path*/) { return kFlatOpenFailed; }
  // Loads a character file; the GUIDs of the person definitions it brought.
  virtual std::vector<int32_t> LoadCharacterFile(const std::string& /*path*/) { return {}; }

  // Removes the definition from the catalogue; false when it cannot.
  virtual bool UnloadCharacter(int32_t /*guid*/) { return false; }
  // Removes every live object of the person from the lot.
  virtual void RemoveLiveObjectsOf(int32_t /*guid*/) {}

  // A family file carries each member's user strings, catalogue name and
  // description, and portrait under the member's neighbour id; importing
  // writes them into the new character of `guid` and names it.
  virtual int ExportMemberResources(int32_t /*guid*/, iResFile& /*out*/, ResId /*id*/) { return 0; }
  virtual int ImportMemberResources(iResFile& /*in*/, ResId /*id*/, int32_t /*guid*/, const std::string& /*name*/) {
    return 0;
  }

  // Sends a command with one value to the lot's objects.
  virtual void Broadcast(int32_t /*command*/, int32_t /*value*/) {}

  // Moves a file without replacing an existing one (the data-file manager's
  // move); copies a file over an existing one when `replace` is set.
  virtual bool MoveFile(const std::string& from, const std::string& to);
  virtual bool CopyFile(const std::string& from, const std::string& to, bool replace);
  virtual bool DeleteFile(const std::string& path);
  virtual bool FileExists(const std::string& path);

  // People: a relationship's first value counts as friendship from here on.
  virtual int32_t GetFriendshipThreshold() { return 50; }

  // The persons standing on the lot and the lot's figures of the day.
  virtual std::vector<LotPersonFacts> GetLotPersons() { return {}; }
  virtual LotDayFigures GetLotDayFigures() { return {}; }

  // Simulator: the loaded lot is the tutorial lot, its money and figures.
  virtual bool IsTutorialLot() { return false; }
  virtual int32_t GetMoney() { return 0; }
  virtual LotValueFigures GetLotFigures() { return {}; }
  virtual void SetMoney(int32_t /*money*/) {}
  // A family's first day on its lot: the hour set, the day state reset and
  // the clock running.
  virtual void StartFirstDay(int32_t /*hour*/) {}
  // The application's switch that keeps the tutorial away and marks the lot.
  virtual bool IsApplicationSwitchOn() { return false; }

  // The loaded lot's live objects, as loading and evicting a lot change them.
  virtual std::vector<LotPersonObject> GetLotPersonObjects() { return {}; }
  virtual void SetVisitorMark(int16_t /*object*/, int16_t /*mark*/) {}
  virtual void RemoveLotObject(int16_t /*object*/) {}
  virtual bool HasObjectOfGuid(int32_t /*guid*/) { return false; }
  // Makes an object of the catalogue's definition on the lot; false when the
  // catalogue has none.
  virtual bool CreateObjectOfGuid(int32_t /*guid*/) { return false; }
  // Runs a named tree of the first live object of the definition.
  virtual void RunObjectTree(int32_t /*guid*/, const std::string& /*tree*/) {}
  // The object module before and after a lot's objects are read.
  virtual void PrepareEmptyLot() {}
  virtual void FinishLotLoad(int32_t /*version*/) {}
  // Runs the object module's lot event ("reset lot", "import lot", "evict lot").
  virtual void RunLotEvent(const std::string& /*event*/) {}
  // Evicting: every person goes and, when clearing, everything the player
  // built or placed beyond the original lot.
  virtual void ClearLotForEviction(bool /*clearBuilt*/) {}
  // The house viewer hears of an eviction; the floor and wallpaper
  // catalogues forget the lot on the way back to the neighbourhood.
  virtual void LotEvicted(int32_t /*lot*/) {}
  virtual void ResetPatternCatalogues() {}
};

}  // namespace tova
