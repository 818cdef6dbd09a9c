#include "world/undo/cPoolUndoable.h"

#include "gamedata/Commander.h"
#include "world/cFixedWorld.h"
#include "world/tools/cPoolTool.h"

cPoolUndoable::cPoolUndoable(cFixedWorld& world, cPoolTool* tool, cPoolLayer* before)
    : mWorld(world), mTool(tool), mBefore(before) {
    if (mBefore != nullptr) mBefore->AddRef();
}

cPoolUndoable::~cPoolUndoable() {
    if (mBefore != nullptr) mBefore->Release();
    if (mAfter != nullptr) mAfter->Release();
}

void cPoolUndoable::SetAfter(cPoolLayer* after, int32_t count) {
    if (after != nullptr) after->AddRef();
    if (mAfter != nullptr) mAfter->Release();
    mAfter = after;
    mCount = count;
}

void cPoolUndoable::Restore(const cPoolLayer& layer) {
    if (PoolToolLive() && mTool != nullptr && mTool->Preview() != nullptr) {
        mTool->Preview()->Assign(layer);
        mTool->Base()->Assign(layer);
        mTool->Refresh();
        mTool->Base()->Assign(*mTool->Preview());
    }
    mWorld.GetPoolLayer()->Assign(layer);
    // The deck follows the pool it rings.
    cPoolTool::ComputeDeck(mWorld, *mWorld.GetPoolLayer());
    tova::Broadcast(tova::cmd::kBuildChanged, 0);
}

int32_t cPoolUndoable::DoUndo() {
    if (mBefore == nullptr || mAfter == nullptr) return 1;
    Restore(*mBefore);
    if (mTool != nullptr) {
        // Undo always restores: taking a refund back is not tested for money.
        if (mCount > 0) mTool->SubPending(mCount * mTool->Price());
        if (mCount < 0) mTool->AddPending(mTool->Refund(mCount));
        if (mTool->GetPending() != 0) mTool->BookPending();
        mTool->Refresh();
    }
    return 0;
}

int32_t cPoolUndoable::DoRedo() {
    if (mBefore == nullptr || mAfter == nullptr) return 1;
    Restore(*mAfter);
    if (mTool != nullptr) {
        if (mCount > 0) mTool->AddPending(mCount * mTool->Price());
        if (mCount < 0) mTool->SubPending(mTool->Refund(mCount));
        if (mTool->GetPending() != 0) mTool->BookPending();
        mTool->Refresh();
    }
    return 0;
}
