// The font service (framework service 1100000): makes fonts by request from
// the files in its font folder, named by the request's language, size and
// boldness, and shares the fonts of the current language.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <map>

#include "framework/cGZSystemService.h"
#include "ui/graphics/DBGlyphSet.h"
#include "ui/graphics/cIGZFontSys.h"

class cGZFontSys : public cIGZFontSys, public cIGZSystemService {
public:
    enum : uint32_t { kFlagBold = 1, kFlagShadow = 16 };

    // `currentLanguage` answers the language of requests for language 0; by
    // default the framework's language manager (1 without one).
    explicit cGZFontSys(std::function<uint32_t()> currentLanguage = {});
    ~cGZFontSys() override;

    uint32_t AddRef() override { return ++mRefCount; }
    uint32_t Release() override;
    bool Init() override;
    bool Shutdown() override;
    cIGZFont* GetFont(const FontRequest& request) override;
    // Releases one reference of a listed font; a font it does not list (one
    // asked for with an explicit language) is left alone: its owner calls the
    // font's own Release.
    int32_t ReleaseFont(cIGZFont* font) override;
    bool SetFaceName(int32_t index, const cRZString& name) override;
    bool GetFaceName(int32_t index, cRZString& name) const override;
    void SetFontFolder(const cRZString& path) override { mFolder = path; }

    int32_t GetServiceID() const override { return kGZFontSystemServiceID; }
    void SetRunning(bool) override {}
    bool OnTick(uint32_t) override { return false; }

    // Makes the framework build this service as its font service.
    static void RegisterProvider();

    // The file a request of this size and flags names in a language.
    cRZString FontFileName(int32_t size, uint32_t flags, uint32_t language) const;
    bool IsInitialised() const { return mInitialised; }
    size_t ListedFontCount() const { return mFonts.size(); }

private:
    uint32_t Language(uint32_t requested) const;

    std::function<uint32_t()> mCurrentLanguage;
    bool mInitialised = false;
    std::list<cIGZFont*> mFonts;
    std::map<int32_t, cRZString> mFaces;
    uint32_t mRefCount = 0;
    cRZString mFolder;
    // The double-byte and Thai glyph sets, loaded once per run.
    DBGlyphSets mGlyphSets;
};

