#include "platform/MessageBox.h"

#include "platform/SdlLibrary.h"

#include <cstdio>

namespace platform {

void ShowWarningBox(const std::string& title, const std::string& text) {
    if (!LoadSdl(nullptr) || Sdl().SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title.c_str(), text.c_str(), nullptr) != 0)
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

}  // namespace platform
