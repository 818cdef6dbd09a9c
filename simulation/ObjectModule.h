#pragma once
// The live objects of the current lot: object ids (1 to 32767, the lowest
// free one first), the object list, the per-object scheduler words the
// simulator's object pass reads, and the interpreter's node budget, which
// grows with the people on the lot.

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "gamedata/Commander.h"
#include "resfile/ReconStream.h"
#include "simulation/GameShell.h"
#include "simulation/ObjectDialogRecord.h"
#include "simulation/cXObject.h"

class iResFile;

namespace tova {

class ObjectFolder;
class ObjectDefinition;
class cXMTObject;

// Scheduler word: low 16 bits a sleep countdown, high 16 bits state bits.
enum : uint32_t {
  kSchedulerIdle = 0x0000FFFF,
  kCountdownNone = 0xFFFF,
  kCountdownWoken = 0xFFFE,
  kSchedActive = 1,
  kSchedWord60 = 2,
  kSchedInError = 4,
  kSchedOffersInteractions = 8,
};

constexpr int32_t kSimulatorGlobalCount = 32;
// The definition of the lot's one special automatic object.
constexpr uint32_t kSpecialObjectGuid = 0x3EEC206C;

class ObjectModule : public Commander {
 public:
  static constexpr int32_t kMaxObjectId = 32767;
  // The version houses are saved at.
  static constexpr int32_t kSaveVersion = 62;

  explicit ObjectModule(ObjectFolder* catalogue = nullptr);
  ~ObjectModule() override;

  ObjectFolder* GetCatalogue() const { return catalogue_; }
  // The slot points every lot shares: the point slots of 'SLOT' 100 of the
  // catalogue's global file, read when the module is made and on command
  // 267. A file without them leaves none.
  const std::vector<SlotPoint>& GlobalSlotPoints() const { return globalSlotPoints_; }
  void LoadGlobalSlotPoints(ResourceSource* globalFile);

  // The lot the objects stand on and the view that shows it; either may be
  // null (no world: nothing is on the lot; no view: nothing is redrawn).
  void SetLot(iLotWorld* world, iLotView* view) { world_ = world; view_ = view; }
  iLotWorld* GetWorld() const { return world_; }
  iLotView* GetView() const { return view_; }
  int32_t GetViewLevel() const { return view_ ? view_->GetViewLevel() : 1; }
  // The shell's switches; never null (all off until a shell is set).
  void SetShell(iGameShell* shell) { shell_ = shell ? shell : &noShell_; }
  iGameShell& GetShell() const { return *shell_; }
  bool FreePlacement() const { return shell_->FreePlacement(); }
  void MarkDrawOrderDirty() { drawOrderDirty_ = true; }
  bool IsDrawOrderDirty() const { return drawOrderDirty_; }
  // The object in the world cell and those stacked in its leading entries.
  void ObjectsInCell(TileLocation tile, std::vector<cXObject*>& out) const;
  // What blocks at the tile: its own flags and the turned blocking words of
  // the objects there; turned left by 8 - rotation when rotation >= 0.
  uint8_t GetTileBlockMask(TileLocation tile, int32_t rotation) const;

  // Registers the object under id (0: the lowest free one); the module owns
  // it from then on. 0 when the id is out of range or taken.
  int16_t AddObject(std::unique_ptr<cXObject> object, int16_t id, bool append);
  // A new object of the definition's class, not yet registered: persons
  // through the maker the people code registers (none until then), plain
  // objects for every type but the cursor (9) and the portal (8) types.
  // Portals (the parts of a group whose definition type is 8) are doors.
  using PersonMaker = std::unique_ptr<cXObject> (*)(ObjectDefinition*, ObjectModule*);
  static void SetPersonMaker(PersonMaker maker) { personMaker_ = maker; }
  static std::unique_ptr<cXObject> MakePerson(ObjectDefinition* d, ObjectModule* m) {
    return personMaker_ ? personMaker_(d, m) : nullptr;
  }
  // A portal part joined to the lead's group (a null lead: a new group).
  static std::unique_ptr<cXObject> MakePortal(ObjectDefinition* d, ObjectModule* m, cXMTObject* lead = nullptr);
  std::unique_ptr<cXObject> MakeObject(ObjectDefinition* definition);
  // Creates, registers at the head, initialises, stamps and resets a single
  // object; the new id, or 0. A definition of a multi-tile group makes
  // the whole group.
  int16_t CreateObject(ObjectDefinition* definition);
  // A group: one part per part definition of the definition's group, the
  // first made the lead; the lead's id, or 0 (the parts made are removed).
  int16_t CreateGroup(ObjectDefinition* definition);
  // Cursor objects of the cursor definition carrying the object of that id
  // (0: none), or a new object of the definition marked as a purchase; the
  // cursor part carrying it, or 0.
  int16_t AttachToCursor(int16_t id, ObjectDefinition* cursor, int32_t level);
  int16_t AttachNewObjectToCursor(ObjectDefinition* definition, ObjectDefinition* cursor, int32_t level);

  // The 'ObjM' record body at the save version; false when damaged (the
  // objects read so far stay registered). Before version 47 the body holds
  // only the tutorial object: the objects are in their own 'Rcon' records.
  bool Transfer(ReconStream& stream, int32_t version);
  // The objects in a house file: the catalogue's type table, then 'ObjM' 1
  // at the version (older than 47: one 'Rcon' record per object, ids 1 to
  // n in list order, first). Load deletes every object first, then reads
  // them back, places them, adds the automatic objects and runs the grid
  // check (its lines in gridLines when given). Resource status codes; 0 is
  // success.
  int Save(iResFile& file, int32_t version);
  int Load(iResFile& file, int32_t version, std::vector<std::string>* gridLines = nullptr);
  // Deletes every object.
  void Clear();
  // The record's body for the record stream (a damaged body fails it).
  void Reconstitute(ReconStream& stream, int32_t version) {
    if (!Transfer(stream, version)) stream.Fail();
  }
  cXObject* GetTutorialObject() const { return tutorialObject_; }
  // The global-call object list (global calls 10 and 11 fill it).
  std::vector<cXObject*>& GlobalCallList() { return globalCallList_; }
  // The text the last text-entry dialog returned, one for the program
  // (saved with the module's record).
  static std::string& GlobalAnswer();

  // Takes the object out of the world, then removes it. An object that is
  // running (in its tick or a synchronous run) is only queued: marked
  // being deleted, out of the world, and removed by ProcessDeletions.
  void DeleteObject(int16_t id);
  // Removes the object (its whole group unless thisPartOnly) and everything
  // in its slots, unregisters and deletes it.
  void RemoveObject(int16_t id, bool thisPartOnly = false);
  // Queues the object (a group part without entry tree 8: its whole group)
  // for deletion at the end of the tick; takes it out of the world.
  void QueueDeletion(int16_t id, bool flag);
  const std::vector<int16_t>& DeletionQueue() const { return deletionQueue_; }
  // The neighbourhood's notice that the lot's people changed; it runs from
  // ProcessDeletions on a tick that is a multiple of 40 after a load or a
  // relationship change between two neighbours.
  void SetNeighbourhoodRefresh(std::function<void()> refresh) { neighbourhoodRefresh_ = std::move(refresh); }
  void OnRelationshipChanged() { refresh_ = true; }
  bool RefreshPending() const { return refresh_; }
  // Shows new dialog requests and drops finished ones; unless skip,
  // deletes the queued objects in queue order. The selected person (the
  // next one is selected when none is, or, outside free mode, when the
  // selected one is not of the family).
  cXObject* ProcessDeletions(bool skip, int32_t tickCount = 0);
  // Deletes every object (whole groups) standing beyond a lot of this size.
  void TrimToLot(int32_t size);
  // After a load: every object back in its cell, in list order.
  void PlaceAllObjects(int32_t version);
  // One instance of every automatic definition of the catalogue.
  void CreateAutomaticObjects();
  int16_t GetSpecialObjectId() const { return specialId_; }
  // The grid check's lines: cells and objects that disagree. Nothing is
  // repaired.
  std::vector<std::string> GridCheck() const;
  // The selected person (state value 2), or null.
  cXObject* GetSelectedPerson() const;
  void SetTutorialObject(cXObject* object);
  cXObject* GetObjectById(int16_t id) const;
  cXObject* FirstObject() const { return first_; }
  int32_t ObjectCount() const;
  int32_t IdCount() const { return static_cast<int32_t>(objects_.size()); }
  int32_t PersonCount() const;

  uint32_t GetSchedulerWord(int16_t id) const;
  void SetSchedulerWord(int16_t id, uint32_t word);
  uint16_t GetCountdown(int16_t id) const { return static_cast<uint16_t>(GetSchedulerWord(id) & 0xFFFF); }
  void SetCountdown(int16_t id, uint16_t countdown);
  void SetStateBits(int16_t id, uint32_t bits, bool on);
  // Ends the object's sleep: what it still had to wait goes back into the
  // sleep's tick count, and the pass runs it at once.
  void Wake(int16_t id);

  // The simulator's 32 globals (owner 6 reads them); none until set.
  void SetGlobals(int16_t* globals) { globals_ = globals; }
  int16_t* GetGlobals() const { return globals_; }

  // Runs every active object once, in list order, skipping those that sleep
  // out a countdown; what the simulator's pass does each tick.
  void TickObjects();

  // Every object whose Behavior has a tree of that name runs it (argument
  // as its first parameter); the last result.
  bool RunTreeOnAll(const std::string& name, int16_t argument);
  // After the storeys changed: objects of level 0 are forced to level 1
  // (a line each in log when given), rooms recomputed, entry tree 7 run on
  // every object (of the level, or all for 0).
  void Relevel(int32_t level, std::vector<std::string>* log = nullptr);
  // The daily depreciation of every object.
  void OnNewDay();
  // Some person on the lot is shown, awake and not away.
  bool AnyPersonAwake() const;

  // ---- selection ----
  // The house's family as neighbour ids, in family order; outside free mode
  // only its members' persons are selected.
  void SetFamily(std::vector<int16_t> neighbourIds) { family_ = std::move(neighbourIds); }
  // Makes the person the selected one (null: none); broadcast 228.
  void SetSelectedPerson(cXObject* person);
  // Free mode: the person after the selected one in list order, wrapping
  // (the first without one). Otherwise the next family member, wrapping,
  // that has a person on the lot. The chosen one (or null) is selected.
  cXObject* SelectNextPerson();
  // The first person that is the neighbour, or null.
  cXObject* FindPersonByNeighbour(int16_t neighbourId) const;
  cXObject* FindFirstByGuid(uint32_t guid) const;

  // ---- the global-call list (global calls 10 and 11) ----
  // Appends the object (again when it is listed already); removes its first
  // entry. Turning the list empty or non-empty broadcasts 264.
  void AddGlobalCall(cXObject* object);
  void RemoveGlobalCall(cXObject* object);

  // ---- dialog requests ----
  void QueueDialog(std::unique_ptr<ObjectDialogRecord> record) { dialogs_.push_back(std::move(record)); }
  const std::vector<std::unique_ptr<ObjectDialogRecord>>& PendingDialogs() const { return dialogs_; }
  // Whether the last ProcessDeletions showed a dialog.
  bool DialogShown() const { return dialogShown_; }

  // ---- figures for the house and its rooms ----
  struct HouseSummary {
    bool valueClass1 = false;   // some object has word 59 = 1
    bool valueClass9 = false;   // some object has word 59 = 9
    bool builtOnOpenTile = false;  // a buyable object on a tile that allows placement
    int32_t personAndPlainValue = 0;
    int32_t otherValue = 0;
  };
  HouseSummary GetHouseSummary() const;
  struct RoomValues {
    int32_t upkeepPenalty = 0;
    int32_t countedObjects = 0;
    int32_t indoorValue = 0;
    int32_t outdoorValue = 0;
  };
  // isOutdoors tells the kind of a room id (word 29; -5 is outdoors).
  RoomValues GetRoomValues(int32_t brokenPenalty, int32_t dirtyPenalty,
                           const std::function<bool(int16_t room)>& isOutdoors) const;

  // ---- the lot ----
  // The objects inside the lot, back to front for the view's rotation.
  const std::vector<cXObject*>& GetDrawOrder();
  // The lot moves by whole tiles: persons and portals are prepared, objects
  // that would stand on or beyond the border are deleted (whole groups),
  // the rest move without placement tests.
  void Reposition(int32_t dx, int32_t dy);
  // Every lead of definition type 4 on the lot (word 34 at 0) gets its one
  // "comeandsee" companion at its group centre; the companion is made only
  // while the object is new (age 0 minutes).
  void PlaceCompanions();
  void DeleteCompanions();
  // For the wall drawing: the first portal at the tile whose wall side mask
  // is the side answers its definition's wall picture word (0 none) and
  // the definition.
  int16_t PortalWallPicture(TileLocation tile, int32_t side, ObjectDefinition** definition) const;
  // Queues on the person an action (priority 100) on the special object
  // that carries the object's interaction index and the flag; the index
  // must name an entry of the object's adult animation table other than
  // its last. Whether the action was queued.
  bool QueueInteraction(int16_t person, int16_t object, int16_t index, int16_t flag);
  // Runs the tutorial object's "show situation info" tree.
  void ShowSituationInfo();
  // "Action Queues:" with every person's queue, then "Objects:" with every
  // id's name.
  void DumpQueues(std::ostream& out) const;

  // Commands: 133 terrain changed (each object told), 246 a person is
  // selected when none is, 258 trees reloaded (every frame fetches its tree again), 242
  // an object's room changed (241 with the room), 257 walls changed (wall
  // adjacency again), 261 the lot's size changed (the automatic objects).
  int16_t DoCommand(int32_t command, intptr_t argument) override;

 private:
  void UpdateIterationLimit();
  int SaveObjectRecords(iResFile& file, int32_t version);
  int LoadObjectRecords(iResFile& file);
  void Unregister(cXObject* object);
  bool IsQueued(cXObject* object) const;

  ObjectFolder* catalogue_;
  iLotWorld* world_ = nullptr;
  iLotView* view_ = nullptr;
  iGameShell noShell_;
  iGameShell* shell_ = &noShell_;
  bool drawOrderDirty_ = true;
  std::vector<std::unique_ptr<cXObject>> objects_;  // id n at n - 1
  // Every slot below this index is taken: the search for a free id starts
  // here rather than at id 1, which made filling the module quadratic.
  size_t firstFreeSlot_ = 0;
  // The listed objects that were persons when added; what the iteration
  // budget needs on every add, without a walk of the whole list each time.
  int32_t listedPersons_ = 0;
  std::vector<uint32_t> scheduler_;
  cXObject* first_ = nullptr;
  cXObject* last_ = nullptr;
  int16_t* globals_ = nullptr;
  cXObject* tutorialObject_ = nullptr;
  std::vector<int16_t> deletionQueue_;
  int16_t specialId_ = 0;
  std::vector<cXObject*> globalCallList_;
  // Old layouts name the tutorial object before their objects are read.
  int16_t pendingTutorial_ = 0;
  bool refresh_ = false;
  std::function<void()> neighbourhoodRefresh_;
  std::vector<SlotPoint> globalSlotPoints_;
  std::vector<int16_t> family_;
  std::vector<std::unique_ptr<ObjectDialogRecord>> dialogs_;
  bool dialogShown_ = false;
  std::vector<cXObject*> drawOrder_;
  int32_t drawRotation_ = -1;
  static inline PersonMaker personMaker_ = nullptr;
};

}  // namespace tova
