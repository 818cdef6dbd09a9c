#include "sound/movie/MoviePlayer.h"

#include "sound/cGZSndSys.h"
#include "sound/movie/Movie.h"
#include "ui/graphics/cGZScreenBuffer.h"

MoviePlayer::MoviePlayer(cGZScreenBuffer* screen, platform::AudioMixer* mixer) : mpScreen(screen), mpMixer(mixer) {}

MoviePlayer::~MoviePlayer() {
    MovieStop(&mRequest);
    MovieClose(&mRequest);
}

bool MoviePlayer::OpenAndStart(const char* fileName, const cGZMovieParams& params) {
    MovieStop(&mRequest);
    MovieClose(&mRequest);
    uint32_t flags = kMovieOwnThread | kMovieAddOffsetX | kMovieAddOffsetY;
    if (params.doubleWidth) flags |= kMovieDoubleWidth;
    if (params.doubleHeight) flags |= kMovieDoubleHeight;
    if (params.sound) flags |= kMoviePlaySound;
    mRequest.offsetX = params.x;
    mRequest.offsetY = params.y;
    if (params.width > 0 && params.height > 0) {
        flags |= kMovieExplicitWidth | kMovieExplicitHeight;
        mRequest.outputWidth = params.width * (params.doubleWidth ? 2 : 1);
        mRequest.outputHeight = params.height * (params.doubleHeight ? 2 : 1);
    }
    mRequest.flags = flags;
    mRequest.surface = nullptr;
    if (mpScreen && mpScreen->GetSurface()) mRequest.surface = mpScreen->GetSurface()->Surface();
    mRequest.surfaceLock = &mFrameLock;
    mRequest.mixer = mpMixer;
    if (!mRequest.mixer && params.sound) {
        cGZSndSys* sound = cGZSndSys::Current();
        if (sound && sound->IsInitialised() && sound->IsSoundEnabled()) mRequest.mixer = &sound->Mixer();
    }
    return MovieOpenAndStart(fileName, &mRequest) != nullptr;
}

bool MoviePlayer::HasEnded() { return !MovieIsPlaying(&mRequest); }

void MoviePlayer::Stop() { MovieStop(&mRequest); }

bool MoviePlayer::Present() {
    if (!mpScreen) return false;
    std::lock_guard<std::mutex> lock(mFrameLock);
    return mpScreen->Present();
}
