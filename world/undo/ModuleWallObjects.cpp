#include "world/undo/ModuleWallObjects.h"

#include <functional>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/cXCursorObject.h"

using namespace tova;

namespace {

bool InUse(const cXObject& object) {
    return object.GetData(kDataUseCount) > 0 || (object.GetData(kDataFlags) & kFlagInUse) != 0;
}

}  // namespace

std::vector<WallObjectInfo> ModuleWallObjects::ObjectsAt(TileLocation worldTile) const {
    std::vector<cXObject*> cell;
    mModule.ObjectsInCell(worldTile, cell);
    std::vector<WallObjectInfo> out;
    // Each object, then everything it holds, depth first.
    std::function<void(cXObject*, int32_t)> visit = [&](cXObject* object, int32_t depth) {
        if (object == nullptr || depth > 16) return;
        WallObjectInfo info;
        info.id = object->GetId();
        info.person = object->IsPerson();
        std::vector<cXObject*> group;
        object->GetGroup(group);
        for (const cXObject* part : group)
            if (part != nullptr && InUse(*part)) info.inUse = true;
        const ObjectDefinition* definition = object->GetDefinition();
        info.type = definition != nullptr ? definition->GetRecord().ObjectType() : 0;
        info.wallFlags = static_cast<uint16_t>(object->GetData(kDataWallPlacement));
        info.facing = object->GetData(kDataDirection) & 7;
        out.push_back(info);
        for (int32_t n = 0; n < object->SlotCount(); ++n) {
            cXObject* held = object->GetObjectInSlot(n);
            if (held != object) visit(held, depth + 1);
        }
    };
    for (cXObject* object : cell) visit(object, 0);
    return out;
}

bool ModuleWallObjects::AllowsWallRemoval(int16_t id) {
    cXObject* object = mModule.GetObjectById(id);
    return object == nullptr || object->CanDelete();
}

int32_t ModuleWallObjects::GetSaleValue(int16_t id) const {
    const cXObject* object = mModule.GetObjectById(id);
    return object != nullptr ? object->GetSaleValue() : 0;
}

void ModuleWallObjects::DeleteSelf(int16_t id) { mModule.DeleteObject(id); }

bool ModuleWallObjects::CreateCursor(const std::string& definitionName, int32_t level) {
    ObjectFolder* catalogue = mModule.GetCatalogue();
    ObjectDefinition* definition = catalogue != nullptr ? catalogue->FindByName(definitionName) : nullptr;
    if (definition == nullptr) return false;
    DeleteCursor();
    mCursor = cXCursorObject::AttachToCursor(mModule, 0, definition, level);
    return mCursor != 0;
}

void ModuleWallObjects::DeleteCursor() {
    if (Cursor() != nullptr) mModule.DeleteObject(mCursor);
    mCursor = 0;
}

void ModuleWallObjects::SetCursorMode(int32_t mode) {
    // The cursor shows its mode through the graphic it draws.
    if (cXObject* cursor = Cursor()) cursor->SetData(kDataGraphic, static_cast<int16_t>(mode));
}

void ModuleWallObjects::HideCursor() {
    if (cXObject* cursor = Cursor()) cursor->RemoveFromWorld();
}

bool ModuleWallObjects::MoveCursor(FinePoint worldFine, int32_t level, int32_t facing) {
    cXObject* cursor = Cursor();
    if (cursor == nullptr) return false;
    static_cast<cXCursorObject*>(cursor)->RotateTo(facing);
    if (!cursor->CanPlace(worldFine, level, nullptr, 0)) return false;
    cursor->Place(worldFine, level, nullptr, 0);
    return true;
}
