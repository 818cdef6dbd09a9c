// What the window framework asks of the application (the game shell
// implements it): hearing about the main window's events, showing a text in
// a message window, and the switches the windows read. Until one is
// installed the framework does without (nothing is shown or told).
#pragma once

#include <cstdint>

class cIGZUIApp {
public:
    // The splash screen finished showing an image.
    virtual void OnSplashImageEnded(int32_t imageIndex) = 0;
    // WM_CLOSE: the application decides whether and how to close.
    virtual void OnCloseRequest() = 0;
    virtual void OnActivate(bool active) = 0;
    // The desktop's depth changed, while windowed, to something unusable.
    virtual void OnDisplayDepthChanged() = 0;
    // The private messages 0xC00 and 0xC01; true when handled.
    virtual bool HandlePrivateMessage(uint32_t message, intptr_t wParam, intptr_t lParam) = 0;
    // The value the main window's cheat code manager is created with.
    virtual intptr_t GetCheatManagerValue() = 0;
    // A plain message window with a title (the "tips" command's report).
    virtual void ShowTextWindow(const char* text, const char* title) = 0;
    virtual void OnMovieEnded(int32_t code) = 0;
    // The display option that makes message boxes translucent while dragged.
    virtual bool TranslucentMessageBoxes() = 0;

protected:
    virtual ~cIGZUIApp() = default;
};

cIGZUIApp* GZGetUIApp();
void GZSetUIApp(cIGZUIApp* app);
