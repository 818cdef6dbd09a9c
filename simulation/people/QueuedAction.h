#pragma once
// One thing a person is to do: an interaction (an entry of a target object's
// tree table) with its priority, parameters and state flags. Objects are
// held by their 16-bit ids and looked up in the module when needed, so an
// action never points at an object that has gone.

#include <cstdint>
#include <string>

class ReconStream;

namespace tova {

class cXObject;
class cXPerson;
class ObjectModule;
struct TreeTableEntry;

enum QueuedActionKind : int32_t {
  kActionForEntry = 0,
  kActionJoined = 1,
  kActionMenuLine = 2,
};

// Action flag bits.
enum : uint32_t {
  kActionEntryFlag100 = 0x1,
  kActionAtHead = 0x2,
  kActionEvaluated = 0x4,
  kActionAvailable = 0x8,
  kActionHasReason = 0x10,
  kActionSucceeded = 0x20,
  kActionRunningName = 0x40,
  kActionNameChanged = 0x80,
  kActionCancelled = 0x100,
};

class QueuedAction {
 public:
  QueuedAction() = default;

  // Kind 0 for the target's entry: tree id, attenuation (by the actor's
  // visitor word) and the entry's flag 0x100 come from the entry.
  static QueuedAction ForEntry(cXPerson& actor, cXObject* target, int32_t entryKey, int32_t priority);
  // A copy of other's current action for actor to join: kind 1, priority
  // 50, the entry's follow-on entry (no target when there is none).
  static QueuedAction FromPersonAction(cXPerson& actor, cXPerson& other);

  void SetParameters(int16_t a, int16_t b, int16_t c, int16_t d);
  // The target's entry of this key; null without target or entry.
  TreeTableEntry* GetTreeTableEntry(ObjectModule& module) const;
  // The set name, else the entry's name ("*" in front for a starred
  // entry); clears flag 0x80.
  std::string GetName(ObjectModule& module);
  void SetName(const std::string& name);
  const std::string& GetSetName() const { return name; }
  // Numbers the action from the global counter unless it has a number.
  void AssignSerial();
  bool HasTarget() const { return target != 0; }

  // The record at the object stream's version; raises the serial counter
  // to what it read. False when the bytes run out.
  bool Transfer(ReconStream& stream, int32_t version);

  // The global serial counter: unsigned, skips 0 when it wraps.
  static uint32_t NextSerial();
  static uint32_t SerialCounter();
  static void SetSerialCounter(uint32_t value);

  int32_t kind = kActionForEntry;
  int16_t actor = 0;
  int16_t target = 0;
  int16_t icon = 0;
  int32_t entryKey = -1;
  int16_t params[4] = {};
  int32_t priority = 0;
  int16_t actionTree = 0;
  float attenuation = 0;
  std::string name;
  int32_t passThrough[2] = {};
  uint32_t serial = 0;
  uint32_t flags = 0;
};

}  // namespace tova
