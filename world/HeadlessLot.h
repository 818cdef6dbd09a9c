#pragma once
// A lot read from a file for a run without a window: the catalogue of a
// data root, a house whose parts are the live world, objects and
// simulator, the global context and the services the simulation reads,
// and the live person motion over the house's rooms. Everything installed
// goes again when the lot is destroyed. Tools (simrun, routedump) and tests
// tick it one simulator tick after the other.

#include <functional>
#include <memory>
#include <string>

#include "gamedata/GlobalContext.h"
#include "gamedata/House.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/people/LivePersonMotion.h"

class cLotHouseParts;
class cLotNeighborhoodServices;
class IFFResFile2;

namespace tova {

class Family;
class HeadlessGait;
class Neighborhood;
class iCharacterLibrary;
class iPeopleHost;
class cXObject;
class cXPerson;
class ObjectModule;
class TreeTableServices;
class cSimulator;

class HeadlessLot {
 public:
  // root: the data root, with or without a closing '/'.
  explicit HeadlessLot(std::string root);
  ~HeadlessLot();
  HeadlessLot(const HeadlessLot&) = delete;
  HeadlessLot& operator=(const HeadlessLot&) = delete;

  // Reads the lot file; false with a message in `error` when it cannot be
  // opened or holds no lot that loads.
  bool Load(const std::string& path, std::string& error);
  // Loads the lot family `number` lives on from the neighbourhood file of
  // the data root as the game does when the family moves in: the house
  // value is charged to the family's funds, and members not standing on the
  // lot are placed at its entry (the middle of the front edge, or the
  // nearest tile that takes them). False with a message in `error`.
  bool LoadFamily(int32_t number, std::string& error);
  // The lot number after LoadFamily (-1 before).
  int32_t FamilyLot() const { return familyLot_; }

  // The lot file's version after Load.
  int32_t Version() const { return version_; }

  // Detects the rooms of both levels; the objects standing on the lot learn
  // the room they stand in.
  void FindRooms();

  // People walk with the headless gait: the standard animation names of the
  // root's global file and a library that plays them without character
  // files, and their clock is the simulator's. False when the global file
  // cannot be opened.
  bool UseHeadlessGait();
  // As UseHeadlessGait, with the real character library instead: bodies
  // made by it, their practices played on each tick. The library must
  // outlive the lot.
  bool UseCharacterLibrary(iCharacterLibrary& library);
  // One simulator tick (people's practices played on to the clock first).
  void Tick();

  // The template person, or an object of the definition with the GUID, made
  // and placed on the centre of a tile; null with a message in `error` when
  // the definition is missing or the tile does not take it.
  cXPerson* AddPerson(int32_t x, int32_t y, int32_t level, std::string& error);
  // `prepare` runs on the new object before its placement test.
  cXObject* AddObject(uint32_t guid, int32_t x, int32_t y, int32_t level, std::string& error,
                      const std::function<void(cXObject&)>& prepare = {});

  const std::string& Root() const { return root_; }
  House& GetHouse() { return *house_; }
  cLotHouseParts& Parts() { return *parts_; }
  ObjectModule& Module();
  cSimulator& Simulator();
  ObjectFolder& Catalogue() { return catalogue_; }
  LivePersonMotion& Motion() { return motion_; }

 private:
  std::string root_;
  // The catalogue reads its tree tables through these: they outlive it.
  std::unique_ptr<TreeTableServices> tables_;
  ObjectFolder catalogue_;
  cLotHouseParts* parts_ = nullptr;
  std::unique_ptr<House> house_;
  GlobalContext context_;
  LivePersonMotion motion_;
  std::unique_ptr<IFFResFile2> globalFile_;
  bool LoadNameTables();

  std::unique_ptr<HeadlessGait> gait_;
  iCharacterLibrary* library_ = nullptr;
  std::unique_ptr<iPeopleHost> peopleHost_;
  std::unique_ptr<cLotNeighborhoodServices> neighborhoodServices_;
  std::unique_ptr<Neighborhood> neighborhood_;
  int32_t version_ = 0;
  int32_t familyLot_ = -1;

  bool PlaceMembers(const Family& family, std::string& error);
  // Reads the data root's neighbourhood file, its characters joining the catalogue.
  bool OpenNeighborhood(std::string& error);
};

}  // namespace tova
