#include "world/undo/UndoManager.h"

#include <algorithm>

#include "gamedata/Commander.h"

namespace {
void BroadcastChange() { tova::Broadcast(tova::cmd::kUndoChanged, 0); }
}  // namespace

UndoManager::~UndoManager() { Clear(); }

void UndoManager::Push(Undoable* record) {
    if (record == nullptr) return;
    if (record->GetState() != Undoable::kDone && record->Apply() != 0) {
        Clear();
        // Nobody else may hold the failed record: take it and let it go.
        record->AddRef();
        record->Release();
        return;
    }
    if (mUndoCount == kCapacity) {
        mUndo[0]->Release();
        std::copy(mUndo + 1, mUndo + kCapacity, mUndo);
        mUndo[--mUndoCount] = nullptr;
    }
    if (record->GetState() == Undoable::kDone) {
        record->AddRef();
        mUndo[mUndoCount++] = record;
        ReleaseStack(mRedo, mRedoCount);
    }
    BroadcastChange();
}

int32_t UndoManager::Undo() {
    if (mUndoCount == 0) return 1;
    Undoable* record = mUndo[mUndoCount - 1];
    const int32_t result = record->Undo();
    if (result != 0) {
        ReleaseStack(mUndo, mUndoCount);
    } else {
        mUndo[--mUndoCount] = nullptr;
        mRedo[mRedoCount++] = record;
    }
    BroadcastChange();
    return result;
}

int32_t UndoManager::Redo() {
    if (mRedoCount == 0) return 1;
    Undoable* record = mRedo[mRedoCount - 1];
    const int32_t result = record->Redo();
    if (result != 0) {
        ReleaseStack(mRedo, mRedoCount);
    } else {
        mRedo[--mRedoCount] = nullptr;
        mUndo[mUndoCount++] = record;
    }
    BroadcastChange();
    return result;
}

void UndoManager::Clear() {
    ReleaseStack(mUndo, mUndoCount);
    ReleaseStack(mRedo, mRedoCount);
}

void UndoManager::ReleaseStack(Undoable** stack, int32_t& count) {
    while (count > 0) {
        Undoable* record = stack[--count];
        stack[count] = nullptr;
        record->Release();
    }
}
