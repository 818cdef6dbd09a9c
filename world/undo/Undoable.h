// An undo record: one edit of the lot that can be undone and redone. Records
// are reference counted (whoever keeps a pointer adds one) and may hold
// child records made before and after their own change, each child holding
// one reference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Undoable {
public:
    enum State : int32_t { kNew = 0, kDone = 1, kUndone = 2, kFailed = 3 };

    Undoable() = default;
    virtual ~Undoable();
    Undoable(const Undoable&) = delete;
    Undoable& operator=(const Undoable&) = delete;

    // The state-keeping wrappers; 0 is success.
    int32_t Apply();
    // A new record is applied first; one that did not become done answers
    // that result.
    int32_t Undo();
    int32_t Redo();

    void AddRef() { ++mRefCount; }
    // Deletes the record when its last reference goes.
    void Release();
    int32_t RefCount() const { return mRefCount; }
    State GetState() const { return mState; }
    // For a tool that has made its change already and pushes the record done.
    void MarkDone() { mState = kDone; }

    virtual void ClearLists();
    // Undoes the list's children newest first, releasing each, and stops at
    // the first that fails; the list is emptied either way. True when at
    // least one child was undone.
    virtual bool UndoBefore();
    virtual bool UndoAfter();
    // Takes a reference, applies the child and appends it.
    virtual void AddBefore(Undoable* child);
    virtual void AddAfter(Undoable* child);

    std::size_t BeforeCount() const { return mBefore.size(); }
    std::size_t AfterCount() const { return mAfter.size(); }

protected:
    virtual int32_t DoApply() { return 0; }
    virtual int32_t DoUndo() = 0;
    virtual int32_t DoRedo() = 0;

    // For subclasses around their own change: the children are kept. Undo
    // goes newest first, redo oldest first; 1 at the first failure.
    int32_t UndoBeforeList() { return UndoList(mBefore); }
    int32_t UndoAfterList() { return UndoList(mAfter); }
    int32_t RedoBeforeList() { return RedoList(mBefore); }
    int32_t RedoAfterList() { return RedoList(mAfter); }

private:
    static void ReleaseAll(std::vector<Undoable*>& list);
    static bool UndoAndDrop(std::vector<Undoable*>& list);
    static int32_t UndoList(std::vector<Undoable*>& list);
    static int32_t RedoList(std::vector<Undoable*>& list);

    State mState = kNew;
    int32_t mRefCount = 0;
    std::vector<Undoable*> mBefore;
    std::vector<Undoable*> mAfter;
};
