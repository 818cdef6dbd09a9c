// The wall tools' view of the live objects, over the object module: what
// stands on a tile (and what it holds) as the wall rules read it, selling an
// object from its wall, object undo by lot id, and the wall cursor made from
// a cursor definition of the catalogue.
#pragma once

#include "simulation/ObjectModule.h"
#include "world/undo/ModuleUndoObjects.h"
#include "world/undo/iWallObjects.h"

class ModuleWallObjects : public iWallObjects {
public:
    explicit ModuleWallObjects(tova::ObjectModule& module) : mModule(module), mUndo(module) {}
    ~ModuleWallObjects() override { DeleteCursor(); }

    std::vector<WallObjectInfo> ObjectsAt(tova::TileLocation worldTile) const override;
    bool AllowsWallRemoval(int16_t id) override;
    int32_t GetSaleValue(int16_t id) const override;
    void DeleteSelf(int16_t id) override;
    iUndoObjects& UndoObjects() override { return mUndo; }

    bool CreateCursor(const std::string& definitionName, int32_t level) override;
    void DeleteCursor() override;
    void SetCursorMode(int32_t mode) override;
    void HideCursor() override;
    bool MoveCursor(tova::FinePoint worldFine, int32_t level, int32_t facing) override;
    int16_t CursorId() const { return mCursor; }

private:
    tova::cXObject* Cursor() const { return mCursor != 0 ? mModule.GetObjectById(mCursor) : nullptr; }

    tova::ObjectModule& mModule;
    ModuleUndoObjects mUndo;
    int16_t mCursor = 0;
};
