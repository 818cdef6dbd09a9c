#include "simulation/GamePrimitives.h"

#include <algorithm>
#include <array>

#include "gamedata/CommandIds.h"
#include "gamedata/Commander.h"
#include "simulation/GameServices.h"
#include "simulation/NameTokens.h"
#include "simulation/ObjectModule.h"
#include "simulation/PrimitiveOperands.h"
#include "simulation/TutorialEvents.h"
#include "simulation/cSimulator.h"
#include "simulation/cXObject.h"
#include "simulation/people/InteractionList.h"

namespace tova {

namespace {

// The motives the lowest-motive search sorts, in this order on ties.
constexpr std::array<int16_t, 8> kSearchedMotives{5, 6, 7, 8, 9, 13, 14, 15};
constexpr int16_t kCaptionList = 305;

}  // namespace

std::string GamePrimitives::FrameString(TreeStackFrame& frame, int16_t list, int32_t n) {
  ResourceSource* file = frame.behavior != nullptr ? frame.behavior->OwnFile() : nullptr;
  if (file == nullptr) return {};
  return file->GetString(list, n).value_or(std::string());
}

int32_t GamePrimitives::Tutorial(cXObject& me, TreeStackFrame&, TreeNode node) {
  ObjectModule* module = me.GetModule();
  switch (NodeOperandByte(node, 0)) {
    case 0:
      if (module == nullptr) return kPrimFalse;
      if (module->GetTutorialObject() != nullptr && module->GetTutorialObject() != &me) return kPrimFalse;
      module->SetTutorialObject(&me);
      return kPrimTrue;
    case 1:
      if (module == nullptr || module->GetTutorialObject() != &me) return kPrimFalse;
      module->SetTutorialObject(nullptr);
      return kPrimTrue;
    default:
      RaiseObjectError(kErrBadTutorialCode);
  }
}

int32_t GamePrimitives::ShowString(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  const std::string text = FrameString(frame, node.Operand(0), node.Operand(1));
  if (!text.empty()) {
    const std::string name = me.GetDefinition() != nullptr ? me.GetDefinition()->GetName() : std::string();
    // Receivers copy the text: it lives only as long as the broadcast.
    const std::string shown = name + " : " + text;
    Broadcast(cmd::kShowString, reinterpret_cast<intptr_t>(shown.c_str()));
  }
  return kPrimTrue;
}

int32_t GamePrimitives::AlterBudget(cXObject& me, TreeStackFrame&, TreeNode node) {
  const int32_t source = NodeOperandByte(node, 0);
  int32_t owner = NodeOperandByte(node, 1);
  if (source == 0) owner = kOwnerLiteral;
  if (source == 1) owner = kOwnerParam;
  if (source == 2) owner = kOwnerLocal;
  int32_t amount = me.EvaluateVariable(owner, node.Operand(1), nullptr, nullptr);
  const int32_t type = NodeOperandByte(node, 6);
  const int32_t flags = NodeOperandByte(node, 7);
  if (type > 7) RaiseObjectError(kErrBadExpenseType);
  if (flags & 2) amount = -amount;
  cSimulator* sim = GameServices::Get().simulator;
  const int32_t funds = sim != nullptr ? sim->GetFunds() : 0;
  if (amount >= 0 && funds < amount) return kPrimFalse;
  if (flags & 1) return kPrimTrue;
  if (sim != nullptr) sim->AddToStatistic(type, amount);
  return kPrimTrue;
}

int32_t GamePrimitives::FindLowestMotives(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  const int16_t whose = node.Operand(2);
  if (whose == 2) RaiseObjectError(kErrNotFromStackObject);
  cXObject* person = &me;
  if (whose == 1) {
    person = me.GetModule() != nullptr ? me.GetModule()->GetObjectById(frame.stackObject) : nullptr;
  }
  if (person == nullptr || !person->IsPerson()) RaiseObjectError(kErrNotFromStackObject);
  const int16_t type = node.Operand(3);
  if (type < 0 || type > 2) RaiseObjectError(kErrBadSearchType);
  std::array<std::pair<float, int16_t>, kSearchedMotives.size()> sorted{};
  for (size_t i = 0; i < kSearchedMotives.size(); ++i) {
    const float* value = person->GetMotive(kSearchedMotives[i]);
    sorted[i] = {value != nullptr ? *value : 0.0f, kSearchedMotives[i]};
  }
  // Exact values and a stable sort: equal motives keep their order, so the
  // same motives give the same answer every run.
  std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (int32_t i = 0; i < 5; ++i) me.Temps()[i] = sorted[static_cast<size_t>(i)].second;
  return kPrimTrue;
}

int32_t GamePrimitives::AddMenuInteraction(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  NameTokenValues values;
  const std::string name = ExpandNameTokens(FrameString(frame, node.Operand(0), NodeOperandByte(node, 4)), me, frame,
                                            &values);
  const int16_t params[4] = {values.neighbour, values.family, 0, 0};
  if (InteractionList::IsBuildingInteractionList()) {
    InteractionList::AddInteractionToCurrentList(name, params);
  } else if (TreeZaz::TopLevel() && me.IsPerson()) {
    if (iPeopleCalls* people = GameServices::Get().people) people->AddPendingMenuEntry(me, name, params);
  }
  return kPrimTrue;
}

int32_t GamePrimitives::HighlightUI(cXObject& me, TreeStackFrame&, TreeNode node) {
  const int16_t v = me.EvaluateVariable(NodeOperandByte(node, 1), node.Operand(1), nullptr, nullptr);
  const bool on = (NodeOperandByte(node, 4) & 1) != 0;
  switch (NodeOperandByte(node, 0)) {
    case 0:
      HighlightButtonById(v, on);
      HighlightNeighborButton(v, on);
      break;
    case 1:
      HighlightNeighborButton(v, on);
      break;
    case 2:
      HighlightRelationshipWindow(v, on);
      break;
    default:
      break;
  }
  return kPrimTrue;
}

int32_t GamePrimitives::ShowStackObject(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  if (frame.primitiveState == 0) {
    // The frame ends so that the interface can catch up first.
    if (int16_t* globals = me.GetModule() != nullptr ? me.GetModule()->GetGlobals() : nullptr) {
      globals[kSimStopRequest] = 1;
    }
    frame.primitiveState = 1;
    return kPrimYield;
  }
  if (frame.primitiveState >= 2) return kPrimTrue;
  frame.primitiveState = 2;
  cXObject* object = me.GetModule() != nullptr ? me.GetModule()->GetObjectById(frame.stackObject) : nullptr;
  if (object == nullptr) RaiseObjectError(kErrObjectNotFound);
  const int32_t flags = NodeOperandByte(node, 4);
  const int32_t seconds = me.EvaluateVariable((flags & 0x20) ? kOwnerLocal : kOwnerLiteral, node.Operand(0), nullptr,
                                              nullptr);
  if ((flags & 0x40) == 0) Broadcast(cmd::kShowStackObject, object->GetId());
  iGameInterface::ShowObjectRequest request;
  request.object = object->GetId();
  const int32_t caption = NodeOperandByte(node, 5);
  if (caption != 0) request.caption = ExpandNameTokens(FrameString(frame, kCaptionList, caption), me, frame);
  request.option0 = (flags & 1) != 0;
  request.option1 = (flags & 2) != 0;
  request.option4 = (flags & 0x10) != 0;
  request.timeoutMs = seconds * 1000;
  request.setting3 = NodeOperandByte(node, 3);
  request.setting2 = NodeOperandByte(node, 2);
  request.notBit2 = (flags & 4) == 0;
  if (iGameInterface* ui = GameServices::Get().ui) ui->ShowObject(request);
  return kPrimYield;
}

}  // namespace tova
