// What a caller uses to assemble a generic dialog at run time: stock
// controls added by rectangle, each control's command value its own
// address, and one callback that receives every control's events.
#pragma once

#include <cstdint>

#include "framework/cRZRect.h"

class cGZBuffer;
class cGZSystemButton;
class cGZWin;
class cGZWinCheck;
class cGZWinScrollbar;
class cGZWinSlider;
class cGZWinText;
class cRZString;

class cIGZWinGenDlg {
public:
    // (code, control, user value); code 1 is a click.
    using Callback = void (*)(intptr_t code, cGZWin* control, void* user);

    virtual int32_t AddRef() = 0;
    virtual int32_t Release() = 0;
    // Takes ownership; an owned previous image is released.
    virtual void SetBackground(cGZBuffer* image) = 0;
    virtual cGZSystemButton* AddButton(const cRZRect& rect, const cRZString& text) = 0;
    // Orientation 2 is vertical, anything else horizontal.
    virtual cGZWinSlider* AddSlider(const cRZRect& rect, int32_t minimum, int32_t maximum, int32_t value,
                                    int32_t orientation) = 0;
    virtual cGZWinScrollbar* AddScrollbar(const cRZRect& rect, int32_t minimum, int32_t maximum, int32_t value,
                                          int32_t orientation) = 0;
    // Alignment codes as the label's; opaque unless transparent is set.
    virtual cGZWinText* AddText(const cRZRect& rect, const cRZString& text, int32_t alignment, bool transparent) = 0;
    virtual cGZWinCheck* AddCheckBox(const cRZRect& rect, const cRZString& text) = 0;
    virtual void GetMargins(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) const = 0;
    virtual int32_t GetMode() const = 0;
    virtual void SetCallback(Callback callback, void* user) = 0;

protected:
    virtual ~cIGZWinGenDlg() = default;
};
