// The one control manager of the process (GetWinCtrlMgr): it owns the
// registered strips and fonts and gives them back when shut down.
#pragma once

#include <map>
#include <utility>

#include "ui/controls/cIGZWinCtrlMgr.h"

class cIGZFontSys;

class cGZWinCtrlMgr : public cIGZWinCtrlMgr {
public:
    cGZWinCtrlMgr() = default;
    ~cGZWinCtrlMgr() override;
    cGZWinCtrlMgr(const cGZWinCtrlMgr&) = delete;
    cGZWinCtrlMgr& operator=(const cGZWinCtrlMgr&) = delete;

    bool Init(cIGZCtrlSoundHandles* sounds = nullptr) override;
    bool Shutdown() override;
    cIGZFont* GetFont(int32_t kind) const override;
    void SetFont(int32_t kind, cIGZFont* font) override;
    cGZBuffer* GetImage(int32_t kind) const override;
    void SetImage(int32_t kind, cGZBuffer* buffer, bool colourKeyed) override;
    bool IsImageColourKeyed(int32_t kind) const override;
    cGZWinCheck* CreateCheckBox(intptr_t commandValue, const cRZString& text) override;
    cGZSystemButton* CreateSystemButton(intptr_t commandValue, const cRZString& text) override;
    cGZWinText* CreateText(intptr_t commandValue, const cRZString& text) override;
    cGZWinSlider* CreateVerticalSlider(intptr_t commandValue, const cRZString& text) override;
    cGZWinSlider* CreateHorizontalSlider(intptr_t commandValue, const cRZString& text) override;
    cGZWinScrollbar* CreateVerticalScrollbar(intptr_t commandValue, const cRZString& text) override;
    cGZWinScrollbar* CreateHorizontalScrollbar(intptr_t commandValue, const cRZString& text) override;
    intptr_t GetHandle(int32_t key) const override;
    void SetHandle(int32_t key, intptr_t value) override;
    uint32_t GetColour(int32_t key) const override;
    void SetColour(int32_t key, uint32_t value) override;
    void SetDefaultCaptionColours(int32_t columns, const CaptionColours& colours) override;
    const CaptionColours& GetDefaultCaptionColours(int32_t columns) const override;

    bool IsInitialised() const { return mbInitialised; }

private:
    void ReleaseFont(cIGZFont* font) const;
    // A slider or scroll bar of that orientation on the kind's strip.
    template <class Control>
    Control* CreateValueControl(int32_t orientation, int32_t kind, intptr_t commandValue, const cRZString& text);

    bool mbInitialised = false;
    cIGZFontSys* mpFontSys = nullptr;
    cIGZCtrlSoundHandles* mpSounds = nullptr;
    std::map<int32_t, uint32_t> mColours;
    std::map<int32_t, cIGZFont*> mFonts;
    std::map<int32_t, std::pair<cGZBuffer*, bool>> mImages;
    std::map<int32_t, intptr_t> mHandles;
    CaptionColours mCaptionColours4{};
    CaptionColours mCaptionColours6{};
};
