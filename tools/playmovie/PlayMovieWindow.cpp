#include "tools/playmovie/PlayMovieWindow.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "framework/cGZFrameWork.h"
#include "framework/cGZFrameWorkW95.h"
#include "platform/HostWindow.h"
#include "sound/cGZSndSys.h"
#include "sound/movie/Movie.h"
#include "sound/movie/MoviePlayer.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/graphics/cGZGraphicSystemW95.h"

int PlayMovieInWindow(const std::string& file) {
    // The frame size, for placing the picture in the window.
    MovieRequest probe;
    if (!MovieOpen(file.c_str(), &probe)) {
        std::fprintf(stderr, "playmovie: %s: %s\n", file.c_str(), MovieErrorText(probe.error.load()));
        return 1;
    }
    cGZMovieParams params;
    params.width = probe.frameWidth;
    params.height = probe.frameHeight;
    params.sound = true;
    MovieClose(&probe);

    cGZGraphicSystem::SetRequestedMode(640, 480, 16);
    cGZGraphicSystem::SetWindowed(true);
    const platform::HostWindowOptions options{"playmovie", 640, 480, platform::WindowFrame::Caption};
    std::string error;
    std::unique_ptr<platform::HostWindow> host = platform::HostWindow::CreateSdl(options, &error);
    if (!host) {
        std::fprintf(stderr, "playmovie: no window: %s\n", error.c_str());
        return 1;
    }
    cGZSndSys sound;
    const bool haveSound = sound.Init();
    int result = 0;
    {
        cGZWinMgrW95 manager;
        cGZFrameWorkProviders providers;
        providers.createGraphicSystem = GZCreateGraphicSystem;
        RZSetFrameWorkProviders(providers);
        manager.RegisterAsProvider();
        cGZFrameWorkW95 framework;
        auto* graphics = dynamic_cast<cGZGraphicSystemW95*>(&framework.GetGraphicsObject());
        graphics->SetFramework(&framework);
        graphics->SetHostWindow(host.get());
        manager.Startup(&framework);
        if (!graphics->Init()) {
            std::fprintf(stderr, "playmovie: the graphic system did not start\n");
            RZSetFrameWorkProviders({});
            if (haveSound) sound.Shutdown();
            return 1;
        }
        host->Show(true);
        MoviePlayer player(&graphics->GetScreenBuffer(), haveSound ? &sound.Mixer() : nullptr);
        graphics->SetMoviePlayer(&player);
        GZSetAppActive(true);
        const bool started = graphics->PlayMovie(file.c_str(), params);
        while (started && graphics->IsMoviePlaying()) {
            host->Pump();
            player.Present();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        const MovieRequest& r = player.Request();
        std::printf("frames %u skipped %u tracks %d\n", r.framesShown.load(), r.framesSkipped.load(), r.trackCount);
        if (r.error.load() != kMovieErrorNone || !started) {
            std::fprintf(stderr, "playmovie: %s: %s\n", file.c_str(), MovieErrorText(r.error.load()));
            result = 1;
        }
        graphics->SetMoviePlayer(nullptr);
        graphics->Shutdown();
        RZSetFrameWorkProviders({});
    }
    if (haveSound) sound.Shutdown();
    return result;
}
