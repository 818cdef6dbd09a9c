#include "ui/graphics/cIGZFontSys.h"

#include "framework/cGZFrameWork.h"

namespace {
cIGZFontSys* gpFontSys = nullptr;
}  // namespace

cIGZFontSys* GZGetFontSys() {
    if (gpFontSys) return gpFontSys;
    if (cGZFrameWork* framework = RZGetFramework())
        return dynamic_cast<cIGZFontSys*>(framework->GetFontSystem());
    return nullptr;
}

void GZSetFontSys(cIGZFontSys* fontSys) { gpFontSys = fontSys; }
