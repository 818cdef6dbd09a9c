// SDL2 and SDL2_ttf, loaded when a program first needs a window, input, audio
// output, the clipboard, a message box or an outline font rather than when it
// starts: most programs never do, and the two libraries with everything under
// them (sound servers, display protocols, font shaping) would cost every
// start more than most tools' whole work. The SDL-backed files of this layer
// call SDL through these tables only; the headers still give the types.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

namespace platform {

// Every SDL2 entry this layer calls.
#define TOVA_SDL_ENTRIES(X) \
    X(SDL_CaptureMouse) X(SDL_CloseAudioDevice) X(SDL_ConvertSurfaceFormat)                      \
    X(SDL_CreateColorCursor) X(SDL_CreateRGBSurfaceWithFormat) X(SDL_CreateRenderer)             \
    X(SDL_CreateTexture) X(SDL_CreateWindow) X(SDL_DestroyRenderer) X(SDL_DestroyTexture)        \
    X(SDL_DestroyWindow) X(SDL_DisableScreenSaver) X(SDL_FreeCursor) X(SDL_FreeSurface)          \
    X(SDL_GetAudioDeviceName) X(SDL_GetClipboardText) X(SDL_GetCurrentVideoDriver)               \
    X(SDL_GetDefaultCursor) X(SDL_GetDesktopDisplayMode) X(SDL_GetDisplayMode) X(SDL_GetError)   \
    X(SDL_GetModState) X(SDL_GetNumAudioDevices) X(SDL_GetNumDisplayModes)                       \
    X(SDL_GetRendererInfo) X(SDL_GetRendererOutputSize) X(SDL_GetScancodeFromKey)                \
    X(SDL_GetWindowFlags) X(SDL_GetWindowID) X(SDL_GetWindowPosition) X(SDL_GetWindowSize)       \
    X(SDL_HasClipboardText) X(SDL_HideWindow) X(SDL_InitSubSystem) X(SDL_IsTextInputActive)      \
    X(SDL_LockSurface) X(SDL_OpenAudioDevice) X(SDL_PauseAudioDevice) X(SDL_PollEvent)           \
    X(SDL_PumpEvents) X(SDL_PushEvent) X(SDL_QuitSubSystem) X(SDL_RWFromConstMem)                \
    X(SDL_RaiseWindow) X(SDL_RenderClear) X(SDL_RenderCopy) X(SDL_RenderGetScale)                \
    X(SDL_RenderGetViewport) X(SDL_RenderLogicalToWindow) X(SDL_RenderPresent)                   \
    X(SDL_RenderReadPixels) X(SDL_RenderSetLogicalSize) X(SDL_SetClipboardText) X(SDL_SetCursor) \
    X(SDL_SetHint) X(SDL_SetRenderDrawColor) X(SDL_SetTextInputRect) X(SDL_SetWindowBordered)    \
    X(SDL_SetWindowFullscreen) X(SDL_SetWindowPosition) X(SDL_SetWindowSize)                     \
    X(SDL_SetWindowTitle) X(SDL_ShowCursor) X(SDL_ShowSimpleMessageBox) X(SDL_ShowWindow)        \
    X(SDL_StartTextInput) X(SDL_StopTextInput) X(SDL_UnlockSurface) X(SDL_UpdateTexture)         \
    X(SDL_WarpMouseInWindow) X(SDL_WasInit) X(SDL_free) X(SDL_strdup)
// Every SDL2_ttf entry this layer calls (its error text is SDL's).
#define TOVA_TTF_ENTRIES(X) \
    X(TTF_CloseFont) X(TTF_FontHeight) X(TTF_Init) X(TTF_OpenFontIndexRW) X(TTF_Quit) \
    X(TTF_RenderUTF8_Blended) X(TTF_SetFontStyle) X(TTF_SizeUTF8)

#define TOVA_SDL_ENTRY(name) decltype(&::name) name = nullptr;
struct SdlEntries {
    TOVA_SDL_ENTRIES(TOVA_SDL_ENTRY)
};
struct TtfEntries {
    TOVA_TTF_ENTRIES(TOVA_SDL_ENTRY)
};
#undef TOVA_SDL_ENTRY

// The libraries' names as the system's loader knows them.
inline constexpr const char* kSdlLibraryName = "libSDL2-2.0.so.0";
inline constexpr const char* kTtfLibraryName = "libSDL2_ttf-2.0.so.0";

// Load the library once; later calls give the first answer. False, with the
// reason in *error, when the library or one of its entries is missing. Code
// that can report a failure (a window, display, sound device or font that
// cannot be had) calls these before anything else of SDL's.
bool LoadSdl(std::string* error);
bool LoadTtf(std::string* error);

// The entries, loading the library on first use. A program that reaches
// them with the library missing stops with the reason: only paths that
// already hold SDL's objects (or build SDL's events) come here unchecked.
const SdlEntries& Sdl();
const TtfEntries& Ttf();

}  // namespace platform
