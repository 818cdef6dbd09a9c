#include "shell/cShellFlatView.h"

#include "shell/iLotView.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

bool cShellFlatView::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    const cRZRect& area = mBufferArea;
    if (shell::iLotView* view = shell::GetLotView()) {
        view->DrawFrame(*buffer);
        return true;
    }
    // Sky over a lawn, the horizon at a third of the height.
    const int32_t horizon = area.top + (area.bottom - area.top) / 3;
    buffer->FillRect(MakeColor(120, 160, 210), {area.left, area.top, area.right, horizon});
    buffer->FillRect(MakeColor(72, 140, 64), {area.left, horizon, area.right, area.bottom});
    if (!mpFont || mCaption.empty()) return true;
    const uint32_t saved = mpFont->GetColor();
    mpFont->SetColor(MakeColor(255, 255, 255));
    const auto length = static_cast<int32_t>(mCaption.size());
    const int32_t x = area.left + (area.right - area.left - mpFont->GetTextWidth(mCaption.c_str(), length)) / 2;
    mpFont->DrawText(*buffer, x, area.top + 16, mCaption.c_str(), length, &area, -1, -1);
    mpFont->SetColor(saved);
    return true;
}
