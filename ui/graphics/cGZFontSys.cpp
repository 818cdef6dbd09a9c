#include "ui/graphics/cGZFontSys.h"

#include <algorithm>

#include "framework/cGZFrameWork.h"
#include "framework/cGZFrameWorkNeighbours.h"
#include "framework/cRZLanguageManager.h"
#include "ui/graphics/cGZDBFontKorean.h"
#include "ui/graphics/cGZDBFontThai.h"
#include "ui/graphics/cGZFont.h"

namespace {

constexpr int32_t kFaceCount = 6;
constexpr uint32_t kRussian = 13, kPolish = 16;

uint32_t FrameworkLanguage() {
    cGZFrameWork* framework = RZGetFramework();
    cIGZLanguageManager* languages = framework ? framework->GetLanguageManager() : nullptr;
    return languages ? languages->GetCurrentLanguage() : 1;
}

}  // namespace

cGZFontSys::cGZFontSys(std::function<uint32_t()> currentLanguage)
    : mCurrentLanguage(currentLanguage ? std::move(currentLanguage) : FrameworkLanguage) {}

cGZFontSys::~cGZFontSys() { Shutdown(); }

uint32_t cGZFontSys::Release() {
    if (mRefCount > 0 && --mRefCount == 0) {
        delete this;
        return 0;
    }
    return mRefCount;
}

bool cGZFontSys::Init() {
    if (mInitialised) return true;
    mFaces[0] = "Times New Roman";
    mFaces[1] = "Comic Sans MS";
    mFaces[2] = "Courier New";
    mFaces[3] = "Lucida Console";
    mFaces[4] = "Wingdings";
    mInitialised = true;
    return true;
}

bool cGZFontSys::Shutdown() {
    for (cIGZFont* font : mFonts) font->Release();
    mFonts.clear();
    mGlyphSets.Free();
    mInitialised = false;
    return true;
}

uint32_t cGZFontSys::Language(uint32_t requested) const { return requested ? requested : mCurrentLanguage(); }

cRZString cGZFontSys::FontFileName(int32_t size, uint32_t flags, uint32_t language) const {
    cRZString name = mFolder;
    switch (language) {
        case 15: return name + (size < 16 ? "FONT12J.FON" : "FONT16J.FON");
        case 17: return name + "font16gb.fon";
        case 18: return name + "font16b5.fon";
        case 19: return name + "font20th.fon";
        case 20: return name + (size > 15 ? "FONT16K.FON" : "FONT12K.FON");
        case kRussian: name += "Russian/"; break;
        case kPolish: name += "Polish/"; break;
        default: break;
    }
    cRZString file;
    file.Sprintf("VariableSans_%02d%s.ffn", size, (flags & kFlagBold) ? "_B" : "");
    return name + file;
}

cIGZFont* cGZFontSys::GetFont(const FontRequest& request) {
    if (request.language == 0) {
        for (cIGZFont* font : mFonts)
            if (font->GetFace() == request.face && font->GetSize() == request.size &&
                font->GetFlags() == request.flags) {
                font->AddRef();
                return font;
            }
    }
    const uint32_t language = Language(static_cast<uint32_t>(request.language));
    const cRZString path = FontFileName(request.size, request.flags, language);
    cIGZFont* font = nullptr;
    if (!DBGlyphSet::SetsOfLanguage(language).empty()) {
        // These fonts draw from the language's glyph sets, loaded once; the
        // file name only serves as the font's path. They start at size 12.
        mGlyphSets.LoadLanguage(mFolder.c_str(), language);
        auto set = mGlyphSets.ForFont(language, 12);
        if (language == 19) font = new cGZDBFontThai(path, std::move(set));
        else font = new cGZDBFontKorean(path, language, std::move(set));
    } else {
        font = new cGZFont(path, request.size, request.flags);
    }
    font->SetColor(0xFFFF);
    if (!font->Load()) {
        delete font;
        return nullptr;
    }
    font->AddRef();
    if (request.language == 0) {
        font->AddRef();  // the list's own reference
        mFonts.push_back(font);
    }
    if (request.flags & kFlagShadow) font->SetFlag(cIGZFont::kFlagShadow, true);
    return font;
}

int32_t cGZFontSys::ReleaseFont(cIGZFont* font) {
    const auto found = std::find(mFonts.begin(), mFonts.end(), font);
    if (found == mFonts.end()) return 0;
    // The list holds one reference of its own: the last caller's release
    // takes the font off the list and frees it.
    if (font->Release() == 1) {
        mFonts.erase(found);
        font->Release();
    }
    return 0;
}

bool cGZFontSys::SetFaceName(int32_t index, const cRZString& name) {
    if (index < 0 || index >= kFaceCount) return false;
    mFaces[index] = name;
    return true;
}

bool cGZFontSys::GetFaceName(int32_t index, cRZString& name) const {
    const auto found = mFaces.find(index);
    if (found == mFaces.end()) {
        name = "arial";
        return false;
    }
    name = found->second;
    return true;
}

void cGZFontSys::RegisterProvider() {
    cGZFrameWorkProviders providers = RZGetFrameWorkProviders();
    providers.createFontSystem = []() -> cIGZSystemService* { return new cGZFontSys; };
    RZSetFrameWorkProviders(providers);
}
