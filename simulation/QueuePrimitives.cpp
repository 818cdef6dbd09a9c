#include "simulation/QueuePrimitives.h"

#include <array>
#include <memory>
#include <string>

#include "gamedata/SimRandom.h"
#include "gamedata/TreeTableData.h"
#include "simulation/GamePrimitives.h"
#include "simulation/GameServices.h"
#include "simulation/ObjectDialog.h"
#include "simulation/ObjectModule.h"
#include "simulation/PrimitiveOperands.h"
#include "simulation/SoundPlayer.h"
#include "simulation/cXObject.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/QueuedAction.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr int16_t kSkinColourList = 8192;
constexpr const char* kNoChildName = "No childname";
constexpr int32_t kChildNameEntry = 5;

cXObject* ObjectOf(cXObject& me, int16_t id) {
  return me.GetModule() != nullptr ? me.GetModule()->GetObjectById(id) : nullptr;
}

void Output(const std::string& text) {
  if (auto& out = GameServices::Get().debugOutput) out(text);
}

void Log(const std::string& text) {
  if (auto& log = GameServices::Get().debugLog) log(text);
}

// The sound's name: the 'FWAV' resource of that number (a name ended by a
// zero byte), from the Behavior's own file, then its semi-global file.
std::string SoundName(Behavior* behavior, int16_t number) {
  if (behavior == nullptr) return {};
  for (ResourceSource* file : {behavior->OwnFile(), behavior->SemiGlobalFile()}) {
    if (file == nullptr) continue;
    const auto bytes = file->GetResource(TypeCode("FWAV"), number, nullptr);
    if (!bytes || bytes->empty()) continue;
    std::string name;
    for (uint8_t b : *bytes) {
      if (b == 0) break;
      name += static_cast<char>(b);
    }
    if (!name.empty()) return name;
  }
  return {};
}

std::string ObjectName(cXObject* o) {
  return o != nullptr && o->GetDefinition() != nullptr ? o->GetDefinition()->GetName() : std::string();
}

}  // namespace

void QueuePrimitives::TraceNode(TreeStackFrame& frame) {
  Output("Event #" + std::to_string(++traceEvents_));
  std::string file;
  std::string tree;
  if (frame.behavior != nullptr) {
    if (ResourceSource* source = frame.behavior->GetFileForTree(frame.TreeId())) {
      file = std::string(FileNamePart(source->GetPath()));
    }
    tree = frame.behavior->GetTreeName(frame.TreeId());
  }
  Output(" Tree: " + file + ":" + tree + ":" + std::to_string(frame.node));
}

int32_t QueuePrimitives::PushInteraction(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  const int32_t flags = NodeOperandByte(node, 3);
  const int32_t holder = NodeOperandByte(node, 1);
  int16_t targetId = 0;
  if (flags & 2) {
    if (holder >= frame.localCount) RaiseObjectError(kErrLocalNumber);
    targetId = frame.Locals()[holder];
  } else {
    if (holder >= frame.paramCount) RaiseObjectError(kErrParameterNumber);
    targetId = frame.Params()[holder];
  }
  cXObject* target = ObjectOf(me, targetId);
  if (target == nullptr) RaiseObjectError(kErrObjectNotFound);
  TreeTableData* table = PeopleHost().GetTreeTable(*target);
  if (table == nullptr) RaiseObjectError(kErrNoTreeTable);
  const int32_t key = NodeOperandByte(node, 0);
  if (table->FindByNumber(key) == nullptr) RaiseObjectError(kErrNoTreeTableEntry);
  cXObject* actor = ObjectOf(me, frame.stackObject);
  if (actor == nullptr) RaiseObjectError(kErrNoStackObject);
  if (!actor->IsPerson()) RaiseObjectError(kErrNotAPerson);
  int32_t priority = 0;
  switch (NodeOperandByte(node, 2)) {
    case 0: {
      const int16_t* word = me.IsPerson() ? me.GetPersonData(kPersonActionPriority) : nullptr;
      priority = word != nullptr ? *word : 1;
      break;
    }
    case 1: priority = 100; break;
    case 2: priority = 2; break;
    case 3: priority = 50; break;
    default: RaiseObjectError(kErrBadPriority);
  }
  int16_t icon = 0;
  if (flags & 1) {
    const int32_t local = NodeOperandByte(node, 4);
    if (local >= frame.localCount) RaiseObjectError(kErrLocalNumber);
    icon = frame.Locals()[local];
  }
  auto* person = dynamic_cast<cXPerson*>(actor);
  if (person == nullptr) return kPrimFalse;
  QueuedAction action = QueuedAction::ForEntry(*person, target, key, priority);
  if (flags & 1) action.icon = icon;
  action.flags &= ~(kActionAtHead | kActionRunningName);
  if (flags & 4) action.flags |= kActionAtHead;
  if (flags & 8) action.flags |= kActionRunningName;
  return person->PushAction(action) ? kPrimTrue : kPrimFalse;
}

int32_t QueuePrimitives::Dialog(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  const uint16_t tree = frame.TreeId();
  if (tree < 4096 || tree > 8191) RaiseObjectError(kErrDialogFromGlobalTree);
  ObjectModule* module = me.GetModule();
  if (module == nullptr) return kPrimFalse;
  std::array<uint8_t, 8> bytes{};
  for (int k = 0; k < 8; ++k) bytes[static_cast<size_t>(k)] = NodeOperandByte(node, k);
  ObjectDialog* request = nullptr;
  for (const auto& r : module->PendingDialogs()) {
    if (r->GetAsker() != &me || r->GetState() == ObjectDialogRecord::kStateFinished) continue;
    request = dynamic_cast<ObjectDialog*>(r.get());
    if (request != nullptr) break;
  }
  if ((bytes[7] & 1) != 0) {
    module->QueueDialog(ObjectDialog::FromRequest(me, frame, bytes));
    return kPrimTrue;
  }
  if (request == nullptr) {
    module->QueueDialog(ObjectDialog::FromRequest(me, frame, bytes));
    return kPrimYield;
  }
  // A request shown but not answered keeps the tree waiting.
  const int32_t state = request->GetState();
  if (state == ObjectDialogRecord::kStateNew || state == 1) return kPrimYield;
  request->MarkRead();
  switch (state) {
    case ObjectDialog::kFirst:
      if (request->GetKind() == ObjectDialog::kTextEntry) {
        ObjectModule::GlobalAnswer() = request->GetText(ObjectDialog::kEntry);
      }
      return kPrimTrue;
    case ObjectDialog::kSecond:
    case ObjectDialog::kThird:
      if (request->GetKind() == ObjectDialog::kThreeWay) {
        me.Temps()[request->ThreeWayTemp()] = state == ObjectDialog::kSecond ? 0 : 1;
      }
      return kPrimFalse;
    default:
      return kPrimTrue;
  }
}

int32_t QueuePrimitives::PlaySound(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  GameServices& services = GameServices::Get();
  const int16_t number = node.Operand(0);
  const uint8_t flags = NodeOperandByte(node, 4);
  cXObject* source = flags != 0xFF && (flags & 2) != 0 ? ObjectOf(me, frame.stackObject) : &me;
  if (services.soundTrace) TraceNode(frame);
  const std::string name = SoundName(frame.behavior, number);
  const std::string failure = "Sound failed: kPlaySound, id = " + std::to_string(number);
  if (name.empty()) {
    if (services.soundTrace) Output("***name not found***");
    if (services.soundDebugging) Log(failure);
    return kPrimTrue;
  }
  iSoundPlayer* player = GetSoundPlayer();
  const bool played = player != nullptr && player->TryPlay(name, source != nullptr ? source->GetId() : 0);
  if (!played && services.soundDebugging) Log(failure + ", name=" + name);
  if (services.soundTrace) {
    Output(" Sound: id " + std::to_string(number));
    Output("name " + name);
    Output(" Source: " + (source != nullptr ? ObjectName(source) : std::string("none")));
    if (!played) Output(" Sound System failed to Play");
  }
  return kPrimTrue;
}

int32_t QueuePrimitives::StopSounds(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  cXObject* object = node.Operand(0) == 0 ? &me : ObjectOf(me, frame.stackObject);
  if (GameServices::Get().soundTrace) Output(" Killing Source: " + (object ? ObjectName(object) : std::string(" none ")));
  if (object != nullptr) {
    if (iSoundPlayer* player = GetSoundPlayer()) player->StopSources(object->GetId());
  }
  return kPrimTrue;
}

int32_t QueuePrimitives::MakeNewCharacter(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  int16_t values[3] = {};
  for (int k = 0; k < 3; ++k) {
    const int32_t local = NodeOperandByte(node, k);
    if (local >= frame.localCount) RaiseObjectError(kErrParameterNumber);
    values[k] = frame.Locals()[local];
  }
  const int16_t skin = values[0], age = values[1], sex = values[2];
  iCharacterMaker* maker = GameServices::Get().characters;
  std::unique_ptr<iNewCharacter> made = maker != nullptr ? maker->CreateUserCharacter() : nullptr;
  if (!made) return kPrimFalse;
  const std::string tone = made->DefinitionString(kSkinColourList, skin + 1).value_or(std::string());
  if (tone.empty()) {
    // Nothing half-made stays behind the error.
    made->Delete();
    RaiseObjectError(kErrNoSkinColour);
  }
  made->AttachEditor();
  made->SetAgeClass(age < 18);
  made->SetSkinTone(tone);
  made->SetSex(sex != 0);
  const int32_t bodies = made->BodyChoices();
  const int32_t heads = made->HeadChoices();
  if (bodies <= 0 || heads <= 0) {
    made->DetachEditor(false);
    made->Delete();
    return kPrimFalse;
  }
  made->ChooseHead(static_cast<int32_t>(NextRandom() % static_cast<uint32_t>(heads)));
  made->ChooseBody(static_cast<int32_t>(NextRandom() % static_cast<uint32_t>(bodies)));
  made->DetachEditor(true);
  std::string name = ObjectModule::GlobalAnswer();
  if (name.empty()) name = ObjectDialog::ButtonString(kChildNameEntry);
  if (name.empty()) name = kNoChildName;
  made->SetCatalogueName(name);
  made->SetRecordId(frame.stackObject);
  return kPrimTrue;
}

}  // namespace tova
