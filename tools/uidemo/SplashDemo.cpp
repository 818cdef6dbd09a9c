#include "SplashDemo.h"

#include <chrono>
#include <utility>

#include "platform/Clock.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/cIGZUIApp.h"
#include "ui/controls/cGZWinSplashScreen.h"
#include "ui/graphics/ResourceImages.h"

namespace {

constexpr int32_t kImageMs = 2000;
constexpr uint32_t kStatusEveryMs = 300;
constexpr int kStatusTexts = 5;

}  // namespace

// Hears which image ended; the rest of what the framework asks goes unheard.
class SplashDemo::App : public cIGZUIApp {
public:
    explicit App(Report report) : mReport(std::move(report)) {}
    void OnSplashImageEnded(int32_t index) override { mReport("splash ended " + std::to_string(index)); }
    void OnCloseRequest() override {}
    void OnActivate(bool) override {}
    void OnDisplayDepthChanged() override {}
    bool HandlePrivateMessage(uint32_t, intptr_t, intptr_t) override { return false; }
    intptr_t GetCheatManagerValue() override { return 0; }
    void ShowTextWindow(const char*, const char*) override {}
    void OnMovieEnded(int32_t) override {}
    bool TranslucentMessageBoxes() override { return false; }

private:
    Report mReport;
};

SplashDemo::SplashDemo(Report report, std::string dataRoot, cIGZFont* font)
    : mpApp(std::make_unique<App>(std::move(report))), mDataRoot(std::move(dataRoot)), mpFont(font) {}

SplashDemo::~SplashDemo() { Stop(); }

bool SplashDemo::Start(cGZWin& root, std::string& error) {
    const ResourceImageLoaders loaders = ResourceImageLoaders::Defaults();
    auto* splash = new cGZWinSplashScreen;
    const std::pair<const char*, const char*> pictures[] = {{"Splash1.png", "The first picture"},
                                                            {"Splash2.jpg", "The second picture"}};
    for (int32_t i = 0; i < 2; ++i) {
        const std::string path = mDataRoot + "/UIGraphics/Codec/" + pictures[i].first;
        cGZBuffer* image = loaders.imageFile(path);
        if (!image) {
            error = "cannot read " + path;
            delete splash;
            return false;
        }
        const cRZString caption(pictures[i].second);
        splash->SetImage(i, image, kImageMs, &caption);
    }
    splash->SetFont(mpFont);
    splash->SetSkippable(true);
    splash->SetArea(0, 0, root.Width(), root.Height());
    GZSetUIApp(mpApp.get());
    if (!root.AddChild(splash)) {
        GZSetUIApp(nullptr);
        error = "the splash screen did not start";
        delete splash;
        return false;
    }
    splash->SetOwnBuffer(true);
    mpSplash = splash;
    // The loading thread keeps to the program's clock, so a scripted run
    // sees the same texts at the same frames.
    const uint32_t start = platform::TimeMs();
    mLoader = std::thread([this, splash, start] {
        for (int n = 1; n <= kStatusTexts && !mbStop;) {
            if (platform::TimeMs() - start >= kStatusEveryMs * static_cast<uint32_t>(n)) {
                splash->SetStatusText(cRZString(("Loading " + std::to_string(n)).c_str()));
                ++n;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    });
    return true;
}

void SplashDemo::Stop() {
    mbStop = true;
    if (mLoader.joinable()) mLoader.join();
    if (mpSplash) {
        if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->DestroyWin(mpSplash);
        mpSplash = nullptr;
    }
    GZSetUIApp(nullptr);
}
