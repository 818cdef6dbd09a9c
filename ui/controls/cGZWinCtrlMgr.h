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
    cGZWinText* CreateText(intptr_t commandValue, const cRZString& text) override;
    intptr_t GetHandle(int32_t key) const override;
    void SetHandle(int32_t key, intptr_t value) override;
    uint32_t GetColour(int32_t key) const override;
    void SetColour(int32_t key, uint32_t value) override;
    void SetDefaultCaptionColours(int32_t columns, const CaptionColours& colours) override;
    const CaptionColours& GetDefaultCaptionColours(int32_t columns) const override;

    bool IsInitialised() const { return mbInitialised; }

private:
    void ReleaseFont(cIGZFont* font) const;

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
