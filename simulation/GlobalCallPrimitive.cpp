// The numbered global calls of QueuePrimitives.
#include "simulation/GamePrimitives.h"
#include "simulation/GameServices.h"
#include "simulation/ObjectModule.h"
#include "simulation/PrimitiveOperands.h"
#include "simulation/QueuePrimitives.h"
#include "simulation/cSimulator.h"
#include "simulation/cXObject.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

cXObject* RequireStack(cXObject& me, TreeStackFrame& frame, int16_t code) {
  cXObject* o = me.GetModule() != nullptr ? me.GetModule()->GetObjectById(frame.stackObject) : nullptr;
  if (o == nullptr) RaiseObjectError(code);
  return o;
}

void RequirePerson(cXObject& me) {
  if (!me.IsPerson()) RaiseObjectError(kErrNotAPerson);
}

// The stack object's neighbour record, which must exist.
int16_t RequireRecord(cXObject& me, TreeStackFrame& frame, iPrimitiveNeighbourhood* hood) {
  cXObject* o = me.GetModule() != nullptr ? me.GetModule()->GetObjectById(frame.stackObject) : nullptr;
  const int16_t id = o != nullptr ? o->GetNeighbourId() : 0;
  if (id == 0 || hood == nullptr || !hood->HasRecord(id)) RaiseObjectError(kErrNoNeighbourRecord);
  return id;
}

}  // namespace

int32_t QueuePrimitives::GlobalCall(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  GameServices& services = GameServices::Get();
  iPrimitiveNeighbourhood* hood = services.neighbourhood;
  ObjectModule* module = me.GetModule();
  int16_t* globals = module != nullptr ? module->GetGlobals() : nullptr;
  const int16_t call = node.Operand(0);
  switch (call) {
    case 0:
    case 8:
    case 9: {
      const int32_t n = call == 0 ? 0 : call == 8 ? 1 : 2;
      if (hood != nullptr) hood->SetTutorialState(n);
      if (n == 0 && globals != nullptr) globals[kSimTutorial] = 0;
      return kPrimTrue;
    }
    case 1:
    case 3:
      if (services.debugLog) services.debugLog("behavior using old center primitive\n");
      return kPrimTrue;
    case 2: {
      cXObject* partner = RequireStack(me, frame, kErrNotFromStackObject);
      RequirePerson(me);
      if (services.people != nullptr) services.people->SetPendingPartner(me, *partner);
      return kPrimTrue;
    }
    case 4: {
      const int16_t id = RequireRecord(me, frame, hood);
      return hood->MoveToLotFamily(id) ? kPrimTrue : kPrimFalse;
    }
    case 5: {
      const auto worth = hood != nullptr ? hood->FamilyWorth(me.Temps()[0]) : std::nullopt;
      if (!worth) return kPrimFalse;
      if (services.simulator != nullptr) services.simulator->AddToStatistic(2, -*worth);
      return kPrimTrue;
    }
    case 6: {
      const int16_t id = RequireRecord(me, frame, hood);
      return hood->RemoveFromFamily(id) ? kPrimTrue : kPrimFalse;
    }
    case 10:
      // An object already listed is listed again, as saved lots expect.
      if (module != nullptr) module->AddGlobalCall(&me);
      return kPrimTrue;
    case 11:
      if (module != nullptr) module->RemoveGlobalCall(&me);
      return kPrimTrue;
    case 12: {
      cXObject* o = RequireStack(me, frame, kErrNotFromStackObject);
      const int32_t rotation = services.ui != nullptr ? services.ui->ViewRotation() : 0;
      const TileLocation t = o->GetTile().Rotate(rotation);
      me.Temps()[0] = static_cast<int16_t>(-(t.x + t.y));
      return kPrimTrue;
    }
    case 13: {
      cXObject* o = RequireStack(me, frame, kErrNotFromStackObject);
      cXPerson::TellPersonsObjectGone(*module, *o);
      return kPrimTrue;
    }
    case 14:
      if (globals != nullptr) globals[kSimGlobalCall14] = me.Temps()[0];
      return kPrimTrue;
    case 15:
      RequirePerson(me);
      if (services.people != nullptr) {
        services.people->SetRoutingPair(me, me.Temps()[0], 0);
        if (me.Temps()[0] == 0) services.people->RecomputeFootprint(me);
      }
      return kPrimTrue;
    case 16:
      RequirePerson(me);
      if (services.people != nullptr) services.people->NextBodyChoice(me);
      return kPrimTrue;
    default:
      RaiseObjectError(kErrBadGlobalCall);
  }
}

}  // namespace tova
