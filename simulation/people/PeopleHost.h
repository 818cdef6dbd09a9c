#pragma once
// What people ask of the layers above and beside them: the shell's switches
// and message box, the house's counters, the neighbourhood, the rooms of the
// lot and the clock. The game installs one host; until then every answer is
// the quiet default below (tests install a recording one).

#include <array>
#include <cstdint>
#include <string>

#include "gamedata/TilePosition.h"

namespace tova {

class cXObject;
class cXPerson;
class ObjectDefinition;
class ObjectModule;
class ResourceSource;
struct TreeTableData;

class iPeopleHost {
 public:
  virtual ~iPeopleHost() = default;

  // ---- the shell's switches ----
  virtual bool FreeWill() const { return true; }
  // Start switches.
  virtual bool DemoMode() const { return false; }
  virtual bool SoundGuys() const { return false; }
  // Console options.
  virtual bool AllMenus() const { return false; }
  virtual bool AllowInUse() const { return false; }
  virtual void ShowMessage(const std::string& /*text*/, const std::string& /*title*/) {}
  virtual void DebugLog(const std::string& /*line*/) {}
  // An amount of money shown floating above the person.
  virtual void ShowMoney(cXPerson& /*person*/, int32_t /*amount*/) {}
  // The person the player controls (besides the selected one).
  virtual bool IsControlled(const cXPerson& /*person*/) const { return false; }
  virtual void Broadcast(int32_t /*command*/, intptr_t /*argument*/) {}

  // ---- the neighbourhood and the house ----
  virtual void CopyToNeighbor(cXPerson& /*person*/) {}
  virtual void FillFromNeighbor(cXPerson& /*person*/) {}
  // The person's definition is one of the current house's family: placing
  // it after a load resets it.
  virtual bool IsHouseMember(const cXPerson& /*person*/) const { return false; }
  // One sample of the house's statistics; routing adds to its routing
  // counter too.
  virtual void CountHouseSample(bool /*routing*/) {}

  // ---- the clock ----
  virtual uint32_t GetTickCount() const { return 0; }
  virtual int32_t GetHour() const { return 12; }
  // The simulator's clock value that the activity log stamps samples with.
  virtual int32_t GetClock() const { return static_cast<int32_t>(GetTickCount()); }

  // ---- the lot ----
  // Room id of a tile (0 outside); the world's answer by default.
  virtual int16_t RoomAt(const cXObject& person) const;
  // The object's position lies inside the lot, not on or past its border.
  virtual bool IsInsideLot(const cXObject& object) const;
  // The object's tile may be stood on: walkable or floored.
  virtual bool IsStandable(const cXObject& object) const;
  virtual float RoomScore(int16_t /*room*/) const { return 0; }
  virtual void SetRoomLights(int16_t /*room*/, bool /*on*/) {}

  // ---- game data ----
  // The object's interaction table (its definition's by default).
  virtual TreeTableData* GetTreeTable(cXObject& object);
  // The catalogue's definition of that GUID (the module's catalogue by
  // default), null when there is none.
  virtual ObjectDefinition* FindDefinition(ObjectModule& module, uint32_t guid);
  // The global behaviour file (curve tables 501 to 504): the one the
  // constants tables are read from by default; null: none.
  virtual ResourceSource* GlobalFile();
  // The id of the definition's own motive-curve table, 0 for none.
  virtual int16_t OwnCurveTable(ObjectDefinition& /*definition*/) { return 0; }
  // The names of an outfit of a user character (the first by sex), false
  // when there is no such outfit.
  virtual bool GetOutfit(int16_t /*character*/, int16_t /*outfit*/, int16_t /*sex*/,
                         std::array<std::string, 3>& /*names*/) {
    return false;
  }
  // A suit name as the definition's appearance editing writes it.
  virtual std::string NormalizeSuitName(ObjectDefinition* /*definition*/, const std::string& name) { return name; }
  // The name of a definition for the logs; its GUID as a number when it is
  // unknown.
  virtual std::string DefinitionName(uint32_t guid) const { return std::to_string(guid); }
};

// The installed host (never null).
iPeopleHost& PeopleHost();
void SetPeopleHost(iPeopleHost* host);

}  // namespace tova
