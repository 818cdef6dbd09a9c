// The font service as windows reach it: fonts by request (face, size,
// flags, language 0 = the current one), shared while the request's language
// is 0, given back with ReleaseFont. The framework's font service implements
// it; until one is installed, windows get no font.
#pragma once

#include <cstdint>

#include "framework/cRZString.h"

class cIGZFont;

class cIGZFontSys {
public:
    struct FontRequest {
        int32_t face = 0;
        int32_t size = 0;
        uint32_t flags = 0;
        int32_t language = 0;
    };

    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    virtual bool Init() = 0;
    virtual bool Shutdown() = 0;
    // The font with one reference for the caller, or null.
    virtual cIGZFont* GetFont(const FontRequest& request) = 0;
    // Gives back a shared font (one of a language-0 request). A font asked
    // for with an explicit language is not listed and is left alone here:
    // its owner releases it with the font's own Release.
    virtual int32_t ReleaseFont(cIGZFont* font) = 0;
    virtual bool SetFaceName(int32_t index, const cRZString& name) = 0;
    virtual bool GetFaceName(int32_t index, cRZString& name) const = 0;
    virtual void SetFontFolder(const cRZString& path) = 0;

protected:
    virtual ~cIGZFontSys() = default;
};

// The installed font service: the one set here, else the framework's font
// system when it implements this interface, else null.
cIGZFontSys* GZGetFontSys();
void GZSetFontSys(cIGZFontSys* fontSys);
