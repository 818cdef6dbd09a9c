#include "simulation/BalloonPrimitive.h"

#include "gamedata/BalloonIconGroup.h"
#include "gamedata/ObjectDefinition.h"
#include "simulation/CreationPrimitives.h"
#include "simulation/ObjectModule.h"
#include "simulation/PrimitiveOperands.h"
#include "simulation/cXObject.h"

namespace tova {

namespace {

constexpr int32_t kDefinitionIcons = 7;
constexpr int32_t kPriorityIcons = 4;

enum BalloonBits : int32_t {
  kShowWhenInactive = 0x100,
  kCrossedOut = 0x200,
  kReversed = 0x400,
  kDurationInLoops = 0x800,
  kAddTemp0 = 0x1000,
};

}  // namespace

int32_t BalloonPrimitive::IconSprite(cXObject& me, TreeStackFrame& frame, TreeNode node, int32_t source,
                                     int32_t index) {
  if (source != kDefinitionIcons) return BalloonIconGroup(source, nullptr).GetIconId(index);
  ObjectModule* module = me.GetModule();
  cXObject* stack = module ? module->GetObjectById(frame.stackObject) : nullptr;
  ObjectDefinition* definition = nullptr;
  switch (index) {
    case 0:
      definition = stack && stack->GetDefinition() ? stack->GetDefinition()->GetMasterDefinition() : nullptr;
      break;
    case 1:
      if (stack != nullptr && CreationPrimitives::GetNeighbourDefinitions() != nullptr) {
        definition = CreationPrimitives::GetNeighbourDefinitions()->DefinitionOfNeighbour(stack->GetNeighbourId());
      }
      break;
    case 2: {
      const int32_t local = node.Operand(0);
      if (local < 0 || local >= frame.localCount) RaiseObjectError(kErrLocalOutOfRange);
      cXObject* o = module ? module->GetObjectById(frame.Locals()[local]) : nullptr;
      definition = o ? o->GetDefinition() : nullptr;
      break;
    }
    default: break;
  }
  return definition != nullptr && art_ != nullptr ? art_->DefinitionIcon(*definition) : 0;
}

int32_t BalloonPrimitive::SetBalloon(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  cXObject* o = &me;
  if ((node.Operand(0) & 1) != 0) {
    o = me.GetModule() ? me.GetModule()->GetObjectById(frame.stackObject) : nullptr;
    if (o == nullptr) RaiseObjectError(kErrNoStackObject);
  }
  const int32_t bits = static_cast<uint16_t>(node.Operand(3));
  const int32_t type = bits & 0xFF;
  // Refused before anything changes.
  if (type > 2) RaiseObjectError(kErrBadBalloonType);
  auto* holder = dynamic_cast<iBalloonHolder*>(o);
  if (holder == nullptr || !holder->HasGraphicCycles()) return kPrimTrue;
  BalloonState& balloon = holder->Balloon();

  const int32_t source = static_cast<uint16_t>(node.Operand(1)) >> 8;
  const int32_t priority = source == kPriorityIcons ? 2 : 1;
  if (balloon.showing && balloon.priority > priority) return kPrimTrue;
  balloon.priority = priority;
  const int16_t duration = node.Operand(2);
  if (duration == 0) {
    balloon = BalloonState{};
    o->MarkForRedraw();
    return kPrimTrue;
  }

  int32_t index = node.Operand(1) & 0xFF;
  if ((bits & kAddTemp0) != 0) index += me.Temps()[0];
  const int32_t sprite = IconSprite(me, frame, node, source, index);
  const int32_t frames = sprite != 0 && art_ != nullptr ? art_->FrameCount(sprite) : 0;
  if (frames < 3) return kPrimTrue;
  balloon.showing = true;
  balloon.sprite = sprite;
  balloon.frames = frames / 3;
  balloon.reversed = (bits & kReversed) != 0;
  balloon.type = type;
  balloon.crossedOutSprite = (bits & kCrossedOut) != 0 ? BalloonIconGroup(1, nullptr).GetStandardIcon(2) : 0;
  balloon.showWhenInactive = (bits & kShowWhenInactive) != 0;
  balloon.inLoops = (bits & kDurationInLoops) != 0 && duration != -1;
  balloon.duration = duration;
  o->MarkForRedraw();
  if (o->GetModule() != nullptr) o->GetModule()->Wake(o->GetId());
  return kPrimTrue;
}

}  // namespace tova
