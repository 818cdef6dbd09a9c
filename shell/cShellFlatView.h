// The main view until the house view lands: a flat lawn under the window's
// title, with the named place the game is at. Installed lot views draw in
// its place.
#pragma once

#include <string>

#include "ui/cGZWin.h"

class cIGZFont;

class cShellFlatView : public cGZWin {
public:
    cShellFlatView(cIGZFont* font, std::string caption) : mpFont(font), mCaption(std::move(caption)) {}
    bool Draw(bool force) override;

private:
    cIGZFont* mpFont;
    std::string mCaption;
};
