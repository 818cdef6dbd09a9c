// The framework's message box: a title, a wrapped message and one to three
// system buttons in a box that sizes itself around them. Enter chooses the
// first button, Esc the second, and in the yes/no sets the application's
// letters choose too; a chosen button is shown pressed for 200 ms and then
// clicked. With an automatic answer the box presses that button by itself
// after the time-out. The modal loop ends with the pressed button's id.
#pragma once

#include <vector>

#include "framework/cRZString.h"
#include "ui/controls/cGZWinDlg.h"

class cGZSystemButton;
class cGZWinText;

class cGZWinMsgBox : public cGZWinDlg {
public:
    // Button sets (the style's low 16 bits): 0 OK; 1 OK, Cancel; 2 Yes, No;
    // 3 Yes, No, Cancel.
    enum ButtonId : int32_t { kIdCancel = 1, kIdNo = 2, kIdOk = 3, kIdYes = 4 };
    static constexpr int32_t kPressMs = 200;
    static constexpr int32_t kNarrowest = 200;
    static constexpr int32_t kEdge = 16;

    // The title becomes the window text. With autoAnswer the time-out
    // presses the first button (SetAutoAnswer names another).
    cGZWinMsgBox(const cRZString& message, const cRZString& title, uint32_t style, bool autoAnswer,
                 int32_t timeoutMs);
    ~cGZWinMsgBox() override;

    // The application's display option: boxes are see-through while dragged.
    static void SetTranslucentWhileDragged(bool on);

    void SetColours(uint8_t red, uint8_t green, uint8_t blue);
    // 1 the first button; 2 the second in sets 1 and 2, the middle one in
    // set 3; 3 the Esc button of set 3; 0 none (also when the set lacks it).
    void SetAutoAnswer(int32_t which) { mnAutoAnswer = which; }

    // cGZWin
    bool Init() override;
    bool Shutdown() override;
    bool Draw(bool force) override;
    bool OnKeyDown(uint32_t key, uint32_t modifiers) override;
    bool OnChar(uint8_t ch) override;
    bool OnTimer(intptr_t value) override;
    bool OnCommand(intptr_t code, intptr_t source) override;
    void BeginModal() override;
    void EndModal() override;

    int32_t ButtonSet() const { return static_cast<int32_t>(mnStyle & 0xFFFF) & 3; }
    cGZSystemButton* GetFirstButton() const { return mpFirst; }
    cGZSystemButton* GetSecondButton() const { return mpSecond; }
    cGZSystemButton* GetThirdButton() const { return mpThird; }
    cGZWinText* GetTitleWin() const { return mpTitle; }
    cGZWinText* GetTextWin() const { return mpText; }
    bool IsPressing() const { return mbPressing; }

private:
    // Starts pressing the button unless a press is running.
    void Choose(cGZSystemButton* button);
    cGZSystemButton* AutoAnswerButton() const;
    void PlaceButtons(int32_t boxWidth, int32_t& needed);

    cRZString mMessage;
    uint32_t mnStyle;
    uint32_t mnBase = 0, mnLight = 0, mnDark = 0;
    uint8_t mRgb[3] = {188, 188, 188};
    cGZSystemButton* mpFirst = nullptr;
    cGZSystemButton* mpSecond = nullptr;
    cGZSystemButton* mpThird = nullptr;
    cGZSystemButton* mpChosen = nullptr;
    cGZWinText* mpTitle = nullptr;
    cGZWinText* mpText = nullptr;
    std::vector<cGZSystemButton*> mButtons;
    cGZBuffer* mpBackground = nullptr;
    int32_t mnAutoAnswer = 0;
    int32_t mnTimeout = 0;
    bool mbPressing = false;
    int32_t mnCommandsSeen = 0;
};
