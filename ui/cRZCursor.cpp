#include "ui/cRZCursor.h"

#include "platform/HostWindow.h"
#include "ui/GZHostWindow.h"

cRZCursor::cRZCursor(const std::string& path) {
    if (platform::HostWindow* host = GZGetHostWindow())
        mHandle = host->LoadCursorFile(path, &mError);
    else
        mError = "no host window";
}

cRZCursor::~cRZCursor() {
    if (mHandle == 0) return;
    if (platform::HostWindow* host = GZGetHostWindow()) host->DestroyCursor(mHandle);
}

void cRZCursor::Apply() const {
    if (platform::HostWindow* host = GZGetHostWindow()) host->SetCursor(mHandle);
}
