// Presenting a 640x480 5-6-5 frame through the SDL presenter: ten dirty
// rectangles covering a tenth of the screen against the whole frame, in the
// same run. The rectangles should cost at most half of the whole frame.
// SDL's video driver is pinned to "dummy" (a software renderer into memory)
// whatever the machine has, so the ratio always measures the same path.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "framework/cRZRect.h"
#include "platform/HostWindow.h"
#include "platform/Presenter.h"
#include "ui/graphics/cGZScreenBuffer.h"

namespace {

struct Screen {
    std::unique_ptr<platform::HostWindow> host;
    std::unique_ptr<platform::Presenter> presenter;
    cGZScreenBuffer buffer;
    bool ok = false;

    Screen() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        host = platform::HostWindow::CreateSdl({"bench", 640, 480, platform::WindowFrame::Caption});
        if (!host) return;
        presenter = host->CreatePresenter(640, 480, platform::PixelLayout::Rgb565);
        if (!presenter) return;
        buffer.SetPrimaryPresenter(presenter.get());
        ok = buffer.InitScreen(640, 480, 1, 7, 16, nullptr, 1, 0, false);
        for (int32_t y = 0; ok && y < 480; y += 8) buffer.FillRect(static_cast<uint32_t>(y * 97) & 0xFFFF, {0, y, 640, y + 8});
    }
};

// Ten 96x32 rectangles: 30720 pixels, a tenth of 307200.
std::vector<cRZRect> TenthOfTheScreen() {
    std::vector<cRZRect> rects;
    for (int i = 0; i < 10; ++i) {
        const int32_t x = (i % 5) * 120 + 8, y = (i / 5) * 200 + 40;
        rects.push_back({x, y, x + 96, y + 32});
    }
    return rects;
}

void BM_PresentWholeFrame(benchmark::State& state) {
    Screen s;
    if (!s.ok) {
        state.SkipWithError("no SDL presenter");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(s.buffer.Present());
}
BENCHMARK(BM_PresentWholeFrame);

void BM_PresentTenDirtyRects(benchmark::State& state) {
    Screen s;
    if (!s.ok) {
        state.SkipWithError("no SDL presenter");
        return;
    }
    const std::vector<cRZRect> rects = TenthOfTheScreen();
    for (auto _ : state) benchmark::DoNotOptimize(s.buffer.PresentRects(rects));
}
BENCHMARK(BM_PresentTenDirtyRects);

}  // namespace
