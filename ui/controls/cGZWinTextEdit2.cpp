#include "ui/controls/cGZWinTextEdit2.h"

#include <algorithm>
#include <cstring>

#include "platform/Clock.h"
#include "simulation/SoundPlayer.h"
#include "ui/GZMessageTypes.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/cRZCursorManager.h"
#include "ui/controls/cGZWinScrollbar.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace {

constexpr int32_t kTextLeft = 5;
constexpr int32_t kWrapSlack = 3;
constexpr const char* kErrorSound = "UI_Error";
constexpr const char* kFileNameRefused = "\"%'()*/:<>?\\|";

enum Key : uint32_t {
    kBackspace = 8, kTab = 9, kEscape = 27, kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36,
    kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kInsertKey = 45, kDeleteKey = 46,
};

}  // namespace

// Laid out from the start, so a field is usable before it is in a tree.
cGZWinTextEdit2::cGZWinTextEdit2() { Layout(); }

cGZWinTextEdit2::~cGZWinTextEdit2() = default;

// --- settings ----------------------------------------------------------------------

void cGZWinTextEdit2::SetColors(uint32_t fill, uint32_t caret, uint32_t frame) {
    mnFill = fill;
    mnCaretColour = caret;
    mnFrameColour = frame;
    Invalidate();
}

void cGZWinTextEdit2::SetShowCaret(bool on) {
    mbShowFrame = on;
    Invalidate();
}

void cGZWinTextEdit2::SetFont(cIGZFont* font) {
    mpFont = font;
    if (mbLaidOut) {
        mnVisibleLines = std::max(1, (mTextArea.bottom - mTextArea.top) / LineHeight());
        mnCentring = std::max(0, (Height() - mnVisibleLines * LineHeight()) / 2);
        Layout();
    }
    Invalidate();
}

void cGZWinTextEdit2::SetTextColor(uint32_t colour) {
    mnTextColour = colour;
    mbUseTextColour = true;
    Invalidate();
}

void cGZWinTextEdit2::ClearUndo() {
    mUndo.clear();
    mRedo.clear();
    mnSnapshotTime = 0;
}

// --- characters and lines ---------------------------------------------------------

int32_t cGZWinTextEdit2::LineHeight() const { return std::max(1, mpFont ? mpFont->GetLineHeight() : 12); }

int32_t cGZWinTextEdit2::CharLength(int32_t index) const {
    if (index >= GetLength()) return 1;
    const int32_t n = mpFont ? std::max(1, mpFont->GetCharLength(mBytes.c_str() + index)) : 1;
    return std::min(n, GetLength() - index);
}

int32_t cGZWinTextEdit2::PreviousChar(int32_t index) const {
    // Double-byte text can only be read forwards: walk from the start.
    int32_t at = 0, previous = 0;
    while (at < index) {
        previous = at;
        at += CharLength(at);
    }
    return previous;
}

int32_t cGZWinTextEdit2::LineOf(int32_t index) const {
    for (size_t i = 0; i + 1 < mLines.size(); ++i)
        if (index < mLines[i + 1].start) return static_cast<int32_t>(i);
    return static_cast<int32_t>(mLines.size()) - 1;
}

int32_t cGZWinTextEdit2::LineEnd(int32_t line) const {
    const Line& l = mLines[static_cast<size_t>(line)];
    return l.start + l.length - (l.endsWithBreak ? 1 : 0);
}

void cGZWinTextEdit2::Layout() {
    // The window text follows the field, so GetText answers what it shows.
    mText = cRZString(mBytes.c_str());
    mLines.clear();
    const int32_t length = GetLength(), height = LineHeight();
    const char* text = mBytes.c_str();
    int32_t pos = 0;
    for (;;) {
        Line line;
        line.start = pos;
        line.height = height;
        line.x = kTextLeft;
        line.y = static_cast<int32_t>(mLines.size()) * height;
        while (pos < length && text[pos] != 0) {
            if (text[pos] == '\n') {
                line.edges.push_back(line.edges.empty() ? 0 : line.edges.back());
                ++pos;
                line.endsWithBreak = true;
                break;
            }
            const int32_t n = CharLength(pos);
            const int32_t edge = mpFont ? mpFont->GetTextWidth(text + line.start, pos + n - line.start) : 0;
            if (mnWrapWidth != kUnbounded && edge > mnWrapWidth - kWrapSlack && pos > line.start) {
                const int32_t fit = mpFont ? mpFont->FitLine(text + line.start, length - line.start,
                                                             mnWrapWidth - kWrapSlack)
                                           : pos - line.start;
                pos = line.start + std::clamp(fit, 1, pos - line.start);
                line.edges.resize(static_cast<size_t>(pos - line.start));
                line.wrapped = true;
                break;
            }
            for (int32_t i = 0; i < n; ++i) line.edges.push_back(edge);
            pos += n;
        }
        line.length = pos - line.start;
        mLines.push_back(line);
        const bool more = pos < length && text[pos] != 0;
        if (!more) {
            if (line.endsWithBreak && mnLineMode == -1) {
                Line last;
                last.start = pos;
                last.height = height;
                last.y = static_cast<int32_t>(mLines.size()) * height;
                mLines.push_back(last);
            }
            break;
        }
    }
    UpdateScrollbar();
    PlaceCaret();
}

void cGZWinTextEdit2::UpdateScrollbar() {
    const auto lines = static_cast<int32_t>(mLines.size());
    if (lines > mnVisibleLines && !mpScrollbar && mbLaidOut) {
        mpScrollbar = new cGZWinScrollbar;
        cGZBuffer* strip = GetWinCtrlMgr()->GetImage(cIGZWinCtrlMgr::kImageScrollbar);
        const int32_t width = strip ? strip->Width() / 12 : 16;
        mpScrollbar->SetArea(Width() - width, 0, Width(), Height());
        mpScrollbar->SetOrientation(cGZWinSlider::kVertical);
        if (strip) mpScrollbar->SetImage(strip, false);
        mpScrollbar->SetFlag(kGZWinNoFocus, true);
        mpScrollbar->Hide();
        cGZWinMgrW95* mgr = GZWinMgr();
        const bool focused = mgr && mgr->GetFocus() == this;
        AddChild(mpScrollbar);
        if (focused) mgr->SetFocus(this);  // the edit keeps the focus
    }
    if (!mpScrollbar) return;
    if (lines > mnVisibleLines) {
        if (!mbBarShown) {
            // The text gives the bar its width and wraps again.
            mbBarShown = true;
            mpScrollbar->Show();
            mTextArea.right -= mpScrollbar->Width();
            if (mnWrapWidth != kUnbounded) {
                mnWrapWidth -= mpScrollbar->Width();
                Layout();
                return;
            }
        }
        mpScrollbar->SetMin(0);
        mpScrollbar->SetMax(lines - mnVisibleLines);
        mpScrollbar->SetValue(mnFirstVisible);
    } else if (mbBarShown) {
        mbBarShown = false;
        mnFirstVisible = 0;
        mnScrollY = mnCentring;
        mpScrollbar->Hide();
        mTextArea.right += mpScrollbar->Width();
        if (mnWrapWidth != kUnbounded) {
            mnWrapWidth += mpScrollbar->Width();
            Layout();
        }
    }
}

void cGZWinTextEdit2::PlaceCaret() {
    mnCaret = std::clamp(mnCaret, 0, GetLength());
    mnCaretLine = LineOf(mnCaret);
    const Line& line = mLines[static_cast<size_t>(mnCaretLine)];
    const int32_t column = mnCaret - line.start;
    mnCaretX = column > 0 && column <= static_cast<int32_t>(line.edges.size()) ? line.edges[static_cast<size_t>(column - 1)] : 0;
    mnCaretY = line.y;
}

void cGZWinTextEdit2::ScrollToLine(int32_t line) {
    const int32_t most = std::max(0, static_cast<int32_t>(mLines.size()) - mnVisibleLines);
    mnFirstVisible = std::clamp(line, 0, most);
    mnScrollY = mnCentring - mnFirstVisible * LineHeight();
    if (mpScrollbar && mbBarShown) mpScrollbar->SetValue(mnFirstVisible);
    Invalidate();
}

void cGZWinTextEdit2::ScrollToCaret() {
    if (mnLineMode == 1) {
        const int32_t areaWidth = mTextArea.right - mTextArea.left;
        const int32_t x = mTextArea.left + mnScrollX + mnCaretX;
        if (x < mTextArea.left) {
            // Back by the overshoot, at most half the area, never past the start.
            const int32_t overshoot = mTextArea.left - x;
            mnScrollX = std::min(0, mnScrollX + std::min(overshoot, areaWidth / 2));
        } else if (x >= mTextArea.right) {
            mnScrollX -= x - mTextArea.right + 1;
        }
    }
    if (mnCaretLine < mnFirstVisible)
        ScrollToLine(mnCaretLine);
    else if (mnCaretLine >= mnFirstVisible + mnVisibleLines)
        ScrollToLine(mnCaretLine - mnVisibleLines + 1);
}

// --- caret ---------------------------------------------------------------------

void cGZWinTextEdit2::MoveCaretTo(int32_t index, bool extend) {
    index = std::clamp(index, 0, GetLength());
    if (extend) {
        // Grow or shrink from the side the caret was on.
        int32_t anchor = mnCaret;
        if (HasSelection()) anchor = mnCaret == mnSelStart ? mnSelEnd : mnSelStart;
        mnSelStart = std::min(anchor, index);
        mnSelEnd = std::max(anchor, index);
    } else {
        mnSelStart = mnSelEnd = index;
    }
    mnCaret = index;
    PlaceCaret();
    ScrollToCaret();
    if (mbCaretBlinks) mbEmptyPhase = true;
    Invalidate();
}

void cGZWinTextEdit2::MoveCaret(int32_t delta, bool extend) {
    int32_t index = mnCaret;
    for (; delta > 0 && index < GetLength(); --delta) index += CharLength(index);
    for (; delta < 0 && index > 0; ++delta) index = PreviousChar(index);
    MoveCaretTo(index, extend);
}

bool cGZWinTextEdit2::IsSeparator(int32_t index) const {
    return index >= 0 && index < GetLength() && (mBytes[static_cast<size_t>(index)] == ' ' ||
                                                 mBytes[static_cast<size_t>(index)] == '\n');
}

int32_t cGZWinTextEdit2::WordLeft(int32_t index) const {
    while (index > 0 && IsSeparator(PreviousChar(index))) index = PreviousChar(index);
    while (index > 0 && !IsSeparator(PreviousChar(index))) index = PreviousChar(index);
    return index;
}

int32_t cGZWinTextEdit2::WordRight(int32_t index) const {
    while (index < GetLength() && IsSeparator(index)) index += CharLength(index);
    while (index < GetLength() && !IsSeparator(index)) index += CharLength(index);
    return index;
}

int32_t cGZWinTextEdit2::IndexAtPoint(int32_t x, int32_t y) const {
    const int32_t top = mTextArea.top + mnScrollY;
    if (y < top) return 0;
    const auto line = static_cast<size_t>((y - top) / LineHeight());
    if (line >= mLines.size()) return GetLength();
    const Line& l = mLines[line];
    const int32_t px = x - (mTextArea.left + mnScrollX);
    int32_t previous = 0;
    for (int32_t i = 0; i < static_cast<int32_t>(l.edges.size());) {
        const int32_t n = CharLength(l.start + i);
        const int32_t edge = l.edges[static_cast<size_t>(i)];
        if ((previous + edge) / 2 > px) return l.start + i;
        previous = edge;
        i += n;
    }
    return LineEnd(static_cast<int32_t>(line));
}

// --- editing --------------------------------------------------------------------

void cGZWinTextEdit2::Report(intptr_t code) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (mgr && GetOwner()) mgr->QueueMessage(GetOwner(), kGZMsgCommand, code, reinterpret_cast<intptr_t>(this));
}

void cGZWinTextEdit2::PlayError(int) const { tova::PlayUISound(kErrorSound); }

cGZWinTextEdit2::Snapshot cGZWinTextEdit2::Current() const {
    return {mnCaret, mnCaretLine, mnCaretX, mnCaretY, mBytes, mnScrollX, mnScrollY, mnFirstVisible, mnSelStart, mnSelEnd};
}

void cGZWinTextEdit2::Restore(const Snapshot& s) {
    mBytes = s.text;
    mnCaret = s.caret;
    mnScrollX = s.scrollX;
    mnSelStart = s.selStart;
    mnSelEnd = s.selEnd;
    Layout();
    ScrollToLine(s.firstVisible);
    mnScrollY = s.scrollY;
    Invalidate();
}

void cGZWinTextEdit2::TakeSnapshot() {
    mUndo.push_back(Current());
    mRedo.clear();
    mnSnapshotTime = platform::TimeMs();
}

bool cGZWinTextEdit2::SnapshotDue() const {
    return mUndo.empty() || platform::TimeMs() - mnSnapshotTime > kSnapshotGapMs;
}

void cGZWinTextEdit2::DeleteSelection() {
    if (!HasSelection()) return;
    mBytes.erase(static_cast<size_t>(mnSelStart), static_cast<size_t>(mnSelEnd - mnSelStart));
    mnCaret = mnSelStart;
    mnSelEnd = mnSelStart;
}

int32_t cGZWinTextEdit2::FittingBytes(const std::string& bytes, int32_t& characters) const {
    // Whole characters only, as many as the limit leaves room for.
    const int32_t room = std::max(0, mnMaxLength - GetLength());
    const auto size = static_cast<int32_t>(bytes.size());
    int32_t take = 0;
    characters = 0;
    while (take < size) {
        const bool lead = mpFont && mpFont->IsLeadByte(static_cast<uint8_t>(bytes[static_cast<size_t>(take)]));
        const int32_t n = lead && take + 1 < size ? 2 : 1;
        if (take + n > room) break;
        take += n;
        ++characters;
    }
    return take;
}

bool cGZWinTextEdit2::Insert(const std::string& bytes) {
    if (mnEditMode == kReadOnly) return false;
    if ((HasSelection() || bytes == " " || bytes.size() > 1 || SnapshotDue()) && GetLength() < mnMaxLength)
        TakeSnapshot();
    DeleteSelection();
    int32_t characters = 0;
    const int32_t take = FittingBytes(bytes, characters);
    mBytes.insert(static_cast<size_t>(mnCaret), bytes, 0, static_cast<size_t>(take));
    mnCaret += take;
    mnSelStart = mnSelEnd = mnCaret;
    Layout();
    ScrollToCaret();
    Report(kCodeChanged);
    Invalidate();
    return take == static_cast<int32_t>(bytes.size());
}

bool cGZWinTextEdit2::Overwrite(const std::string& bytes) {
    if (mnEditMode == kReadOnly) return false;
    if (HasSelection() || bytes == " " || bytes.size() > 1 || SnapshotDue()) TakeSnapshot();
    DeleteSelection();
    int32_t characters = 0;
    const int32_t take = FittingBytes(bytes, characters);
    mBytes.insert(static_cast<size_t>(mnCaret), bytes, 0, static_cast<size_t>(take));
    mnCaret += take;
    // As many characters after the caret go as went in.
    int32_t end = mnCaret;
    for (int32_t i = 0; i < characters && end < GetLength(); ++i) end += CharLength(end);
    mBytes.erase(static_cast<size_t>(mnCaret), static_cast<size_t>(end - mnCaret));
    mnSelStart = mnSelEnd = mnCaret;
    Layout();
    ScrollToCaret();
    if (take > 0) Report(kCodeChanged);
    Invalidate();
    return take == static_cast<int32_t>(bytes.size());
}

void cGZWinTextEdit2::Delete(bool backward) {
    if (mnEditMode == kReadOnly) return;
    if ((backward && mnCaret > 0) || HasSelection() ||
        (mnCaret < GetLength() && mBytes[static_cast<size_t>(mnCaret)] == ' ') || SnapshotDue())
        TakeSnapshot();
    if (HasSelection()) {
        DeleteSelection();
    } else {
        if (backward && mnCaret > 0) mnCaret = PreviousChar(mnCaret);
        else if (backward) mnCaret = -1;  // nothing before the caret
        if (mnCaret >= 0 && mnCaret < GetLength())
            mBytes.erase(static_cast<size_t>(mnCaret), static_cast<size_t>(CharLength(mnCaret)));
        mnCaret = std::max(mnCaret, 0);
        mnSelStart = mnSelEnd = mnCaret;
    }
    Layout();
    ScrollToCaret();
    // Sent after every delete, even one that found nothing to remove.
    Report(kCodeChanged);
    Invalidate();
}

void cGZWinTextEdit2::SetText(const std::string& text, bool selectAll, bool forward) {
    mnScrollX = 0;
    mnCaret = 0;
    mnFirstVisible = 0;
    mnSelStart = 0;
    mnSelEnd = GetLength();
    Overwrite(text);
    if (selectAll && GetLength() > 0) {
        if (forward) {
            mnCaret = 0;
            mnSelStart = mnSelEnd = 0;
            MoveCaretTo(GetLength(), true);
        } else {
            mnCaret = GetLength();
            mnSelStart = mnSelEnd = mnCaret;
            MoveCaretTo(0, true);
        }
    } else {
        MoveCaretTo(forward ? 0 : GetLength(), false);
    }
}

void cGZWinTextEdit2::SetSelection(int32_t from, int32_t to) {
    from = std::clamp(from, 0, GetLength());
    to = std::clamp(to, 0, GetLength());
    MoveCaretTo(from, false);
    if (to != from) MoveCaretTo(to, true);
}

// --- input ---------------------------------------------------------------------

bool cGZWinTextEdit2::OnChar(uint8_t ch) {
    if (mbDropNext) {
        mbDropNext = false;
        return true;
    }
    if (ch == '\r') ch = '\n';
    if (ch == '\n' && mnLineMode == 1) {
        Report(kCodeEnter);
        return true;
    }
    if (ch < 32 && ch != '\n') return true;
    mPending.push_back(static_cast<char>(ch));
    if (mPending.size() == 1 && mpFont && mpFont->IsDoubleByte() && mpFont->IsLeadByte(ch)) {
        if (mpFont->IsMissingLeadByte(ch)) {
            // A lead byte that comes alone: a dash, and its partner is dropped.
            mPending = "-";
            mbDropNext = true;
        } else {
            return true;  // the second byte follows
        }
    }
    std::string character;
    character.swap(mPending);
    if (mbFileNameOnly && character.size() == 1 && std::strchr(kFileNameRefused, character[0])) {
        PlayError(2);
        return true;
    }
    bool ok = true;
    if (mnEditMode == kInsert) ok = Insert(character);
    else if (mnEditMode == kOverwrite) ok = Overwrite(character);
    if (!ok && mnEditMode != kReadOnly) PlayError(1);
    return true;
}

bool cGZWinTextEdit2::OnKeyDown(uint32_t key, uint32_t modifiers) {
    const bool shift = modifiers & kGZModShift, ctrl = modifiers & kGZModCtrl;
    switch (key) {
    case kBackspace: Delete(true); return true;
    case kDeleteKey: Delete(false); return true;
    case kTab: Report(kCodeTab); return true;
    case kEscape: Report(kCodeEscape); return true;
    case kInsertKey:
        if (mnEditMode != kReadOnly) mnEditMode = mnEditMode == kInsert ? kOverwrite : kInsert;
        return true;
    case kPageUp:
    case kPageDown: {
        const int32_t page = key == kPageUp ? -mnVisibleLines : mnVisibleLines;
        if (ctrl && !shift) {
            ScrollToLine(mnFirstVisible + page);
            return true;
        }
        const int32_t line = std::clamp(mnCaretLine + page, 0, static_cast<int32_t>(mLines.size()) - 1);
        const int32_t column = mnCaret - mLines[static_cast<size_t>(mnCaretLine)].start;
        ScrollToLine(mnFirstVisible + page);
        MoveCaretTo(std::min(mLines[static_cast<size_t>(line)].start + column, LineEnd(line)), shift);
        return true;
    }
    case kEnd: MoveCaretTo(ctrl ? GetLength() : LineEnd(mnCaretLine), shift); return true;
    case kHome: MoveCaretTo(ctrl ? 0 : mLines[static_cast<size_t>(mnCaretLine)].start, shift); return true;
    case kLeft:
        if (ctrl) MoveCaretTo(WordLeft(mnCaret), shift);
        else MoveCaret(-1, shift);
        return true;
    case kRight:
        if (ctrl) MoveCaretTo(WordRight(mnCaret), shift);
        else MoveCaret(1, shift);
        return true;
    case kUp:
    case kDown: {
        const int32_t step = key == kUp ? -1 : 1;
        if (ctrl && !shift) {
            ScrollToLine(mnFirstVisible + step);
            return true;
        }
        const int32_t line = mnCaretLine + step;
        if (line < 0 || line >= static_cast<int32_t>(mLines.size())) return true;
        const int32_t column = mnCaret - mLines[static_cast<size_t>(mnCaretLine)].start;
        MoveCaretTo(std::min(mLines[static_cast<size_t>(line)].start + column, LineEnd(line)), shift);
        return true;
    }
    default: return cGZWin::OnKeyDown(key, modifiers);
    }
}

bool cGZWinTextEdit2::OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) {
    if (cGZWinMgrW95* mgr = GZWinMgr()) {
        mgr->SetCapture(this);
        mgr->SetFocus(this);
    }
    mbMouseSelecting = true;
    mnAnchor = IndexAtPoint(x, y);
    MoveCaretTo(mnAnchor, modifiers & kGZModShift);
    return true;
}

bool cGZWinTextEdit2::OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) {
    if (!mbMouseSelecting) return cGZWin::OnMouseMove(x, y, modifiers);
    const int32_t index = IndexAtPoint(x, y);
    mnSelStart = std::min(mnAnchor, index);
    mnSelEnd = std::max(mnAnchor, index);
    mnCaret = index;
    PlaceCaret();
    ScrollToCaret();
    Invalidate();
    return true;
}

bool cGZWinTextEdit2::OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mgr || mgr->GetCapture() != this) return cGZWin::OnLButtonUp(x, y, modifiers);
    mgr->ReleaseCapture(this);
    mbMouseSelecting = false;
    const int32_t index = IndexAtPoint(x, y);
    if (index != mnAnchor) {
        mnCaret = mnAnchor;
        mnSelStart = mnSelEnd = mnAnchor;
        MoveCaretTo(index, true);
    } else {
        MoveCaretTo(index, false);
    }
    return true;
}

bool cGZWinTextEdit2::OnLButtonDblClk(int32_t x, int32_t y, uint32_t) {
    const int32_t index = IndexAtPoint(x, y);
    MoveCaretTo(index, false);
    MoveCaretTo(WordLeft(std::min(GetLength(), index + (IsSeparator(index) ? 0 : 1))), false);
    MoveCaretTo(WordRight(mnCaret), true);
    return true;
}

bool cGZWinTextEdit2::OnCommand(intptr_t code, intptr_t source) {
    if (mpScrollbar && source == reinterpret_cast<intptr_t>(mpScrollbar) && code == cGZWinSlider::kCodeValueChanged) {
        ScrollToLine(mpScrollbar->GetValue());
        return true;
    }
    return cGZWin::OnCommand(code, source);
}

bool cGZWinTextEdit2::OnTimer(intptr_t) {
    mbCaretPhase = !mbCaretPhase;
    mbEmptyPhase = !mbEmptyPhase;
    Invalidate();
    return true;
}

bool cGZWinTextEdit2::OnCopy() {
    if (cGZWinMgrW95* mgr = GZWinMgr(); mgr && HasSelection())
        mgr->SetClipboardText(cRZString(mBytes.substr(static_cast<size_t>(mnSelStart),
                                                      static_cast<size_t>(mnSelEnd - mnSelStart)).c_str()),
                              true);
    return true;
}

bool cGZWinTextEdit2::OnCut() {
    OnCopy();
    Insert("");
    return true;
}

bool cGZWinTextEdit2::OnPaste() {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mgr) return true;
    std::string text = mgr->GetClipboardText().c_str();
    // A field of one line takes no line breaks or other control bytes.
    if (mnVisibleLines == 1)
        text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return static_cast<uint8_t>(c) < 32; }),
                   text.end());
    if (!Insert(text)) PlayError(1);
    return true;
}

void cGZWinTextEdit2::StepHistory(std::vector<Snapshot>& from, std::vector<Snapshot>& to) {
    if (from.empty()) return;
    to.push_back(Current());
    const Snapshot s = from.back();
    from.pop_back();
    Restore(s);
}

bool cGZWinTextEdit2::OnUndo() {
    StepHistory(mUndo, mRedo);
    return true;
}

bool cGZWinTextEdit2::OnRedo() {
    StepHistory(mRedo, mUndo);
    return true;
}

bool cGZWinTextEdit2::OnSelectAll() {
    SetSelection(0, GetLength());
    return true;
}

// --- window ---------------------------------------------------------------------

bool cGZWinTextEdit2::Init() {
    const bool result = cGZWin::Init();
    if (mbLaidOut) return result;
    mbLaidOut = true;
    if (!mbTextAreaSet) mTextArea = {kTextLeft, 0, Width(), Height()};
    mnFirstVisible = 0;
    mnVisibleLines = std::max(1, (mTextArea.bottom - mTextArea.top) / LineHeight());
    if (mnLineMode == 1) {
        mnWrapWidth = kUnbounded;
        mnWrapHeight = LineHeight();
    } else {
        mnWrapWidth = mTextArea.right - mTextArea.left - kTextLeft;
        mnWrapHeight = kUnbounded;
    }
    mnSelStart = mnSelEnd = mnCaret;
    mnCentring = std::max(0, (Height() - mnVisibleLines * LineHeight()) / 2);
    Layout();
    if (cGZWinMgrW95* mgr = GZWinMgr(); mgr && mgr->GetCursorManager())
        SetCursor(mgr->GetCursorManager()->GetCursor(2));
    ScrollToLine(0);
    return result;
}

bool cGZWinTextEdit2::Shutdown() {
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->KillTimer(this);
    mbBlinkStarted = false;
    mLines.clear();
    mUndo.clear();
    mRedo.clear();
    return cGZWin::Shutdown();
}

bool cGZWinTextEdit2::SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const bool resized = right - left != Width() || bottom - top != Height();
    const bool result = cGZWin::SetArea(left, top, right, bottom);
    if (resized && mbLaidOut && !mbTextAreaSet) {
        mTextArea = {kTextLeft, 0, Width() - (mbBarShown && mpScrollbar ? mpScrollbar->Width() : 0), Height()};
        mnVisibleLines = std::max(1, Height() / LineHeight());
        if (mnLineMode != 1) mnWrapWidth = mTextArea.right - mTextArea.left - kTextLeft;
        Layout();
    }
    return result;
}

bool cGZWinTextEdit2::HasFocus() const {
    cGZWinMgrW95* mgr = GZWinMgr();
    return mgr && mgr->GetFocus() == this;
}

bool cGZWinTextEdit2::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mbBlinkStarted && (mbCaretBlinks || mbBlinkWhenEmpty) && mgr) {
        mbBlinkStarted = true;
        mgr->SetTimer(this, kBlinkMs, 0);
    }
    buffer->FillRect(mnFill, mBufferArea);
    const cRZRect area{mBufferArea.left + mTextArea.left, mBufferArea.top + mTextArea.top,
                       mBufferArea.left + mTextArea.right, mBufferArea.top + mTextArea.bottom};
    const int32_t ox = mBufferArea.left + mTextArea.left + mnScrollX;
    const int32_t oy = mBufferArea.top + mTextArea.top + mnScrollY;
    const bool focused = HasFocus();
    if (mpFont) {
        const uint32_t saved = mpFont->GetColor();
        if (mbUseTextColour) mpFont->SetColor(mnTextColour);
        const int32_t last = std::min(static_cast<int32_t>(mLines.size()), mnFirstVisible + mnVisibleLines);
        for (int32_t i = mnFirstVisible; i < last; ++i) {
            const Line& line = mLines[static_cast<size_t>(i)];
            const int32_t shown = line.length - (line.endsWithBreak ? 1 : 0);
            const int32_t from = focused && HasSelection() ? mnSelStart - line.start : -1;
            const int32_t to = focused && HasSelection() ? mnSelEnd - line.start : -1;
            mpFont->DrawText(*buffer, ox, oy + line.y, mBytes.c_str() + line.start, shown, &area, from, to);
        }
        mpFont->SetColor(saved);
    }
    if (mnEditMode != kReadOnly && focused && (!mbCaretBlinks || mbCaretPhase) && mnCaretLine >= mnFirstVisible &&
        mnCaretLine < mnFirstVisible + mnVisibleLines) {
        const int32_t x = std::clamp(ox + mnCaretX, area.left, area.right - 1);
        const int32_t y = oy + mnCaretY;
        buffer->FillRect4(mnCaretColour, x, y, x + 1, std::min(y + LineHeight(), area.bottom), &mBufferArea);
    }
    if ((GetLength() == 0 && mbBlinkWhenEmpty && mbEmptyPhase) || (focused && mbShowFrame))
        buffer->FrameRect(mBufferArea, mnFrameColour, 1);
    if (mbRedrawEveryFrame) Invalidate();
    return true;
}
