#include "simulation/people/PeopleConsole.h"

#include "simulation/ObjectModule.h"
#include "simulation/people/ActivityLog.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

template <typename F>
void ForEachPerson(ObjectModule& module, F f) {
  for (cXObject* o = module.FirstObject(); o != nullptr; o = o->GetNext()) {
    if (o->IsPerson()) {
      if (auto* p = dynamic_cast<cXPerson*>(o)) f(*p);
    }
  }
}

}  // namespace

void SetMotivesFrozen(ObjectModule& module, bool frozen) {
  ForEachPerson(module, [frozen](cXPerson& p) { p.SetWord(kPersonMotivesFrozen, frozen ? 1 : 0); });
}

void SetAutonomyLevel(ObjectModule& module, int16_t level) {
  ForEachPerson(module, [level](cXPerson& p) { p.SetWord(kPersonAutonomyLevel, level); });
}

bool DumpHappy(ObjectModule& module) {
  auto* p = dynamic_cast<cXPerson*>(module.GetSelectedPerson());
  return p != nullptr && p->LogScoredInteractions();
}

bool VuxLog(bool begin) {
  if (begin) {
    ActivityLog::Instance().Start();
    return true;
  }
  return WriteActivityLog();
}

}  // namespace tova
