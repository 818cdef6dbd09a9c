// Three static texts side by side, each a third of the width (the last one
// the remainder) and the full height, centred, with the font given before
// initialisation.
#pragma once

#include <array>
#include <string>

#include "ui/cGZWin.h"

class cGZWinText;
class cIGZFont;

namespace windows {

class cWinTriText : public cGZWin {
public:
    void SetFont(cIGZFont* font) { mpFont = font; }
    void SetTexts(const std::string& left, const std::string& middle, const std::string& right);

    bool Init() override;
    bool Shutdown() override;
    bool SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    cGZWinText* GetText(int32_t index) const { return index >= 0 && index < 3 ? mTexts[static_cast<size_t>(index)] : nullptr; }

private:
    void PlaceTexts();

    cIGZFont* mpFont = nullptr;
    std::array<cGZWinText*, 3> mTexts{};
};

}  // namespace windows
