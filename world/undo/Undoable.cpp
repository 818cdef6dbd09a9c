#include "world/undo/Undoable.h"

Undoable::~Undoable() {
    ReleaseAll(mBefore);
    ReleaseAll(mAfter);
}

int32_t Undoable::Apply() {
    const int32_t result = DoApply();
    mState = result != 0 ? kFailed : kDone;
    return result;
}

int32_t Undoable::Undo() {
    if (mState == kNew) {
        const int32_t result = Apply();
        if (mState != kDone) return result;
    }
    const int32_t result = DoUndo();
    mState = result != 0 ? kFailed : kUndone;
    return result;
}

int32_t Undoable::Redo() {
    const int32_t result = DoRedo();
    mState = result != 0 ? kFailed : kDone;
    return result;
}

void Undoable::Release() {
    if (--mRefCount <= 0) delete this;
}

void Undoable::ClearLists() {
    ReleaseAll(mBefore);
    ReleaseAll(mAfter);
}

bool Undoable::UndoBefore() { return UndoAndDrop(mBefore); }
bool Undoable::UndoAfter() { return UndoAndDrop(mAfter); }

void Undoable::AddBefore(Undoable* child) {
    child->AddRef();
    child->Apply();
    mBefore.push_back(child);
}

void Undoable::AddAfter(Undoable* child) {
    child->AddRef();
    child->Apply();
    mAfter.push_back(child);
}

void Undoable::ReleaseAll(std::vector<Undoable*>& list) {
    std::vector<Undoable*> children;
    children.swap(list);
    for (Undoable* child : children) child->Release();
}

bool Undoable::UndoAndDrop(std::vector<Undoable*>& list) {
    bool any = false;
    while (!list.empty()) {
        Undoable* child = list.back();
        list.pop_back();
        const bool failed = child->Undo() != 0;
        child->Release();
        if (failed) break;
        any = true;
    }
    ReleaseAll(list);  // the older children are dropped without an undo
    return any;
}

int32_t Undoable::UndoList(std::vector<Undoable*>& list) {
    for (std::size_t i = list.size(); i-- > 0;)
        if (list[i]->Undo() != 0) return 1;
    return 0;
}

int32_t Undoable::RedoList(std::vector<Undoable*>& list) {
    for (Undoable* child : list)
        if (child->Redo() != 0) return 1;
    return 0;
}
