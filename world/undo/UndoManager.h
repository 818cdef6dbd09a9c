// The build tools' edit history: an undo stack and a redo stack of at most
// 256 records together, each record on a stack holding one reference. Every
// change of the history is broadcast as command 238 so that the control
// panel can update its undo and redo buttons.
#pragma once

#include <cstdint>
#include <vector>

#include "world/undo/Undoable.h"

// A tool whose live preview changes the lot without booking its money. The
// preview is withdrawn before every undo and redo, so that the step neither
// exchanges cells the preview has touched nor books the preview's cost.
class iLivePreview {
public:
    virtual void WithdrawPreview() = 0;

protected:
    ~iLivePreview() = default;
};

class UndoManager {
public:
    static constexpr int32_t kCapacity = 256;

    UndoManager() = default;
    virtual ~UndoManager();
    UndoManager(const UndoManager&) = delete;
    UndoManager& operator=(const UndoManager&) = delete;

    // Applies a record that is not done yet; one whose apply fails empties
    // both stacks and is not kept (no broadcast). Otherwise the record goes
    // on the undo stack (the oldest is forgotten at 256) and redo empties.
    // A dropped record that nobody else holds is deleted.
    void Push(Undoable* record);
    // 0 on success. A failure forgets the stack the record came from; an
    // empty stack answers failure and changes nothing.
    int32_t Undo();
    int32_t Redo();
    void Clear();
    // Forgets the redo stack only.
    void ClearRedo() { ReleaseStack(mRedo, mRedoCount); }
    bool CanUndo() const { return mUndoCount != 0; }
    bool CanRedo() const { return mRedoCount != 0; }
    int32_t UndoCount() const { return mUndoCount; }
    int32_t RedoCount() const { return mRedoCount; }
    // A preview registered here is withdrawn before each undo and redo; its
    // owner removes it before going away.
    void AddLivePreview(iLivePreview* preview);
    void RemoveLivePreview(iLivePreview* preview);

private:
    // Undoes or redoes the top of one stack and moves it to the other.
    static int32_t MoveTop(Undoable** from, int32_t& fromCount, Undoable** to, int32_t& toCount,
                           int32_t (Undoable::*step)());
    static void ReleaseStack(Undoable** stack, int32_t& count);
    void WithdrawPreviews();

    int32_t mUndoCount = 0;
    Undoable* mUndo[kCapacity] = {};
    int32_t mRedoCount = 0;
    Undoable* mRedo[kCapacity] = {};
    std::vector<iLivePreview*> mPreviews;
};
