// The host window the window framework draws in and takes input from: the
// cursors are made and shown through it and the pointer is read from it.
// The main window installs it; tests install a headless one.
#pragma once

namespace platform {
class HostWindow;
}

platform::HostWindow* GZGetHostWindow();
void GZSetHostWindow(platform::HostWindow* host);
