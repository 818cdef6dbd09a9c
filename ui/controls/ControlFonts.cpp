#include "ui/controls/ControlFonts.h"

#include "ui/graphics/cIGZFont.h"
#include "ui/graphics/cIGZFontSys.h"

void ReleaseControlFont(cIGZFont* font) {
    if (!font) return;
    if (cIGZFontSys* fonts = GZGetFontSys())
        fonts->ReleaseFont(font);
    else
        font->Release();
}
