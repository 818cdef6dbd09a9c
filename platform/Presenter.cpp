#include "platform/Presenter.h"

#include "platform/PngFile.h"

#include <algorithm>

namespace platform {

std::vector<Rect> Presenter::ClipAll(const std::vector<Rect>& rects, int32_t width, int32_t height) {
    std::vector<Rect> out;
    out.reserve(rects.size());
    for (const Rect& r : rects) {
        Rect c{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width), std::min(r.bottom, height)};
        if (!c.IsEmpty()) out.push_back(c);
    }
    return out;
}

std::unique_ptr<HeadlessPresenter> HeadlessPresenter::Create(int32_t width, int32_t height, PixelLayout layout) {
    if (!IsColorLayout(layout)) return nullptr;
    auto shown = Surface::Create(width, height, layout);
    if (!shown) return nullptr;
    return std::unique_ptr<HeadlessPresenter>(new HeadlessPresenter(std::move(shown)));
}

HeadlessPresenter::HeadlessPresenter(std::unique_ptr<Surface> shown)
    : Presenter(shown->Width(), shown->Height(), shown->Layout()), shown_(std::move(shown)) {}

bool HeadlessPresenter::Present(const Surface& frame, const std::vector<Rect>& rects) {
    if (!Fits(frame)) return false;
    std::vector<Rect> clipped = ClipAll(rects, Width(), Height());
    for (const Rect& r : clipped)
        if (!shown_->Blit(frame, r, r)) return false;
    log_.push_back(std::move(clipped));
    return true;
}

std::unique_ptr<Surface> HeadlessPresenter::Grab() const {
    auto copy = Surface::Create(Width(), Height(), Layout());
    copy->Blit(*shown_, shown_->Bounds(), shown_->Bounds());
    return copy;
}

bool HeadlessPresenter::WritePng(const std::string& path, std::string* error) const {
    return WritePngFile(path, ImageFromSurface(*shown_), error);
}

}  // namespace platform
