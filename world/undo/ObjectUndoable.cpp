#include "world/undo/ObjectUndoable.h"

#include <algorithm>

#include "world/tools/cTool.h"

namespace {

struct Handle {
    int16_t lotId = 0;
    uint32_t serial = 0;
    int32_t refs = 0;
    bool deletedByUndo = false;
};

std::vector<Handle>& Handles() {
    static std::vector<Handle> handles;
    return handles;
}
uint32_t gNextSerial = 1;  // 0 means "no object"

Handle* FindHandle(uint32_t serial) {
    if (serial == 0) return nullptr;
    for (Handle& h : Handles())
        if (h.serial == serial) return &h;
    return nullptr;
}

uint32_t MakeHandle(int16_t lotId) {
    for (Handle& h : Handles())
        if (h.lotId == lotId) {
            ++h.refs;
            return h.serial;
        }
    Handles().push_back(Handle{lotId, gNextSerial++, 1, false});
    return Handles().back().serial;
}

void ReleaseHandle(iUndoObjects& objects, uint32_t serial) {
    auto& handles = Handles();
    const auto it = std::find_if(handles.begin(), handles.end(), [&](const Handle& h) { return h.serial == serial; });
    if (it == handles.end() || --it->refs > 0) return;
    const int16_t lotId = it->lotId;
    handles.erase(it);
    // An object that undo took off the lot is forgotten with its last record.
    if (objects.Exists(lotId) && !objects.IsOnLot(lotId)) objects.DeleteObject(lotId);
}

}  // namespace

size_t ObjectUndoable::HandleCount() { return Handles().size(); }

ObjectUndoable::ObjectUndoable(iUndoObjects& objects, int16_t lotId, int32_t kind, int32_t amount, cTool* tool)
    : mObjects(objects), mAmount(amount), mTool(tool), mKind(kind) {
    Capture(mBefore, lotId);
    const int16_t lead = lotId != 0 ? objects.LeadOf(lotId) : 0;
    if (lead == 0 || !objects.Exists(lead)) return;
    mArchitecture = objects.IsArchitecture(lead);
    // Every real slot gets a child, the last one too; zero entries are
    // empty slots or list ends.
    for (int16_t held : objects.SlotObjects(lead))
        if (held != 0) mChildren.push_back(std::make_unique<ObjectUndoable>(objects, held, kind, 0, tool));
}

ObjectUndoable::~ObjectUndoable() {
    mChildren.clear();
    for (const Record* r : {&mBefore, &mAfter})
        if (r->serial != 0) ReleaseHandle(mObjects, r->serial);
}

void ObjectUndoable::SetKind(int32_t kind) {
    mKind = kind;
    for (auto& child : mChildren) child->SetKind(kind);
}

int16_t ObjectUndoable::HandleLotId() const { return static_cast<int16_t>(CurrentLotId(mBefore)); }

int32_t ObjectUndoable::CurrentLotId(const Record& record) const {
    const Handle* h = FindHandle(record.serial);
    return h != nullptr ? h->lotId : 0;
}

bool ObjectUndoable::Capture(Record& record, int16_t lotId) {
    if (record.captured) return false;
    if (lotId == 0) return true;
    const int16_t lead = mObjects.LeadOf(lotId);
    if (!mObjects.Exists(lead) || !mObjects.GetPlacement(lead, record.placement)) return false;
    record.serial = MakeHandle(lead);
    record.captured = true;
    return true;
}

int32_t ObjectUndoable::DoApply() {
    if (mKind != kRemoved) Capture(mAfter, static_cast<int16_t>(CurrentLotId(mBefore)));
    for (auto& child : mChildren) child->Apply();
    return 0;
}

int32_t ObjectUndoable::PutBack(const Record& record) {
    const int16_t id = static_cast<int16_t>(CurrentLotId(record));
    if (id == 0 || !mObjects.Exists(id)) return 1;
    mObjects.RemoveFromWorld(id);
    for (int step = 0; step < 8 && mObjects.GetFacing(id) != record.placement.facing; ++step)
        mObjects.TurnOneStep(id);
    const ObjectPlacement& at = record.placement;
    if (at.container != 0 && !mObjects.Exists(at.container)) return 1;
    if (!mObjects.CanPlace(id, at)) return 1;
    return mObjects.Place(id, at) ? 0 : 1;
}

int32_t ObjectUndoable::Recreate(const Record& record) {
    Handle* h = FindHandle(record.serial);
    if (h == nullptr) return 1;
    if (!mObjects.Exists(h->lotId)) {
        const int16_t id = mObjects.CreateObject(record.placement.definition);
        if (id != h->lotId) {
            if (id != 0) mObjects.DeleteObject(id);
            return 1;
        }
    }
    h->deletedByUndo = false;
    if (PutBack(record) != 0) {
        DeleteByUndo(record);
        return 1;
    }
    return 0;
}

void ObjectUndoable::DeleteByUndo(const Record& record) {
    Handle* h = FindHandle(record.serial);
    if (h == nullptr || !mObjects.Exists(h->lotId)) return;
    mObjects.DeleteFromWorld(h->lotId);
    h->deletedByUndo = true;
}

void ObjectUndoable::Book(int32_t amount) {
    if (mTool == nullptr || amount == 0) return;
    const int32_t saved = mTool->GetExpenseCategory();
    mTool->SetExpenseCategory(mArchitecture ? 7 : 6);
    mTool->AddPending(amount);
    mTool->BookPending();
    mTool->SetExpenseCategory(saved);
}

int32_t ObjectUndoable::DoUndo() {
    if (const int32_t r = UndoBeforeList(); r != 0) return r;
    int32_t own = 0;
    switch (mKind) {
        case kBought:
            DeleteByUndo(mBefore);
            Book(-mAmount);
            break;
        case kMoved:
        case kMovedToo: own = PutBack(mBefore); break;
        case kRemoved:
            own = Recreate(mBefore);
            if (own == 0) Book(mAmount);
            break;
        default: own = 1; break;
    }
    for (auto& child : mChildren) child->Undo();
    return own != 0 ? 1 : UndoAfterList();
}

int32_t ObjectUndoable::DoRedo() {
    if (const int32_t r = RedoBeforeList(); r != 0) return r;
    int32_t own = 0;
    switch (mKind) {
        case kBought:
            own = Recreate(mAfter);
            if (own == 0) Book(mAmount);
            break;
        case kMoved:
        case kMovedToo: own = PutBack(mAfter); break;
        case kRemoved:
            for (auto& child : mChildren) child->Redo();
            DeleteByUndo(mBefore);
            Book(-mAmount);
            break;
        default: return 1;
    }
    if (mKind != kRemoved)
        for (auto& child : mChildren) child->Redo();
    return own != 0 ? 1 : RedoAfterList();
}
