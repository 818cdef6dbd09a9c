// Everything the launcher draws with, loaded once at start: the background
// of each language (from the disc's Launcher folder; the language page's
// from the resources), the picture-button sets (a face and a mask per
// state), the text-button faces, the shared panel mask and the panels behind
// open groups, the working copy every drawing goes into, and the caption
// fonts of each language. A picture that does not exist is none, and
// drawing with it does nothing.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "launcher/LauncherPicture.h"
#include "platform/TrueTypeFont.h"

class LauncherApp;

class LauncherArt {
public:
    enum Face { kNormal = 0, kPressed = 1, kHover = 2, kActive = 3 };

    // Bitmap resources are "<id>.bmp" in `resources`; backgrounds come from
    // the app's disc by its edition. On a display of 8 bits or fewer the
    // palette "247.pal" (static colours replaced) becomes the colour table
    // of the 8-bit pictures prepared here.
    void Load(const std::filesystem::path& resources, const LauncherApp& app, int displayBits = 24);
    // The launcher's colour table (blue, green, red, 0), empty on deeper
    // displays.
    const std::vector<uint8_t>& ColourTable() const { return mColourTable; }

    // By language base; 0 is the language page's. Unknown keys give none.
    const LauncherPicture* Background(int32_t languageBase) const;
    const LauncherPicture* ButtonFace(int32_t kind, int state) const;
    const LauncherPicture* ButtonMask(int32_t kind, int state) const;
    // Text buttons: normal, pressed and hover faces.
    const LauncherPicture* TextFace(int32_t kind, int state) const;
    const LauncherPicture* PanelMask() const { return mPanelMask.get(); }
    // 0 play, 1 more information, 2 demos.
    const LauncherPicture* Panel(int panel) const;
    // A copy of the default background (key 1000); none without one.
    LauncherPicture* WorkingCopy() { return mWorking.get(); }
    const platform::TrueTypeFont* FontFor(int32_t languageBase) const;
    // The about box's picture (bitmap 241) and its dialog font.
    const LauncherPicture* AboutPicture() const { return mAbout; }
    const platform::TrueTypeFont* DialogFont() const { return mDialogFont.get(); }
    // What could not be loaded, one line each (none for a complete set).
    const std::string& Missing() const { return mMissing; }

private:
    const LauncherPicture* Resource(int32_t id);
    std::unique_ptr<LauncherPicture> LoadResource(int32_t id);
    void LoadFonts();

    std::filesystem::path mResources;
    std::map<int32_t, std::unique_ptr<LauncherPicture>> mById;
    std::map<int32_t, const LauncherPicture*> mBackgrounds;
    std::map<int32_t, std::array<const LauncherPicture*, 4>> mFaces;
    std::map<int32_t, std::array<const LauncherPicture*, 4>> mMasks;
    std::map<int32_t, std::array<const LauncherPicture*, 3>> mTextFaces;
    std::unique_ptr<LauncherPicture> mPanelMask;
    std::array<std::unique_ptr<LauncherPicture>, 3> mPanels;
    std::unique_ptr<LauncherPicture> mWorking;
    std::map<int32_t, std::unique_ptr<platform::TrueTypeFont>> mFonts;
    const LauncherPicture* mAbout = nullptr;
    std::unique_ptr<platform::TrueTypeFont> mDialogFont;
    std::vector<uint8_t> mColourTable;
    std::string mMissing;
};
