// Three radio buttons side by side sharing one picture strip (6 frames in
// one row): at the left edge, centred and at the right edge. A click
// selects that button and tells the owner with command 30.
#pragma once

#include <array>
#include <cstdint>

#include "ui/cGZWin.h"

class cGZBuffer;
class cGZWinBtn;

namespace windows {

class cWinTriRadio : public cGZWin {
public:
    static constexpr intptr_t kCodeChanged = 30;

    explicit cWinTriRadio(cGZBuffer* strip);
    ~cWinTriRadio() override;

    // Fails without a strip.
    bool Init() override;
    bool Shutdown() override;
    bool SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    bool OnCommand(intptr_t code, intptr_t source) override;

    // Presses exactly that button (others released); -1 releases all.
    void Select(int32_t index);
    int32_t GetSelected() const { return mnSelected; }
    cGZWinBtn* GetButton(int32_t index) const;

private:
    void PlaceButtons();

    cGZBuffer* mpStrip;
    std::array<cGZWinBtn*, 3> mButtons{};
    int32_t mnSelected = -1;
};

}  // namespace windows
