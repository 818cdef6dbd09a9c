// The movie request: what the caller fills before opening a movie and what
// the player writes back while it plays. The state word and the counters are
// read by the caller's thread while the decode thread writes them, so they
// are atomics; everything else is set before the movie starts.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {
class AudioMixer;
class Surface;
}  // namespace platform

struct MovieContext;

enum MovieFlag : uint32_t {
    kMovieAddOffsetX = 0x1,
    kMovieAddOffsetY = 0x2,
    kMovieCentreX = 0x4,
    kMovieCentreY = 0x8,
    kMovieDoubleHeight = 0x10,
    kMovieDoubleHeightToo = 0x20,
    kMovieDoubleWidth = 0x40,
    kMovieExplicitWidth = 0x80,
    kMovieExplicitHeight = 0x100,
    kMovieAllowYuv = 0x200,        // no overlay or YUV output exists here: always mode 1
    kMovieDirectWrite = 0x400,
    kMovieMemoryBuffers = 0x800,
    kMovieWaitBlank = 0x1000,      // nothing to wait for: a no-op
    kMovieApplyVolume = 0x2000,
    kMovieSelectTrack = 0x4000,
    kMovieLoop = 0x8000,
    kMovieOwnThread = 0x10000,
    kMovieThreadPriority = 0x20000,
    kMovieFrameCallback = 0x40000,
    kMovieCallerHandle = 0x80000,
    kMovieCallerBrightness = 0x100000,
    kMovieCallerBufferSize = 0x400000,
    kMoviePlaySound = 0x800000,
    kMovieRestoreSurface = 0x2000000,
    kMovieCallerPalette = 0x4000000,
    kMovieBackSurface = 0x8000000,
};

enum MovieState : int32_t {
    kMovieStateNone = 0,
    kMovieStateOpened = 1,
    kMovieStateThreadStarted = 2,
    kMovieStatePlaying = 3,
    kMovieStatePaused = 4,
    kMovieStateStopRequested = 5,
    kMovieStateFinished = 6,
    kMovieStateFreed = 7,
};

// Why a movie failed or left frames out (MovieErrorText gives the text).
enum MovieError : int32_t {
    kMovieErrorNone = 0,
    kMovieErrorCannotOpen,
    kMovieErrorNotAMovie,
    kMovieErrorBadChunk,
    kMovieErrorUnknownChunk,
    kMovieErrorUnsupportedKind,
    kMovieErrorBadFrame,
    kMovieErrorNoMemory,
    kMovieErrorThread,
};

struct MovieRequest {
    MovieRequest() = default;
    MovieRequest(const MovieRequest&) = delete;
    MovieRequest& operator=(const MovieRequest&) = delete;
    // A decode thread that freed its own context is waited for here.
    ~MovieRequest() {
        if (thread.joinable()) thread.join();
    }

    MovieContext* context = nullptr;
    uint32_t flags = 0;
    // The 16-bit 565 surface frames are written into, and the lock the
    // writer holds while it draws (null: none).
    platform::Surface* surface = nullptr;
    std::mutex* surfaceLock = nullptr;
    // The mixer the sound device plays on (the sound service's); null, or a
    // voice that cannot be made, gives the device-less clock.
    platform::AudioMixer* mixer = nullptr;
    uint32_t soundBufferBytes = 0;  // with kMovieCallerBufferSize
    int32_t volume = 0;             // hundredths of a decibel, with kMovieApplyVolume

    int32_t frameWidth = 0;  // written by the player
    int32_t frameHeight = 0;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int32_t outputWidth = 0;
    int32_t outputHeight = 0;
    int32_t brightness = 100;  // percent; the player's 100 unless kMovieCallerBrightness

    int32_t track = 1;  // 1-based, with kMovieSelectTrack
    int32_t trackCount = 0;
    bool hasAudio = false;
    int32_t audioRate = 0;  // of the selected track, written by the player
    uint32_t elapsedMs = 0;

    std::atomic<uint32_t> frameCounter{0};
    std::atomic<int32_t> lag{0};
    std::atomic<int32_t> state{kMovieStateNone};
    std::atomic<int32_t> error{kMovieErrorNone};
    std::atomic<uint32_t> framesShown{0};
    std::atomic<uint32_t> framesSkipped{0};

    // With kMovieFrameCallback, after each frame; nonzero ends the movie.
    std::function<int(MovieRequest&)> frameCallback;
    // Runs the audio clock from the decode thread's waits instead of a 10 ms
    // feeder thread: headless tools decode at full speed, every frame shown.
    bool manualClock = false;
    // Each decoded audio chunk as the feeder writes it (16-bit stereo).
    std::function<void(const int16_t* samples, size_t frames)> audioTap;

    // Set by MovieOpenAndStart: the context frees itself when decoding ends.
    std::atomic<bool> selfFreeing{false};
    std::thread thread;
};
