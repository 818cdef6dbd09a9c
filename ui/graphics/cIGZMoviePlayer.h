// The movie player the graphic system plays the intro through (the media
// subsystem implements it): what it is given, opening and starting, asking
// whether the movie ended, stopping.
#pragma once

#include <cstdint>

struct cGZMovieParams {
    int32_t width = 0;
    int32_t height = 0;
    bool doubleWidth = false;
    bool doubleHeight = false;
    bool sound = false;
    // Filled by the graphic system: where the picture goes in the client
    // area, and the display mode.
    int32_t x = 0;
    int32_t y = 0;
    bool windowed = true;
};

class cIGZMoviePlayer {
public:
    virtual bool OpenAndStart(const char* fileName, const cGZMovieParams& params) = 0;
    virtual bool HasEnded() = 0;
    virtual void Stop() = 0;
    // Shows the latest decoded frame on the screen; the graphic system calls
    // it from its update instead of drawing its windows while a movie plays.
    virtual bool Present() = 0;
    virtual ~cIGZMoviePlayer() = default;
};
