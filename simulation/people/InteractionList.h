#pragma once
// Which interactions of one object one person may do: the list a pie menu
// shows and the list autonomy scores. Check trees run on the acting person
// while an entry is evaluated; they may add named entries of their own to
// the list being built. The acting person's eight temporary words are saved
// before the first check tree and written back when the list ends.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "simulation/people/QueuedAction.h"

namespace tova {

class cXObject;
class cXPerson;
struct TreeTableEntry;

// Tree-table entry flags read here.
enum : int32_t {
  kEntryVisitorMay = 0x1,
  kEntryJoinable = 0x2,
  kEntryNotForChildren = 0x10,
  kEntryChildDemo = 0x20,
  kEntryNotForAdults = 0x40,
  kEntryStarred = 0x80,
};

class InteractionList {
 public:
  InteractionList(cXPerson& person, cXObject* object, bool autonomous);
  ~InteractionList();
  InteractionList(const InteractionList&) = delete;
  InteractionList& operator=(const InteractionList&) = delete;

  // The menu list or the autonomous list of the object.
  void BuildList(std::vector<QueuedAction>& out);
  // Evaluates the action and adds it, unless its check tree added entries
  // of its own or it is unavailable.
  void Offer(QueuedAction action, std::vector<QueuedAction>& out);
  // Evaluates one action for the acting person: sets its flags 0x4, 0x8 and
  // 0x10 and returns them (0 when its entry is gone). scratch, when given,
  // receives a copy of the entry for scoring.
  uint32_t AddEntry(QueuedAction& action, TreeTableEntry* scratch = nullptr);
  // Gives the saved temporary words back to their person.
  void FlushToTarget();

  static bool IsBuildingInteractionList();
  // A copy of the action being evaluated under that name with those
  // parameters, available, into the list being built; false when no list
  // is being built.
  static bool AddInteractionToCurrentList(const std::string& name, const int16_t params[4]);

 private:
  cXPerson& person_;
  cXObject* object_;
  bool autonomous_;
  std::array<int16_t, 8> savedTemps_{};
  cXPerson* savedFrom_ = nullptr;
};

// The entry's autonomy level: the stored word that starts at 50.
int32_t EntryAutonomyLevel(const TreeTableEntry& entry);

}  // namespace tova
