// platcheck [--headless] [--555] [--frames N] [--dump OUT.png]
//
// A look at the platform layer's window side: a 640x480 window shows a
// 16-bit pattern made with every kind of blit (stripes, a gradient, a keyed
// sprite, its mirrored copies, a stretched copy and a half-alpha copy),
// presented as four rectangles, one per quarter. Every message the window
// delivers is printed as
//   msg 0x0102 w=3 l=0x00000001 char 0x03
// (the character part only for character messages). It quits after N frames
// (0: when the window is closed) and writes the last frame shown to OUT.png.
#include "platform/Clock.h"
#include "platform/HostWindow.h"
#include "platform/PngFile.h"
#include "platform/WindowMessages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace platform;

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;

int Usage() {
    std::fprintf(stderr, "usage: platcheck [--headless] [--555] [--frames N] [--dump OUT.png]\n");
    return 2;
}

// A sprite with a shape that shows which way it faces, on the key colour.
std::unique_ptr<Surface> Sprite(PixelLayout layout, uint16_t key) {
    auto sprite = Surface::Create(64, 64, layout);
    sprite->Fill(nullptr, key);
    const Rect bar{8, 8, 16, 56};
    const Rect top{8, 8, 52, 16};
    const Rect middle{8, 28, 40, 36};
    sprite->Fill(&bar, PackRgb(layout, 255, 255, 0));
    sprite->Fill(&top, PackRgb(layout, 255, 64, 0));
    sprite->Fill(&middle, PackRgb(layout, 0, 200, 255));
    return sprite;
}

void DrawPattern(Surface& frame) {
    const PixelLayout layout = frame.Layout();
    // Top left: stripes.
    for (int32_t x = 0; x < 320; x += 8) {
        const Rect stripe{x, 0, x + 8, 240};
        const uint8_t level = static_cast<uint8_t>((x / 8) % 2 ? 230 : 40);
        frame.Fill(&stripe, PackRgb(layout, level, static_cast<uint8_t>(255 - level), static_cast<uint8_t>(x * 255 / 320)));
    }
    // Top right: a gradient, red across and green down.
    for (int32_t y = 0; y < 240; ++y)
        for (int32_t x = 320; x < 640; ++x)
            frame.SetPixel(x, y, PackRgb(layout, static_cast<uint8_t>((x - 320) * 255 / 319),
                                         static_cast<uint8_t>(y * 255 / 239), 96));
    // Bottom left: the sprite keyed, mirrored left-right, top-bottom, both.
    const Rect bottomLeft{0, 240, 320, 480};
    frame.Fill(&bottomLeft, PackRgb(layout, 32, 32, 64));
    const uint16_t key = PackRgb(layout, 255, 0, 255);
    auto sprite = Sprite(layout, key);
    const Rect whole = sprite->Bounds();
    BlitOptions keyed;
    keyed.colorKey = true;
    keyed.key = key;
    frame.Blit(*sprite, whole, {24, 264, 88, 328}, keyed);
    BlitOptions lr = keyed;
    lr.mirrorLeftRight = true;
    frame.Blit(*sprite, whole, {120, 264, 184, 328}, lr);
    BlitOptions tb = keyed;
    tb.mirrorTopBottom = true;
    frame.Blit(*sprite, whole, {24, 360, 88, 424}, tb);
    BlitOptions both = lr;
    both.mirrorTopBottom = true;
    frame.Blit(*sprite, whole, {120, 360, 184, 424}, both);
    // Stretched to twice the size, keyed.
    frame.Blit(*sprite, whole, {200, 280, 312, 440}, keyed);
    // Bottom right: stripes again, with the gradient laid over at half alpha
    // and the sprite over that, unkeyed.
    frame.Blit(frame, {0, 0, 320, 240}, {320, 240, 640, 480});
    BlitOptions half;
    half.alpha = 128;
    frame.Blit(frame, {320, 0, 480, 120}, {400, 300, 560, 420}, half);
    frame.Blit(*sprite, whole, {560, 400, 624, 464});
}

void PrintMessage(const QueuedMessage& m) {
    std::printf("msg 0x%04X w=%lld l=0x%08X", m.message, static_cast<long long>(m.wParam),
                static_cast<unsigned>(static_cast<uint32_t>(m.lParam)));
    if (m.message == kMsgChar) std::printf(" char 0x%02X", static_cast<unsigned>(m.wParam & 0xFF));
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    bool headless = false;
    PixelLayout layout = PixelLayout::Rgb565;
    long frames = 0;
    std::string dump;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--headless") {
            headless = true;
        } else if (arg == "--555") {
            layout = PixelLayout::Rgb555;
        } else if (arg == "--frames" && i + 1 < argc) {
            char* end = nullptr;
            frames = std::strtol(argv[++i], &end, 10);
            if (*end || frames < 0) return Usage();
        } else if (arg == "--dump" && i + 1 < argc) {
            dump = argv[++i];
        } else {
            return Usage();
        }
    }

    const HostWindowOptions options{"platcheck", kWidth, kHeight, WindowFrame::Caption};
    std::string error;
    std::unique_ptr<HostWindow> window =
        headless ? HostWindow::CreateHeadless(options) : HostWindow::CreateSdl(options, &error);
    if (!window) {
        std::fprintf(stderr, "platcheck: no window: %s\n", error.c_str());
        return 1;
    }
    auto presenter = window->CreatePresenter(kWidth, kHeight, layout, &error);
    if (!presenter) {
        std::fprintf(stderr, "platcheck: no presenter: %s\n", error.c_str());
        return 1;
    }
    auto queue = std::make_shared<MessageQueue>();
    window->Attach(queue);
    window->Center();
    window->Show(true);

    auto frame = Surface::Create(kWidth, kHeight, layout);
    DrawPattern(*frame);
    const std::vector<Rect> quarters = {{0, 0, 320, 240}, {320, 0, 640, 240}, {0, 240, 320, 480}, {320, 240, 640, 480}};

    bool running = true;
    for (long shown = 0; running && (frames == 0 || shown < frames); ++shown) {
        if (!presenter->Present(*frame, quarters)) {
            std::fprintf(stderr, "platcheck: presenting failed\n");
            return 1;
        }
        const uint32_t frameEnd = TimeMs() + (headless ? 0 : 16);
        do {
            while (auto m = queue->Peek(true)) {
                PrintMessage(*m);
                if (m->message == kMsgClose) running = false;
            }
        } while (running && !headless && static_cast<int32_t>(frameEnd - TimeMs()) > 0 && (queue->Wait(4), true));
    }

    if (!dump.empty()) {
        auto shown = presenter->Grab();
        if (!shown || !WritePngFile(dump, ImageFromSurface(*shown), &error)) {
            std::fprintf(stderr, "platcheck: cannot write %s: %s\n", dump.c_str(), error.c_str());
            return 1;
        }
    }
    presenter.reset();
    return 0;
}
