#pragma once
// Everything that outlives a single lot: the neighbours (one per person
// definition, ids 1-based with reusable slots), the families with their
// money and lots, the lot positions and a few neighbourhood-wide settings.
// All of it lives in one resource file in the user-data folder, saved through
// a fresh temporary file that replaces the old one only once fully written;
// each lot's house is a file of its own in "Houses/" beside it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gamedata/Family.h"
#include "gamedata/Neighbor.h"
#include "gamedata/NeighborhoodServices.h"
#include "resfile/FixedString.h"

class iResFile;
class ReconStream;

namespace tova {

class House;

constexpr ResType kNeighborhoodSettingsChunk = TypeCode("NGBH");
constexpr ResType kNeighborsChunk = TypeCode("NBRS");

class Neighborhood {
 public:
  static constexpr int32_t kLotCount = 11;
  // The game's save version; the game context sets its own.
  static constexpr int32_t kDefaultSaveVersion = 62;
  static constexpr int32_t kSettingCount = 16;
  // Settings before this version were a single value.
  static constexpr int32_t kFirstFullSettingsVersion = 20;
  static constexpr int32_t kHighestFamilyNumber = 32767;
  static constexpr int32_t kUserCharacterNumbers = 32000;
  static constexpr int32_t kTemplateCharacterGuid = 0x7FD96B54;
  // Commands told to the lot's objects.
  static constexpr int32_t kCommandFamilyRemoved = 259;
  static constexpr int32_t kCommandMembershipChanged = 232;
  static constexpr int32_t kCommandNeighborFreed = 251;
  static constexpr int32_t kCommandLotLoaded = 246;
  static constexpr int32_t kCommandLotEvicted = 145;
  // The house file of a lot does not open.
  static constexpr int32_t kLotFileMissing = -1100;
  static constexpr int32_t kTutorialControllerGuid = static_cast<int32_t>(0xC3249A1D);
  // Simulator globals the lot load sets.
  enum : int32_t { kSimFamily = 9, kSimLot = 10, kSimApplicationSwitch = 24, kSimTutorial = 26 };
  // Setting indices.
  enum : int32_t { kSettingTutorialState = 1, kSettingTutorialLot = 2, kSettingTutorialImported = 3 };

  explicit Neighborhood(NeighborhoodServices& services);
  ~Neighborhood();
  Neighborhood(const Neighborhood&) = delete;
  Neighborhood& operator=(const Neighborhood&) = delete;

  void SetPath(const char* path) { path_.Assign(path); }
  const char* GetPath() const { return path_.c_str(); }
  void GetDirectory(FixedString& out) const;
  // "Houses/House%02d.iff" in the neighbourhood folder.
  void GetHouseFileName(int32_t lot, FixedString& out) const;
  // Replaces the lot positions with the integer pairs of a text file, one
  // pair a line (blank lines skipped); false when it cannot be opened or a
  // line is not two integers (the lines before it are kept).
  bool ReadLotPositions(const std::string& path);
  const std::vector<std::pair<int32_t, int32_t>>& LotPositions() const { return lotPositions_; }
  int32_t GetLotCount() const { return kLotCount; }

  // Loads the neighbourhood file (made when missing): 0, or the file's status.
  int Init();
  // Saves at the given record version: 0 or an error.
  int Save(int32_t version);

  // The record version saves take when the caller gives none (swaps).
  void SetSaveVersion(int32_t version) { saveVersion_ = version; }
  int32_t GetSaveVersion() const { return saveVersion_; }

  // The one house lots are loaded into (the game context's).
  void SetHouse(House* house) { house_ = house; }
  House* GetHouse() const { return house_; }

  // Reloads the neighbourhood file and loads a lot into the house, moving
  // family `moveIn` there first when it is above 0: 0 or an error
  // (kLotFileMissing when the house file does not open).
  int LoadLot(int32_t lot, int32_t moveIn);
  // The loaded lot saved to its house file, then the neighbourhood: 0, the
  // house's save result, or the neighbourhood's when only that failed.
  int SaveCurrentLot();
  // Loads lot 0, the neighbourhood view.
  int ReturnToNeighborhood();
  // Moves the family out of a lot (and, with `clearBuilt`, clears what was
  // built there): -1 while a lot is loaded, or when no family lives there and
  // nothing is to be cleared.
  int EvictLot(int32_t lot, bool clearBuilt);
  // Every person on the lot a visitor (keeping its mark, else 1) unless a
  // member of the lot's family (0).
  void RecomputeVisitorMarks();
  // The other lots, nearest first, once a lot is loaded.
  const std::vector<int32_t>& NearbyLots() const { return nearbyLots_; }
  // Writes the tutorial state (n + 1) into the neighbourhood file and
  // memory, with no tutorial lot; 0 or the file's status.
  int SetTutorialState(int32_t n);
  void CancelTutorial();

  int32_t GetCurrentHouseNumber() const { return currentLot_; }
  void SetCurrentHouseNumber(int32_t lot) { currentLot_ = lot; }

  // -1 when the lot is outside 1..11 or another family lives there.
  int MoveFamilyToLot(Family& family, int32_t lot);
  // Swaps the house files and families of two lots; on failure `message`
  // says why and no house file has moved.
  int SwapLots(int32_t a, int32_t b, FixedString& message);

  // The lowest free number from 1; null when none is left.
  Family* NewFamily();
  // -1 for family 0 or a family that still has a lot.
  int RemoveFamily(Family* family);
  Family* FindFamily(int32_t number) const;
  Family* FindFamilyByHouse(int32_t lot) const;
  const std::vector<std::unique_ptr<Family>>& Families() const { return families_; }
  void SortFamilies();
  int AddToFamily(Neighbor& neighbor, Family& family);
  int RemoveFromFamily(Neighbor& neighbor);
  // Money and house for a family away from the loaded lot; for the family
  // living there, the simulator's money and the lot's figures.
  int32_t GetFamilyWorth(const Family& family);
  int32_t GetHouseValue();
  // Mutual friends of the members outside the family; clears `changed`.
  int32_t CountFamilyFriends(Family& family, int32_t friendshipThreshold);

  Neighbor* GetNeighbor(int32_t id) const;
  Neighbor* FindNeighborByGUID(int32_t guid) const;
  // The next used id after `id`, 0 when none.
  int32_t GetNextNeighborIndex(int32_t id) const;
  int32_t GetNeighborSlotCount() const { return static_cast<int32_t>(neighbors_.size()); }
  Neighbor* AddNeighbor(const PersonDefinitionInfo& definition);
  void FreeNeighbor(Neighbor* neighbor);
  // Appends the day's statistics row to the history of the family living on
  // the loaded lot (none for family 0 or no family).
  void ComputeLotStatistics();
  // Gives a live person its neighbour (made when the neighbourhood has none
  // for its GUID), the kept person data and its family number; the
  // neighbour, or null when no slot is left.
  Neighbor* BindPerson(NeighborhoodPerson& person);
  // Keeps the live person's data words in its neighbour.
  void UpdateNeighborFromPerson(NeighborhoodPerson& person);
  // The neighbour queries of the behaviour trees that need no live person.
  int32_t GetNeighborInfo(int32_t id, int32_t query) const;

  // Copies the template character to "User%05d.iff" under the first free
  // number, loads it and gives the new person a neighbour.
  int CreateUserCharacter(Neighbor** out);
  // Deletes a user character that no family has: its live objects, its
  // definition, its neighbour and its file. -1 when refused.
  int DeleteUserCharacter(Neighbor* neighbor);
  int32_t CountUserCharacters();
  int32_t GetNextUserCharacterNumber() const { return nextUserCharacter_; }
  void SetNextUserCharacterNumber(int32_t n) { nextUserCharacter_ = n; }

  // Writes the family file "<name>_<number>.FAM" into the folder: 0, -1 for
  // an empty folder, -50 when the house copy or the final move fails, else
  // the file's status.
  int ExportFamily(const std::string& folder, Family& family);
  // Brings a family file in as a new family with new user characters; a
  // family living on the imported lot moves out and is returned as
  // displaced. 0, -1 for an unreadable family or member list, -50 when the
  // file cannot become the lot's house file, else the file's status.
  int ImportFamily(const std::string& path, Family** newFamily, Family** displaced);
  // A family's file name: its name with characters that would leave or
  // break the folder replaced, "_" and its number.
  static std::string FamilyFileStem(const Family& family);

  int16_t GetSetting(int32_t index) const;
  void SetSetting(int32_t index, int16_t value);
  const std::string& GetMissingCharacters() const { return missingCharacters_; }
  // "Neighbors:" and one "id = name" line per neighbour.
  std::string Dump() const;

  // The records of the neighbours chunk and the settings chunk, in every
  // stream mode.
  void ReconstituteNeighbors(ReconStream& stream, int32_t version);
  void ReconstituteSettings(ReconStream& stream, int32_t version);

 private:
  void Clear();
  int ReadFile(iResFile& file);
  int WriteFile(iResFile& file, int32_t version);
  void RebuildFamilyNumbers();
  int LoadHouseFile(int32_t lot, int32_t& version, bool& imported);
  void SortNearbyLots(int32_t lot);

  NeighborhoodServices& services_;
  FixedPath path_;
  std::vector<std::pair<int32_t, int32_t>> lotPositions_;
  int16_t settings_[kSettingCount] = {};
  std::vector<std::unique_ptr<Neighbor>> neighbors_;
  std::vector<std::unique_ptr<Family>> families_;
  int32_t nextUserCharacter_ = 0;
  int32_t currentLot_ = 0;
  int32_t saveVersion_ = kDefaultSaveVersion;
  std::string missingCharacters_;
  House* house_ = nullptr;
  std::vector<int32_t> nearbyLots_;
};

}  // namespace tova
