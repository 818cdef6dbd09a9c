#include "ui/GZHostWindow.h"
#include "ui/cIGZUIApp.h"

namespace {
cIGZUIApp* gpUIApp = nullptr;
platform::HostWindow* gpHostWindow = nullptr;
}  // namespace

cIGZUIApp* GZGetUIApp() { return gpUIApp; }
void GZSetUIApp(cIGZUIApp* app) { gpUIApp = app; }
platform::HostWindow* GZGetHostWindow() { return gpHostWindow; }
void GZSetHostWindow(platform::HostWindow* host) { gpHostWindow = host; }
