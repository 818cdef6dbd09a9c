#include "launcher/LauncherArt.h"
#include "platform/File.h"

#include "launcher/LauncherApp.h"

#include <fstream>
#include <iterator>

namespace {

struct ButtonSet {
    int32_t kind;
    int32_t faces[4];  // 0: none
    int32_t masks[4];
};

const ButtonSet kButtonSets[] = {
    {0, {223, 246, 245, 0}, {269, 265, 266, 0}},       {1, {237, 238, 239, 362}, {273, 274, 270, 372}},
    {2, {327, 324, 397, 368}, {319, 325, 396, 369}},   {3, {395, 240, 236, 367}, {272, 275, 271, 375}},
    {4, {320, 326, 390, 370}, {321, 318, 389, 371}},   {5, {322, 391, 393, 374}, {323, 392, 394, 373}},
    {6, {333, 330, 332, 0}, {329, 331, 328, 0}},       {7, {218, 219, 220, 366}, {255, 256, 257, 363}},
    {8, {384, 385, 387, 0}, {388, 386, 383, 0}},       {9, {224, 225, 226, 364}, {261, 262, 259, 365}},
    {10, {221, 217, 228, 0}, {254, 263, 260, 0}},      {11, {380, 379, 378, 0}, {267, 268, 264, 0}},
};

struct TextSet {
    int32_t kind;
    int32_t normal, pressed, hover;
};

const TextSet kTextSets[] = {{10, 350, 352, 350}, {11, 340, 338, 340}, {12, 336, 353, 336}, {13, 358, 361, 358},
                             {14, 348, 346, 348}, {15, 344, 355, 344}, {16, 316, 314, 316}, {17, 312, 317, 312},
                             {19, 286, 287, 286}, {20, 290, 291, 290}, {21, 294, 295, 294}, {22, 298, 299, 298},
                             {23, 302, 303, 302}, {24, 306, 307, 306}};

// The faces of the Debian font packages standing in for the table's faces:
// a comic face for the Latin languages, a CJK face and a Thai face.
struct FontChoice {
    int32_t firstBase, lastBase;
    const char* file;
    int32_t pixels;
    bool bold;  // a synthetic bold for faces shipped without one
};

const FontChoice kFonts[] = {
    {1000, 8000, "ComicNeue-Regular.otf", 16, false}, {10000, 10000, "ComicNeue-Bold.otf", 12, false},
    {11000, 13000, "wqy-microhei.ttc", 12, true},     {14000, 14000, "Loma-Bold.ttf", 16, false},
    {15000, 15000, "wqy-microhei.ttc", 12, true},
};

// The dialog font, 8 points on a 96-dot display, from the system's plain
// sans face.
constexpr const char* kLauncherDialogFace = "DejaVuSans.ttf";
constexpr int32_t kLauncherDialogPixels = 11;

}  // namespace

std::unique_ptr<LauncherPicture> LauncherArt::LoadResource(int32_t id) {
    std::string error;
    auto p = LauncherPicture::LoadBmpFile(mResources / (std::to_string(id) + ".bmp"), error);
    if (!p) mMissing += "bitmap " + std::to_string(id) + ": " + error + "\n";
    return p;
}

const LauncherPicture* LauncherArt::Resource(int32_t id) {
    if (id == 0) return nullptr;
    auto it = mById.find(id);
    if (it == mById.end()) it = mById.emplace(id, LoadResource(id)).first;
    return it->second.get();
}

void LauncherArt::Load(const std::filesystem::path& resources, const LauncherApp& app, int displayBits) {
    // A second load starts afresh: the tables point into the pictures held.
    *this = LauncherArt();
    mResources = resources;
    if (displayBits <= 8) {
        std::ifstream in(resources / "247.pal", std::ios::binary);
        const std::string bytes = platform::ReadRest(in);
        std::vector<std::array<uint8_t, 4>> entries;
        std::string error;
        if (ParseRiffPalette(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), entries, error)) {
            ReplaceStaticColours(entries);
            mColourTable = ColourTableOf(entries);
        } else {
            mMissing += "palette 247: " + error + "\n";
        }
    }
    mBackgrounds[0] = Resource(377);
    auto disc = [&](int32_t key, const char* name) {
        std::string error;
        auto p = LauncherPicture::LoadBmpFile(app.DiscPath(std::filesystem::path("Launcher") / name), error);
        if (!p) {
            mMissing += std::string(name) + ": " + error + "\n";
            return;
        }
        mBackgrounds[key] = p.get();
        mById.emplace(-key, std::move(p));  // disc pictures keep negative keys
    };
    const int32_t e = app.edition;
    disc(1000, "AutoPlayBack.bmp");
    if (e >= 1 && e <= 3) disc(7000, "AutoPlayBackSp.bmp");
    if (e == 2 || e == 3) {
        disc(2000, "AutoPlayBackFr.bmp");
        disc(3000, "AutoPlayBackDe.bmp");
    }
    if (e == 5) disc(11000, "AutoPlayBackJp.bmp");
    const LauncherPicture* fallback = mBackgrounds.count(1000) ? mBackgrounds[1000] : nullptr;
    for (int32_t key : {2000, 3000, 4000, 5000, 6000, 7000, 8000, 10000, 11000, 12000, 13000, 14000, 15000})
        if (!mBackgrounds.count(key)) mBackgrounds[key] = fallback;
    if (fallback) mWorking = fallback->Copy();
    // The default background shares the launcher's palette (8-bit ones only).
    if (!mColourTable.empty() && mById.count(-1000)) mById[-1000]->ApplyColourTable(mColourTable);

    for (const TextSet& t : kTextSets) mTextFaces[t.kind] = {Resource(t.normal), Resource(t.pressed), Resource(t.hover)};
    for (const ButtonSet& s : kButtonSets) {
        auto& faces = mFaces[s.kind];
        auto& masks = mMasks[s.kind];
        for (int i = 0; i < 4; ++i) {
            faces[i] = Resource(s.faces[i]);
            masks[i] = Resource(s.masks[i]);
        }
    }
    // The language page's about button shows the main page's pictures.
    mFaces[12] = mFaces[11];
    mMasks[12] = mMasks[11];
    mAbout = Resource(241);
    mPanelMask = LoadResource(248);
    mPanels = {LoadResource(376), LoadResource(227), LoadResource(222)};
    LoadFonts();
}

void LauncherArt::LoadFonts() {
    std::string error;
    const std::string dialogFace = platform::TrueTypeFont::FindFile(kLauncherDialogFace);
    if (!dialogFace.empty()) mDialogFont = platform::TrueTypeFont::Open(dialogFace, kLauncherDialogPixels, false, 0, &error);
    if (!mDialogFont) mMissing += std::string("font ") + kLauncherDialogFace + ": not installed\n";
    std::map<std::string, std::string> found;
    for (const FontChoice& f : kFonts) {
        auto it = found.find(f.file);
        if (it == found.end()) it = found.emplace(f.file, platform::TrueTypeFont::FindFile(f.file)).first;
        if (it->second.empty()) {
            mMissing += std::string("font ") + f.file + ": not installed\n";
            continue;
        }
        for (int32_t base = f.firstBase; base <= f.lastBase; base += 1000) {
            std::string error;
            auto font = platform::TrueTypeFont::Open(it->second, f.pixels, f.bold, 0, &error);
            if (!font) {
                mMissing += "font " + it->second + ": " + error + "\n";
                break;
            }
            mFonts[base] = std::move(font);
        }
    }
}

const LauncherPicture* LauncherArt::Background(int32_t languageBase) const {
    auto it = mBackgrounds.find(languageBase);
    return it == mBackgrounds.end() ? nullptr : it->second;
}

const LauncherPicture* LauncherArt::ButtonFace(int32_t kind, int state) const {
    auto it = mFaces.find(kind);
    return it == mFaces.end() || state < 0 || state > 3 ? nullptr : it->second[size_t(state)];
}

const LauncherPicture* LauncherArt::ButtonMask(int32_t kind, int state) const {
    auto it = mMasks.find(kind);
    return it == mMasks.end() || state < 0 || state > 3 ? nullptr : it->second[size_t(state)];
}

const LauncherPicture* LauncherArt::TextFace(int32_t kind, int state) const {
    auto it = mTextFaces.find(kind);
    return it == mTextFaces.end() || state < 0 || state > 2 ? nullptr : it->second[size_t(state)];
}

const LauncherPicture* LauncherArt::Panel(int panel) const {
    return panel >= 0 && panel < 3 ? mPanels[size_t(panel)].get() : nullptr;
}

const platform::TrueTypeFont* LauncherArt::FontFor(int32_t languageBase) const {
    auto it = mFonts.find(languageBase);
    return it == mFonts.end() ? nullptr : it->second.get();
}
