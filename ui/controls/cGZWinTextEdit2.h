// The framework's text entry field: an editable byte string (single- or
// double-byte characters, as the font says) laid out in lines, with a
// blinking caret, a selection, insert and overwrite modes, undo and redo,
// the window manager's clipboard, a file-name filter, a length limit, and a
// scroll bar it adds to itself when the lines do not fit. It tells its owner
// with queued commands: 22 text changed, 23 Enter in one-line mode,
// 24 Escape, 25 Tab. The caret blinks from a window-manager timer, so it
// only ever runs on the thread that draws and destroys the field.
#pragma once

#include <string>
#include <vector>

#include "framework/cRZRect.h"
#include "framework/cRZString.h"
#include "ui/cGZWin.h"

class cGZWinScrollbar;
class cIGZFont;

class cGZWinTextEdit2 : public cGZWin {
public:
    enum Code : intptr_t { kCodeChanged = 22, kCodeEnter = 23, kCodeEscape = 24, kCodeTab = 25 };
    enum EditMode : int32_t { kInsert = 0, kOverwrite = 1, kReadOnly = 2 };
    static constexpr int32_t kUnbounded = 0x7FFF;
    static constexpr uint32_t kBlinkMs = 500;
    static constexpr uint32_t kSnapshotGapMs = 2999;

    struct Line {
        int32_t start = 0, length = 0, height = 0, x = 5, y = 0;
        // Per byte: the line's pixel width up to and including that character.
        std::vector<int32_t> edges;
        bool wrapped = false, endsWithBreak = false;
    };

    cGZWinTextEdit2();
    ~cGZWinTextEdit2() override;

    void SetColors(uint32_t fill, uint32_t caret, uint32_t frame);
    void SetBlinkWhenEmpty(bool on) { mbBlinkWhenEmpty = on; }
    void SetShowCaret(bool on);
    // 1 one line (Enter reports), -1 wrapped with an empty line after a
    // final break, anything else wrapped.
    void SetLineMode(int32_t mode) { mnLineMode = mode; }
    void SetFont(cIGZFont* font);
    void SetTextColor(uint32_t colour);
    void SetRedrawEveryFrame(bool on) { mbRedrawEveryFrame = on; }
    void SetMaxLength(int32_t length) { mnMaxLength = length; }
    void SetEditMode(int32_t mode) { mnEditMode = mode; }
    // Replaces the whole text undoably; then with selectAll the text is
    // selected (forward: caret at the end), else the caret goes to the start
    // (forward) or the end.
    void SetText(const std::string& text, bool selectAll, bool forward);
    // The window text: the same replacement, caret at the end.
    void SetText(const cRZString& text) override { SetText(std::string(text.c_str()), false, false); }
    void SetSelection(int32_t from, int32_t to);
    void SetFileNameOnly(bool on) { mbFileNameOnly = on; }
    void ClearUndo();

    const std::string& GetBytes() const { return mBytes; }
    int32_t GetLength() const { return static_cast<int32_t>(mBytes.size()); }
    int32_t GetCaret() const { return mnCaret; }
    int32_t GetSelectionStart() const { return mnSelStart; }
    int32_t GetSelectionEnd() const { return mnSelEnd; }
    const std::vector<Line>& GetLines() const { return mLines; }
    int32_t GetFirstVisibleLine() const { return mnFirstVisible; }
    int32_t GetVisibleLines() const { return mnVisibleLines; }
    int32_t GetEditMode() const { return mnEditMode; }
    int32_t GetScrollX() const { return mnScrollX; }
    size_t GetUndoDepth() const { return mUndo.size(); }
    size_t GetRedoDepth() const { return mRedo.size(); }
    cGZWinScrollbar* GetScrollbar() const { return mpScrollbar; }
    const cRZRect& GetTextArea() const { return mTextArea; }
    // The byte index under a point of the window.
    int32_t IndexAtPoint(int32_t x, int32_t y) const;

    // cGZWin
    bool Init() override;
    bool Shutdown() override;
    bool SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void OnCaptureCancelled() override { mbMouseSelecting = false; }
    bool OnChar(uint8_t ch) override;
    bool OnKeyDown(uint32_t key, uint32_t modifiers) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnLButtonDblClk(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnCommand(intptr_t code, intptr_t source) override;
    bool OnTimer(intptr_t value) override;
    bool OnCopy() override;
    bool OnCut() override;
    bool OnPaste() override;
    bool OnUndo() override;
    bool OnRedo() override;
    bool OnSelectAll() override;
    bool Draw(bool force) override;

    // Editing as the keys and characters do it (public for owners).
    bool Insert(const std::string& bytes);
    bool Overwrite(const std::string& bytes);
    void Delete(bool backward);
    void MoveCaret(int32_t delta, bool extend);
    void MoveCaretTo(int32_t index, bool extend);

private:
    struct Snapshot {
        int32_t caret, caretLine, caretX, caretY;
        std::string text;
        int32_t scrollX, scrollY, firstVisible, selStart, selEnd;
    };

    int32_t LineHeight() const;
    int32_t CharLength(int32_t index) const;
    int32_t PreviousChar(int32_t index) const;
    int32_t LineOf(int32_t index) const;
    // End of a line's text, before its break.
    int32_t LineEnd(int32_t line) const;
    bool IsSeparator(int32_t index) const;
    int32_t WordLeft(int32_t index) const;
    int32_t WordRight(int32_t index) const;
    void Layout();
    void UpdateScrollbar();
    void PlaceCaret();
    void ScrollToCaret();
    void ScrollToLine(int32_t line);
    void Report(intptr_t code);
    void TakeSnapshot();
    Snapshot Current() const;
    void Restore(const Snapshot& s);
    bool SnapshotDue() const;
    // Pops a state from one history onto the screen, the current onto the other.
    void StepHistory(std::vector<Snapshot>& from, std::vector<Snapshot>& to);
    // Bytes of whole characters that fit under the length limit.
    int32_t FittingBytes(const std::string& bytes, int32_t& characters) const;
    void DeleteSelection();
    bool HasSelection() const { return mnSelStart < mnSelEnd; }
    bool HasFocus() const;
    void PlayError(int which) const;

    int32_t mnCaret = 0, mnCaretLine = 0, mnCaretX = 0, mnCaretY = 0;
    std::string mBytes;
    std::vector<Line> mLines;
    int32_t mnScrollX = 0, mnScrollY = 0;
    int32_t mnCentring = 0;
    int32_t mnWrapWidth = kUnbounded, mnWrapHeight = kUnbounded;
    cGZWinScrollbar* mpScrollbar = nullptr;
    bool mbBarShown = false;
    cIGZFont* mpFont = nullptr;
    cRZRect mTextArea{};
    bool mbTextAreaSet = false;
    int32_t mnFirstVisible = 0, mnVisibleLines = 1;
    int32_t mnLineMode = 0;
    int32_t mnMaxLength = 0;
    int32_t mnEditMode = kInsert;
    int32_t mnSelStart = 0, mnSelEnd = 0;
    uint32_t mnFill = 0, mnCaretColour = 0xFFFF, mnFrameColour = 0xFFFF;
    bool mbCaretBlinks = true, mbBlinkWhenEmpty = false, mbBlinkStarted = false, mbMouseSelecting = false;
    bool mbCaretPhase = true, mbEmptyPhase = false, mbShowFrame = true, mbRedrawEveryFrame = false;
    bool mbUseTextColour = false;
    uint32_t mnTextColour = 0;
    int32_t mnAnchor = 0;
    std::vector<Snapshot> mUndo, mRedo;
    uint32_t mnSnapshotTime = 0;
    std::string mPending;
    bool mbDropNext = false;
    bool mbFileNameOnly = false;
    bool mbLaidOut = false;
};
