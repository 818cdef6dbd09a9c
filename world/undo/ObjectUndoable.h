// The undo record of one object bought, moved or sold by the move tool.
// Undo and redo delete and re-create objects, so the record keeps object
// handles: entries of one table that follow an object, by lot id, across
// its deletion and re-creation.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "world/undo/Undoable.h"
#include "world/undo/iUndoObjects.h"

class cTool;

class ObjectUndoable : public Undoable {
public:
    enum Kind : int32_t { kBought = 0, kMoved = 1, kMovedToo = 2, kRemoved = 3 };

    // Captures where the object (the lead of its group) stands now, and a
    // child record for every object held in a slot of any of its parts.
    ObjectUndoable(iUndoObjects& objects, int16_t lotId, int32_t kind, int32_t amount, cTool* tool);
    ~ObjectUndoable() override;

    void SetKind(int32_t kind);
    void SetAmount(int32_t amount) { mAmount = amount; }
    int32_t GetAmount() const { return mAmount; }
    int32_t GetKind() const { return mKind; }
    size_t ChildCount() const { return mChildren.size(); }
    // The lot id the before handle follows (0 when none).
    int16_t HandleLotId() const;

    // The handle table, for tests and diagnostics.
    static size_t HandleCount();

protected:
    int32_t DoApply() override;
    int32_t DoUndo() override;
    int32_t DoRedo() override;

private:
    struct Record {
        uint32_t serial = 0;
        ObjectPlacement placement;
        bool captured = false;
    };
    bool Capture(Record& record, int16_t lotId);
    int32_t PutBack(const Record& record);
    int32_t Recreate(const Record& record);
    void DeleteByUndo(const Record& record);
    void Book(int32_t amount);
    int32_t CurrentLotId(const Record& record) const;

    iUndoObjects& mObjects;
    int32_t mAmount;
    cTool* mTool;
    std::vector<std::unique_ptr<ObjectUndoable>> mChildren;
    int32_t mKind;
    bool mArchitecture = false;
    Record mBefore;
    Record mAfter;
};
