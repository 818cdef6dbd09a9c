// A mouse cursor loaded from a cursor file (.cur or .ani) through the host
// window. A file that cannot be loaded gives a cursor with a null handle,
// which shows the system arrow.
#pragma once

#include <cstdint>
#include <string>

class cRZCursor {
public:
    explicit cRZCursor(const std::string& path);
    virtual ~cRZCursor();
    cRZCursor(const cRZCursor&) = delete;
    cRZCursor& operator=(const cRZCursor&) = delete;

    // Makes this the host window's cursor.
    void Apply() const;
    uint32_t GetHandle() const { return mHandle; }
    bool IsLoaded() const { return mHandle != 0; }
    const std::string& GetLoadError() const { return mError; }

private:
    uint32_t mHandle = 0;
    std::string mError;
};
