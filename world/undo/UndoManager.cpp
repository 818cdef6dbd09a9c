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
    if (mUndoCount != 0) WithdrawPreviews();
    return MoveTop(mUndo, mUndoCount, mRedo, mRedoCount, &Undoable::Undo);
}

int32_t UndoManager::Redo() {
    if (mRedoCount != 0) WithdrawPreviews();
    return MoveTop(mRedo, mRedoCount, mUndo, mUndoCount, &Undoable::Redo);
}

void UndoManager::AddLivePreview(iLivePreview* preview) {
    if (preview != nullptr && std::find(mPreviews.begin(), mPreviews.end(), preview) == mPreviews.end())
        mPreviews.push_back(preview);
}

void UndoManager::RemoveLivePreview(iLivePreview* preview) {
    mPreviews.erase(std::remove(mPreviews.begin(), mPreviews.end(), preview), mPreviews.end());
}

void UndoManager::WithdrawPreviews() {
    for (iLivePreview* preview : mPreviews) preview->WithdrawPreview();
}

int32_t UndoManager::MoveTop(Undoable** from, int32_t& fromCount, Undoable** to, int32_t& toCount,
                             int32_t (Undoable::*step)()) {
    if (fromCount == 0) return 1;
    Undoable* record = from[fromCount - 1];
    const int32_t result = (record->*step)();
    if (result != 0) {
        ReleaseStack(from, fromCount);
    } else {
        from[--fromCount] = nullptr;
        to[toCount++] = record;  // the two counts never exceed the capacity together
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
