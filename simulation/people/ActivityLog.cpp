#include "simulation/people/ActivityLog.h"

#include <cstdio>

#include "gamedata/ObjectDefinition.h"
#include "platform/TextFile.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

const char kTitle[] = "Vux Logging";

ActivityLog::Snapshot TakeSnapshot(cXPerson& person) {
  ActivityLog::Snapshot s;
  s.guid = person.GetDefinition() != nullptr ? person.GetDefinition()->GetGUID() : 0;
  for (int32_t i = 0; i < ActivityLog::kMotiveColumns; ++i) {
    s.motives[static_cast<size_t>(i)] = person.GetMotiveValue(ActivityLog::kMotives[i]);
  }
  return s;
}

// The master definition's GUID of the action's target; -1 without one.
int32_t TargetGuid(cXObject* target) {
  if (target == nullptr || target->GetDefinition() == nullptr) return -1;
  ObjectDefinition* d = target->GetDefinition();
  ObjectDefinition* master = d->GetMasterDefinition();
  return static_cast<int32_t>((master != nullptr ? master : d)->GetGUID());
}

}  // namespace

ActivityLog& ActivityLog::Instance() {
  static ActivityLog log;
  return log;
}

void ActivityLog::Clear() {
  groups_.clear();
  trackers_.clear();
  recording_ = false;
}

ActivityLog::Group& ActivityLog::FindGroup(int32_t guid, int32_t entryKey, cXPerson& person, int16_t targetId) {
  for (Group& g : groups_) {
    if (g.guid == guid && g.entryKey == entryKey) return g;
  }
  Group g;
  g.guid = guid;
  g.entryKey = entryKey;
  ObjectModule* module = person.GetModule();
  cXObject* target = module != nullptr && targetId != 0 ? module->GetObjectById(targetId) : nullptr;
  if (guid == -1 || target == nullptr) {
    g.objectName = guid == -1 ? "Self" : std::to_string(guid);
    g.interactionName = guid == -1 ? "Idle" : "";
  } else {
    g.objectName = target->GetDefinition()->GetName();
    QueuedAction probe;
    probe.target = targetId;
    probe.entryKey = entryKey;
    g.interactionName = probe.GetName(*module);
  }
  groups_.push_back(std::move(g));
  return groups_.back();
}

void ActivityLog::Sample(cXPerson& person) {
  const uint32_t guid = person.GetDefinition() != nullptr ? person.GetDefinition()->GetGUID() : 0;
  Tracker* tracker = nullptr;
  for (Tracker& t : trackers_) {
    if (t.personGuid == guid && t.personId == person.GetId()) tracker = &t;
  }
  if (tracker == nullptr) {
    Tracker t;
    t.personGuid = guid;
    t.personId = person.GetId();
    t.start = TakeSnapshot(person);
    t.startTime = PeopleHost().GetClock();
    for (int32_t i = 0; i < kPersonDataWords; ++i) t.personData[static_cast<size_t>(i)] = person.Word(i);
    trackers_.push_back(t);
    tracker = &trackers_.back();
  }
  ObjectModule* module = person.GetModule();
  const QueuedAction& current = person.CurrentAction();
  cXObject* target = module != nullptr && current.target != 0 ? module->GetObjectById(current.target) : nullptr;
  const int32_t targetGuid = TargetGuid(target);
  const int16_t targetId = target != nullptr ? current.target : 0;
  const int32_t entryKey = target != nullptr ? current.entryKey : -1;
  if (tracker->targetGuid != targetGuid || tracker->targetId != targetId || tracker->entryKey != entryKey) {
    // The group is made even when the action gets no sample.
    Group& g = FindGroup(tracker->targetGuid, tracker->entryKey, person, tracker->targetId);
    if (tracker->totalTicks > 0) {
      struct Sample s;
      s.changes = TakeSnapshot(person);
      for (size_t i = 0; i < s.changes.motives.size(); ++i) s.changes.motives[i] -= tracker->start.motives[i];
      s.start = tracker->startTime;
      s.totalTicks = tracker->totalTicks;
      s.animTicks = tracker->animTicks;
      s.routingTicks = tracker->routingTicks;
      s.result = g.guid == -1 || (person.PreviousAction().flags & kActionSucceeded) ? 1 : 0;
      g.samples.push_back(s);
    }
    tracker->targetGuid = targetGuid;
    tracker->targetId = targetId;
    tracker->entryKey = entryKey;
    tracker->totalTicks = tracker->animTicks = tracker->routingTicks = 0;
    tracker->start = TakeSnapshot(person);
    tracker->startTime = PeopleHost().GetClock();
  }
  ++tracker->totalTicks;
  if (person.HasRoute()) {
    ++tracker->routingTicks;
  } else if (person.CurrentOpcode() == kAnimateOpcode) {
    ++tracker->animTicks;
  }
}

bool ActivityLog::Write(const std::string& path) {
  std::string out;
  for (const char* h : {"Object", "Interaction", "Start Time", "Total Ticks", "Anim Ticks", "Routing Ticks", "Result",
                        "Mood", "Energy", "Comfort", "Hunger", "Hygiene", "Bladder", "Room", "Social", "Fun",
                        "Person Running"}) {
    out += h;
    out += '\t';
  }
  out += '\n';
  iPeopleHost& host = PeopleHost();
  char buf[64];
  for (const Group& g : groups_) {
    for (const struct Sample& s : g.samples) {
      out += g.objectName + "\t" + g.interactionName + "\t" + std::to_string(s.start) + "\t" +
             std::to_string(s.totalTicks) + "\t" + std::to_string(s.animTicks) + "\t" + std::to_string(s.routingTicks) +
             "\t" + (s.result == 0 ? "failed" : "");
      for (float m : s.changes.motives) {
        std::snprintf(buf, sizeof buf, "\t%f", static_cast<double>(m));
        out += buf;
      }
      out += "\t" + host.DefinitionName(s.changes.guid) + "\n";
    }
  }
  if (!platform::WriteTextFile(path, out, platform::LineEnd::kLf)) {
    host.ShowMessage("File VuxLog.txt in the Tova directory could not be opened!", kTitle);
    return false;
  }
  host.ShowMessage("Logging completed and written to VuxLog.txt in the Tova directory.", kTitle);
  Clear();
  return true;
}

bool WriteActivityLog() { return ActivityLog::Instance().Write(); }

}  // namespace tova
