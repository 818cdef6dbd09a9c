#include "ui/cRZCursorManager.h"

#include "platform/HostWindow.h"
#include "ui/GZHostWindow.h"
#include "ui/cRZCursor.h"

cRZCursorManager::~cRZCursorManager() { RemoveAllCursors(true); }

bool cRZCursorManager::AddCursor(cRZCursor* cursor, int32_t id) {
    if (!cursor) return false;
    return mCursors.emplace(id, cursor).second;
}

bool cRZCursorManager::RemoveCursor(int32_t id, bool deleteCursor) {
    auto it = mCursors.find(id);
    if (it == mCursors.end()) return false;
    cRZCursor* cursor = it->second;
    mCursors.erase(it);
    if (deleteCursor) delete cursor;
    return true;
}

cRZCursor* cRZCursorManager::GetCursor(int32_t id) const {
    auto it = mCursors.find(id);
    return it == mCursors.end() ? nullptr : it->second;
}

void cRZCursorManager::RemoveAllCursors(bool deleteCursors) {
    if (deleteCursors)
        for (auto& entry : mCursors) delete entry.second;
    mCursors.clear();
}

bool cRZCursorManager::Shutdown() {
    RemoveAllCursors(true);
    return true;
}

void cRZCursorManager::HideCursor() {
    if (platform::HostWindow* host = GZGetHostWindow()) host->ShowCursor(false);
}

void cRZCursorManager::ShowCursor() {
    if (platform::HostWindow* host = GZGetHostWindow()) host->ShowCursor(true);
}
