// The movie player the graphic system plays movies through: the movie goes
// into the screen buffer's surface on its own decode thread, its sound
// through the sound service's mixer when the parameters ask for sound.
#pragma once

#include <mutex>

#include "sound/movie/MovieRequest.h"
#include "ui/graphics/cIGZMoviePlayer.h"

class cGZScreenBuffer;
namespace platform {
class AudioMixer;
}

class MoviePlayer : public cIGZMoviePlayer {
public:
    // The mixer is the sound service's when none is given.
    explicit MoviePlayer(cGZScreenBuffer* screen, platform::AudioMixer* mixer = nullptr);
    ~MoviePlayer() override;

    bool OpenAndStart(const char* fileName, const cGZMovieParams& params) override;
    bool HasEnded() override;
    void Stop() override;

    // Shows the latest frame (the caller's thread: the window's).
    bool Present() override;
    const MovieRequest& Request() const { return mRequest; }

private:
    cGZScreenBuffer* mpScreen;
    platform::AudioMixer* mpMixer;
    std::mutex mFrameLock;
    MovieRequest mRequest;
};
