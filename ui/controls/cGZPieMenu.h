// The radial menu opened at the pointer: a centre picture, a title over it
// and up to eight items at the compass points around it (more stack in
// columns above and below). The item in the pointer's direction is
// highlighted; a choice is made by press-drag-release or by click. It runs
// as a modal window and reports every step to its owner at once:
// 13 pointer moved, 14 highlight set, 15 chosen, 16 left without a choice
// (b = 27 for Escape), 17 a character (b), 18 a key (b).
#pragma once

#include <string>
#include <vector>

#include "framework/cRZString.h"
#include "ui/cGZWin.h"

class cGZWinBtn;
class cIGZFont;

class cGZPieMenu : public cGZWin {
public:
    enum Code : intptr_t { kCodePointer = 13, kCodeHighlight = 14, kCodeChosen = 15, kCodeCancelled = 16,
                           kCodeChar = 17, kCodeKey = 18 };

    struct Item {
        std::string name;
        cGZWinBtn* button = nullptr;
        bool visible = true;
        float angle = 0;
        // Relative to the window after layout.
        int32_t x = 0, y = 0, width = 0, height = 0;
    };

    cGZPieMenu() = default;

    // Own operations.
    virtual void DrawLabelBox(uint32_t colour, int32_t x, int32_t y, int32_t width, int32_t height);
    virtual void DrawLabel(const char* text, int32_t length, cIGZFont* font, uint32_t textColour, uint32_t boxColour,
                           int32_t x, int32_t y, int32_t width, int32_t height);
    virtual void ClearItems();
    // A given button gets toggle kind 3: its frame never changes by itself.
    virtual void AddItem(const std::string& name, cGZWinBtn* button);
    virtual void SetHighlight(int32_t index, bool choose);
    virtual int32_t GetHighlight() const { return mnHighlight; }
    virtual void Layout();
    virtual void LayoutAndPlace();
    virtual int32_t GetItemCount() const { return static_cast<int32_t>(mItems.size()); }
    // The item under a point of the window, or -1.
    virtual int32_t ItemAtPoint(int32_t x, int32_t y);
    virtual void SetItemVisible(int32_t index, bool visible);
    virtual float GetPointerDistance() const { return mfPointerDistance; }
    virtual float GetPointerAngle() const { return mfPointerAngle; }
    virtual int32_t GetDeadRadius() const { return mnDeadRadius; }
    virtual void SetDeadRadius(int32_t radius) { mnDeadRadius = radius; }
    virtual int32_t GetOuterRadius() const { return mnOuterRadius; }
    virtual void SetOuterRadius(int32_t radius) { mnOuterRadius = radius; }
    virtual bool GetCancelOutside() const { return mbCancelOutside; }
    virtual void SetCancelOutside(bool on) { mbCancelOutside = on; }
    virtual bool GetSoundsOn() const { return mbSoundsOn; }
    virtual void SetSoundsOn(bool on) { mbSoundsOn = on; }
    virtual bool IsOpen() const { return mbOpen; }
    virtual int32_t GetLeft() const { return mnLeft; }
    virtual int32_t GetTop() const { return mnTop; }
    virtual int32_t GetCentreX() const { return mnCentreX; }
    virtual int32_t GetCentreY() const { return mnCentreY; }
    virtual int32_t GetCentreOffsetX() const { return mnCentreOffsetX; }
    virtual int32_t GetCentreOffsetY() const { return mnCentreOffsetY; }
    // The highlighted item's centre in the window, 0 without one.
    virtual int32_t GetHighlightCentreX() const;
    virtual int32_t GetHighlightCentreY() const;
    virtual intptr_t GetUserValue() const { return mnUserValue; }
    virtual void SetUserValue(intptr_t value) { mnUserValue = value; }
    virtual void SetTitle(const cRZString& title) { mTitle = title; }
    virtual const cRZString& GetTitle() const { return mTitle; }
    // An owned previous picture is released.
    virtual void SetCentrePicture(cGZBuffer* picture, bool owned);
    virtual void SetSecondPicture(cGZBuffer* picture, bool owned);
    // Not owned; an owned previous font goes back to the font service.
    virtual void SetFont(cIGZFont* font);
    // A new owned font from the font service.
    virtual bool CreateFont(int32_t face, int32_t size, uint32_t flags);
    virtual void SetItemColour(uint32_t colour) { mnItemColour = colour; }
    virtual void SetHighlightColour(uint32_t colour) { mnHighlightColour = colour; }
    virtual void SetPressedColour(uint32_t colour) { mnPressedColour = colour; }
    virtual void SetRotation(int32_t eighths) { mnRotation = eighths; }
    virtual void SetMargin(int32_t margin) { mnMargin = margin; }
    virtual void SetPressChooses(bool on) { mbPressChooses = on; }
    // Open, RunModal and Close; the modal loop's result (the highlight).
    virtual int32_t ShowModal(int32_t x, int32_t y, bool releaseMode, bool closeWhenChosen);
    virtual void Open(int32_t x, int32_t y, bool releaseMode, bool closeWhenChosen);
    virtual int32_t RunModal();
    virtual void Close();
    virtual void Place(int32_t x, int32_t y, bool releaseMode, bool closeWhenChosen);
    virtual void RemoveItemButtons();
    virtual void End(int32_t result);
    virtual void EndWithHighlight() { End(mnHighlight); }

    // cGZWin
    bool Init() override;
    bool Shutdown() override;
    bool SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    bool OnChar(uint8_t ch) override;
    bool OnKeyDown(uint32_t key, uint32_t modifiers) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnRButtonDown(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnRButtonUp(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) override;
    bool Draw(bool force) override;

    const std::vector<Item>& GetItems() const { return mItems; }
    int32_t GetSlots() const { return mnSlots; }
    bool IsReleaseMode() const { return mbReleaseMode; }
    cIGZFont* GetFont() const { return mpFont; }
    cGZBuffer* GetCentrePicture() const { return mpPicture; }

private:
    void Report(intptr_t code, intptr_t b);
    void PlayMenuSound(const char* name) const;
    void ReleaseFont();
    // The pointer handling of a move, a press or a release.
    void PointerAt(int32_t x, int32_t y);
    bool ReleaseAt(int32_t x, int32_t y, uint32_t modifiers);
    bool AnyButtonDown() const;

    int32_t mnHighlight = -1;
    uint32_t mnItemColour = 0, mnHighlightColour = 0, mnPressedColour = 0;
    cIGZFont* mpFont = nullptr;
    bool mbFontOwned = false;
    cGZBuffer* mpPicture = nullptr;
    bool mbPictureOwned = false;
    cGZBuffer* mpSecondPicture = nullptr;
    bool mbSecondOwned = false;
    intptr_t mnUserValue = 0;
    cRZString mTitle;
    cRZRect mPictureRect{};  // left, top from the centre; right, bottom = width, height
    cRZRect mTitleRect{};    // the same
    int32_t mnSlots = 1;
    int32_t mnCentreX = 0, mnCentreY = 0, mnLeft = 0, mnTop = 0;
    int32_t mnCentreOffsetX = 0, mnCentreOffsetY = 0;
    int32_t mnWidth = 0, mnHeight = 0;
    bool mbOpen = false, mbPointerMoved = false, mbReleaseMode = false, mbInModal = false;
    bool mbPressChooses = true, mbSoundsOn = true, mbCloseWhenChosen = true, mbCancelOutside = false;
    bool mbButtonDown = false;
    int32_t mnRotation = 0;
    int32_t mnDeadRadius = 0;
    float mfPointerDistance = 0, mfPointerAngle = 0;
    int32_t mnMargin = 8;
    int32_t mnOuterRadius = 0;
    int32_t mnAxisDistance = 40, mnDiagonalDistance = 20;
    std::vector<Item> mItems;
};
