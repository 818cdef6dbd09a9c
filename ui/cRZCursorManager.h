// The table of the program's cursors by numeric id; id 0 is the default
// cursor windows fall back to. The manager owns the cursors added to it.
// Hiding and showing drive the pointer's visibility to a state rather than
// counting calls: one show undoes any number of hides.
#pragma once

#include <cstdint>
#include <cstddef>
#include <map>

class cRZCursor;

class cRZCursorManager {
public:
    cRZCursorManager() = default;
    virtual ~cRZCursorManager();
    cRZCursorManager(const cRZCursorManager&) = delete;
    cRZCursorManager& operator=(const cRZCursorManager&) = delete;

    // False when the id is taken (the caller keeps the cursor then).
    bool AddCursor(cRZCursor* cursor, int32_t id);
    bool RemoveCursor(int32_t id, bool deleteCursor);
    cRZCursor* GetCursor(int32_t id) const;
    cRZCursor* FindCursor(int32_t id) const { return GetCursor(id); }
    void RemoveAllCursors(bool deleteCursors);
    bool Shutdown();
    void HideCursor();
    void ShowCursor();
    size_t GetCount() const { return mCursors.size(); }

private:
    std::map<int32_t, cRZCursor*> mCursors;
};
