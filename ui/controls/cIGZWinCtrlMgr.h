// The registry the stock controls share: colours by key, fonts by kind,
// image strips by control kind (with whether each is colour-keyed), sound
// handles by key, and the default caption colours of 4- and 6-column
// buttons. Game windows register here at start-up; controls read from it.
#pragma once

#include <array>
#include <cstdint>

class cGZBuffer;
class cGZSystemButton;
class cGZWinCheck;
class cGZWinScrollbar;
class cGZWinSlider;
class cGZWinText;
class cIGZFont;
class cRZString;

// Gives a sound handle back to the sound system (argument 1 at shutdown).
class cIGZCtrlSoundHandles {
public:
    virtual void ReleaseHandle(intptr_t handle, int32_t argument) = 0;

protected:
    virtual ~cIGZCtrlSoundHandles() = default;
};

class cIGZWinCtrlMgr {
public:
    // Image kinds the controls draw from.
    enum ImageKind : int32_t {
        kImageSystemButton = 0,
        kImageCheckBox = 1,
        kImageHorizontalSlider = 2,
        kImageVerticalSlider = 3,
        kImageScrollbar = 4,
        kImageDialogBackground = 9,
        kImagePieMenuCentre = 15,
    };
    // Font kinds: labels made here, and generic-dialog controls.
    enum FontKind : int32_t { kFontLabel = 0, kFontDialog = 1 };
    using CaptionColours = std::array<uint32_t, 4>;

    // Takes the fonts' service (the installed one) and the given sound
    // system, which may be null (handles are then simply forgotten).
    virtual bool Init(cIGZCtrlSoundHandles* sounds = nullptr) = 0;
    virtual bool Shutdown() = 0;
    virtual cIGZFont* GetFont(int32_t kind) const = 0;
    // Takes the caller's reference; a previous font of the kind is released.
    virtual void SetFont(int32_t kind, cIGZFont* font) = 0;
    virtual cGZBuffer* GetImage(int32_t kind) const = 0;
    // Takes ownership of the buffer; a previous one of the kind is released.
    virtual void SetImage(int32_t kind, cGZBuffer* buffer, bool colourKeyed) = 0;
    virtual bool IsImageColourKeyed(int32_t kind) const = 0;
    // The factory: new controls, not yet in any window tree. Each takes its
    // kind's strip (and whether it is colour-keyed) from the image table.
    // A check box made while kind 1 has no strip comes back unconfigured.
    virtual cGZWinCheck* CreateCheckBox(intptr_t commandValue, const cRZString& text) = 0;
    // At least 100 pixels wide, click on release.
    virtual cGZSystemButton* CreateSystemButton(intptr_t commandValue, const cRZString& text) = 0;
    virtual cGZWinText* CreateText(intptr_t commandValue, const cRZString& text) = 0;
    virtual cGZWinSlider* CreateVerticalSlider(intptr_t commandValue, const cRZString& text) = 0;
    virtual cGZWinSlider* CreateHorizontalSlider(intptr_t commandValue, const cRZString& text) = 0;
    virtual cGZWinScrollbar* CreateVerticalScrollbar(intptr_t commandValue, const cRZString& text) = 0;
    virtual cGZWinScrollbar* CreateHorizontalScrollbar(intptr_t commandValue, const cRZString& text) = 0;
    virtual intptr_t GetHandle(int32_t key) const = 0;
    virtual void SetHandle(int32_t key, intptr_t value) = 0;
    virtual uint32_t GetColour(int32_t key) const = 0;
    virtual void SetColour(int32_t key, uint32_t value) = 0;
    // Columns 4 or 6; any other count is ignored.
    virtual void SetDefaultCaptionColours(int32_t columns, const CaptionColours& colours) = 0;
    // The 4-column set for 4, the 6-column set for any other count.
    virtual const CaptionColours& GetDefaultCaptionColours(int32_t columns) const = 0;

protected:
    virtual ~cIGZWinCtrlMgr() = default;
};

// The process-wide control manager.
cIGZWinCtrlMgr* GetWinCtrlMgr();
