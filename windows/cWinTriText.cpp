#include "windows/cWinTriText.h"

#include "ui/controls/cGZWinText.h"

namespace windows {

bool cWinTriText::Init() {
    if (TestFlag(kGZWinInitialised)) return cGZWin::Init();
    SetFlag(0x10, false);
    if (!cGZWin::Init()) return false;
    for (cGZWinText*& text : mTexts) {
        text = new cGZWinText();
        text->SetFont(mpFont);
        text->SetAlignment(2);
        text->SetOpaque(false);
        AddChild(text);
        text->Show();
    }
    PlaceTexts();
    return true;
}

bool cWinTriText::Shutdown() {
    mTexts.fill(nullptr);
    return cGZWin::Shutdown();
}

void cWinTriText::SetTexts(const std::string& left, const std::string& middle, const std::string& right) {
    const std::string* texts[3] = {&left, &middle, &right};
    for (size_t i = 0; i < 3; ++i)
        if (mTexts[i] != nullptr) mTexts[i]->SetText(cRZString(texts[i]->c_str()));
}

bool cWinTriText::SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const bool result = cGZWin::SetArea(left, top, right, bottom);
    PlaceTexts();
    return result;
}

void cWinTriText::PlaceTexts() {
    if (mTexts[0] == nullptr) return;
    const int32_t third = Width() / 3;
    for (int32_t i = 0; i < 3; ++i) {
        const int32_t x = i * third;
        mTexts[static_cast<size_t>(i)]->SetArea(x, 0, i == 2 ? Width() : x + third, Height());
    }
}

}  // namespace windows
