#include "world/undo/ModuleUndoObjects.h"

#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ObjectFolder.h"

using namespace tova;

int16_t ModuleUndoObjects::LeadOf(int16_t lotId) const {
    cXObject* object = Find(lotId);
    if (object == nullptr) return lotId;
    // A group lists its lead first.
    std::vector<cXObject*> group;
    object->GetGroup(group);
    return group.empty() || group.front() == nullptr ? lotId : group.front()->GetId();
}

bool ModuleUndoObjects::GetPlacement(int16_t lotId, ObjectPlacement& out) const {
    cXObject* object = Find(lotId);
    if (object == nullptr) return false;
    const cXObject* container = object->GetContainer();
    out.position = object->GetPosition();
    out.level = object->GetLevel();
    out.container = container != nullptr ? container->GetId() : 0;
    out.slot = container != nullptr ? object->GetData(kDataSlotIndex) : 0;
    out.slotData = object->GetContainmentPosition();
    out.facing = object->GetData(kDataDirection);
    out.definition = object->GetDefinition() != nullptr ? object->GetDefinition()->GetGUID() : 0;
    return true;
}

bool ModuleUndoObjects::IsArchitecture(int16_t lotId) const {
    const cXObject* object = Find(lotId);
    const ObjectDefinition* definition = object != nullptr ? object->GetDefinition() : nullptr;
    return definition != nullptr && definition->GetRecord().Word(ObjectDefinitionRecord::kCategory) != 0;
}

std::vector<int16_t> ModuleUndoObjects::SlotObjects(int16_t lotId) const {
    std::vector<int16_t> held;
    cXObject* object = Find(lotId);
    if (object == nullptr) return held;
    std::vector<cXObject*> group;
    object->GetGroup(group);
    for (const cXObject* part : group) {
        if (part == nullptr) continue;
        for (int32_t n = 0; n < part->SlotCount(); ++n) held.push_back(part->GetSlotObject(n));
        held.push_back(0);
    }
    return held;
}

int16_t ModuleUndoObjects::CreateObject(uint32_t definition) {
    ObjectFolder* catalogue = mModule.GetCatalogue();
    ObjectDefinition* found = catalogue != nullptr ? catalogue->FindByGUID(definition) : nullptr;
    return found != nullptr ? mModule.CreateObject(found) : 0;
}

void ModuleUndoObjects::DeleteFromWorld(int16_t lotId) { RemoveFromWorld(lotId); }

void ModuleUndoObjects::DeleteObject(int16_t lotId) {
    if (Find(lotId) != nullptr) mModule.DeleteObject(lotId);
}

void ModuleUndoObjects::RemoveFromWorld(int16_t lotId) {
    if (cXObject* object = Find(lotId)) object->RemoveFromWorld();
}

int32_t ModuleUndoObjects::GetFacing(int16_t lotId) const {
    const cXObject* object = Find(lotId);
    return object != nullptr ? object->GetData(kDataDirection) : 0;
}

void ModuleUndoObjects::TurnOneStep(int16_t lotId) {
    cXObject* object = Find(lotId);
    if (object == nullptr) return;
    if (object->GetData(kDataRotationStep) != 0) {
        object->Rotate(1);
        return;
    }
    // An object whose definition gives it no turning step still has to come
    // back facing the way it stood: it is turned an eighth at a time.
    object->SetData(kDataDirection, static_cast<int16_t>((object->GetData(kDataDirection) + 1) & 7));
    object->MarkForRedraw();
}

bool ModuleUndoObjects::CanPlace(int16_t lotId, const ObjectPlacement& at) {
    cXObject* object = Find(lotId);
    return object != nullptr && object->CanPlace(at.position, at.level, ContainerOf(at), at.slot);
}

bool ModuleUndoObjects::Place(int16_t lotId, const ObjectPlacement& at) {
    cXObject* object = Find(lotId);
    if (object == nullptr) return false;
    object->Place(at.position, at.level, ContainerOf(at), at.slot);
    return object->IsOnLot();
}

bool ModuleUndoObjects::IsOnLot(int16_t lotId) const {
    const cXObject* object = Find(lotId);
    if (object == nullptr || !object->IsOnLot()) return false;
    const iLotWorld* world = mModule.GetWorld();
    if (world == nullptr) return true;
    const TileLocation tile = object->GetTile();
    const int32_t size = world->GetSize();
    return tile.x >= 1 && tile.y >= 1 && tile.x <= size - 2 && tile.y <= size - 2;
}
