// Presenters put a finished 16-bit frame on the screen, one dirty rectangle
// at a time, the way the screen buffer copied its back buffer to the primary
// surface. Only the rectangles handed over change what is shown: a region the
// caller forgot to list keeps its stale picture, which is exactly what tests
// look for.
//
// The SDL presenter (made by HostWindow::CreatePresenter) streams the frame
// into a texture of the same pixel format and scales it to the window at the
// logical size, nearest pixel. The headless presenter keeps the shown frame,
// a log of presented rectangles and can write the frame as PNG.
#pragma once

#include "platform/Surface.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

class Presenter {
public:
    virtual ~Presenter() = default;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    PixelLayout Layout() const { return layout_; }

    // Shows the listed rectangles of `frame` (a surface of the presenter's
    // size and layout). Rectangles are clipped to the frame; false when the
    // frame does not fit or the backend fails.
    virtual bool Present(const Surface& frame, const std::vector<Rect>& rects) = 0;
    // What is on the screen now, in the presenter's layout.
    virtual std::unique_ptr<Surface> Grab() const = 0;

protected:
    Presenter(int32_t width, int32_t height, PixelLayout layout) : width_(width), height_(height), layout_(layout) {}
    bool Fits(const Surface& frame) const {
        return frame.Width() == width_ && frame.Height() == height_ && frame.Layout() == layout_;
    }
    static std::vector<Rect> ClipAll(const std::vector<Rect>& rects, int32_t width, int32_t height);

private:
    int32_t width_;
    int32_t height_;
    PixelLayout layout_;
};

class HeadlessPresenter : public Presenter {
public:
    // Nothing for an unusable size or a non-colour layout.
    static std::unique_ptr<HeadlessPresenter> Create(int32_t width, int32_t height, PixelLayout layout);

    bool Present(const Surface& frame, const std::vector<Rect>& rects) override;
    std::unique_ptr<Surface> Grab() const override;

    // Test controls: the shown frame, the clipped rectangles of every Present
    // call in order, and a PNG of the shown frame.
    const Surface& Shown() const { return *shown_; }
    const std::vector<std::vector<Rect>>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    bool WritePng(const std::string& path, std::string* error = nullptr) const;

private:
    HeadlessPresenter(std::unique_ptr<Surface> shown);
    std::unique_ptr<Surface> shown_;
    std::vector<std::vector<Rect>> log_;
};

}  // namespace platform
