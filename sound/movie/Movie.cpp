#include "sound/movie/Movie.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <system_error>

#include "platform/AudioMixer.h"
#include "sound/movie/MovieClock.h"
#include "sound/movie/MovieStream.h"
#include "sound/movie/MovieVideoDecoder.h"

struct MovieContext {
    explicit MovieContext(MovieRequest& r) : request(r) {}
    ~MovieContext() {
        if (voice && mixer) mixer->ReleaseVoice(voice);
    }

    MovieRequest& request;
    MovieStream stream;
    MovieVideoDecoder video;
    int32_t lead = 0;

    // The sound device, or the device-less clock.
    platform::AudioMixer* mixer = nullptr;
    platform::AudioVoice* voice = nullptr;
    MovieDevicelessClock clock;
    uint32_t ringBytes = MovieDevicelessClock::kRingBytes;
    uint32_t writeOffset = 0;
    std::atomic<bool> soundStarted{false};
    std::atomic<uint32_t> audioClock{0};
    std::atomic<bool> feederRun{false};
    std::thread feeder;
    uint32_t feederTicks = 0;
    uint64_t startMs = 0;
    bool unsupportedSeen = false;
};

namespace {

void MovieSleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
uint64_t MovieNowMs() {
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

bool MovieSoundOn(const MovieContext& ctx) { return (ctx.request.flags & kMoviePlaySound) != 0; }

// The sound device: a looping 16-bit stereo voice at the stream's rate, or
// the device-less clock when there is none or it cannot be made.
void MovieStartSound(MovieContext& ctx) {
    const MovieAudioFormat& format = ctx.stream.AudioFormat();
    const int32_t rate = format.rate >= int32_t(platform::kAudioMinFrequency) &&
                                 format.rate <= int32_t(platform::kAudioMaxFrequency)
                             ? format.rate
                             : 22050;
    ctx.clock = MovieDevicelessClock(rate);
    ctx.ringBytes = MovieDevicelessClock::kRingBytes;
    if (MovieSoundOn(ctx) && ctx.request.mixer) {
        uint32_t bytes = MovieDevicelessClock::kRingBytes;
        if ((ctx.request.flags & kMovieCallerBufferSize) && ctx.request.soundBufferBytes >= 4)
            bytes = ctx.request.soundBufferBytes / 4 * 4;
        ctx.voice = ctx.request.mixer->CreateVoice(platform::PcmFormat::Make(2, uint32_t(rate), 16), bytes);
        if (ctx.voice) {
            ctx.mixer = ctx.request.mixer;
            ctx.voice->SetFrequency(uint32_t(rate));
            if (ctx.request.flags & kMovieApplyVolume) ctx.voice->SetVolume(std::clamp(ctx.request.volume, -10000, 0));
            ctx.ringBytes = ctx.voice->Size();
            ctx.voice->Play(true);
        }
    }
    ctx.soundStarted = true;
}

void MovieWriteRing(MovieContext& ctx, const uint8_t* bytes, uint32_t count) {
    if (ctx.voice && count > 0) {
        void *first = nullptr, *second = nullptr;
        uint32_t firstBytes = 0, secondBytes = 0;
        if (ctx.voice->Lock(ctx.writeOffset, count, &first, &firstBytes, &second, &secondBytes)) {
            if (bytes) {
                std::copy(bytes, bytes + firstBytes, static_cast<uint8_t*>(first));
                if (second) std::copy(bytes + firstBytes, bytes + firstBytes + secondBytes, static_cast<uint8_t*>(second));
            } else {
                std::fill_n(static_cast<uint8_t*>(first), firstBytes, 0);
                if (second) std::fill_n(static_cast<uint8_t*>(second), secondBytes, 0);
            }
            ctx.voice->Unlock(first, firstBytes, second, secondBytes);
        }
    }
    ctx.writeOffset = (ctx.writeOffset + count) % ctx.ringBytes;
}

// One 10 ms round of the feeder.
void MovieFeedOnce(MovieContext& ctx) {
    ++ctx.feederTicks;
    if (!ctx.soundStarted) return;
    if (!ctx.voice) ctx.clock.Tick();
    const uint32_t play = ctx.voice ? ctx.voice->GetPosition() : ctx.clock.Position();
    const uint32_t free = (play + ctx.ringBytes - ctx.writeOffset) % ctx.ringBytes;
    MovieAudioEntry entry;
    if (ctx.stream.PeekAudio(entry)) {
        // A chunk larger than the whole ring could never be written: dropped.
        if (entry.bytes > ctx.ringBytes - 4) {
            ctx.audioClock = entry.frame;
            ctx.stream.PopAudio();
        } else if (free >= entry.bytes) {
            const uint8_t* data = ctx.stream.AudioBytes(entry);
            MovieWriteRing(ctx, data, entry.bytes);
            if (ctx.request.audioTap)
                ctx.request.audioTap(reinterpret_cast<const int16_t*>(data), entry.bytes / 4);
            ctx.audioClock = entry.frame;
            ctx.stream.PopAudio();
        }
    } else {
        MovieWriteRing(ctx, nullptr, free);
        ctx.audioClock.fetch_add(1);
    }
}

void MovieFeederThread(MovieContext* ctx) {
    while (ctx->feederRun.load()) {
        MovieFeedOnce(*ctx);
        MovieSleepMs(MovieDevicelessClock::kTickMs);
    }
}

void MovieShowFrame(MovieContext& ctx) {
    MovieRequest& r = ctx.request;
    if (r.surface) {
        std::unique_lock<std::mutex> lock;
        if (r.surfaceLock) lock = std::unique_lock<std::mutex>(*r.surfaceLock);
        if ((r.flags & kMovieRestoreSurface) && r.surface->IsLost()) r.surface->Restore();
        const platform::Rect rect = MovieVideoDecoder::OutputRect(r, ctx.video.Width(), ctx.video.Height(),
                                                                  r.surface->Width(), r.surface->Height());
        ctx.video.Output(*r.surface, rect);
    }
    r.framesShown.fetch_add(1);
}

// Frees the context; the last thing a self-freeing decode thread does.
void MovieFree(MovieRequest& r) {
    MovieContext* ctx = r.context;
    r.context = nullptr;
    delete ctx;
    r.state.store(kMovieStateFreed);
}

void MovieDecode(MovieContext& ctx) {
    MovieRequest& r = ctx.request;
    MovieStream& stream = ctx.stream;
    r.state.store(kMovieStateThreadStarted);
    if (!r.manualClock) {
        ctx.feederRun = true;
        try {
            ctx.feeder = std::thread(MovieFeederThread, &ctx);
        } catch (const std::system_error&) {
            ctx.feederRun = false;
            r.manualClock = true;  // the decode thread runs the clock itself
        }
    }
    ctx.startMs = MovieNowMs();
    for (;;) {
        int32_t state = r.state.load();
        if (state == kMovieStateStopRequested) break;
        if (state == kMovieStatePaused) {
            MovieSleepMs(20);
            continue;
        }
        if (state != kMovieStatePlaying) r.state.compare_exchange_strong(state, kMovieStatePlaying);

        stream.ReadAhead();
        if (!ctx.soundStarted && stream.HasAudio()) MovieStartSound(ctx);

        MovieVideoEntry entry;
        const bool haveVideo = stream.PeekVideo(entry);
        bool stop = false;
        if (haveVideo) {
            const bool behind = r.lag.load() > 2;
            if (entry.kind == kMovieKindKey || entry.kind == kMovieKindInter) {
                if (!ctx.video.Decode(entry.kind, stream.VideoBytes(entry), entry.bytes, r.brightness)) {
                    r.framesSkipped.fetch_add(1);
                    r.error.store(kMovieErrorBadFrame);
                } else if (behind) {
                    r.framesSkipped.fetch_add(1);
                } else {
                    MovieShowFrame(ctx);
                }
            } else {
                // No decoder exists for these kinds: the frame is counted.
                ctx.unsupportedSeen = true;
                r.framesSkipped.fetch_add(1);
            }
            stream.PopVideo();
            if ((r.flags & kMovieFrameCallback) && r.frameCallback && r.frameCallback(r) != 0) stop = true;
        }
        r.frameCounter.fetch_add(1);
        if (stop) break;

        const bool streamDone = stream.AtEnd() || stream.Failed();
        if (!haveVideo && stream.VideoQueued() == 0 && streamDone) {
            if (!(stream.HasAudio() && MovieSoundOn(ctx))) break;
            if (stream.AudioQueued() == 0) {
                if (ctx.voice) {
                    ctx.voice->Play(false);
                    for (int i = 0; i < 1000 && (ctx.voice->GetStatus() & platform::kAudioPlaying); ++i) {
                        if (r.state.load() == kMovieStateStopRequested) break;
                        MovieSleepMs(10);
                    }
                }
                break;
            }
        }

        if (stream.HasAudio() && ctx.soundStarted) {
            for (int i = 0; i < 151; ++i) {
                const int64_t ahead = int64_t(r.frameCounter.load()) - (int64_t(ctx.audioClock.load()) - ctx.lead);
                if (ahead <= 0) break;
                if (r.manualClock)
                    MovieFeedOnce(ctx);
                else
                    MovieSleepMs(i == 0 ? 0 : 2);
            }
            r.lag.store(std::max<int32_t>(0, int32_t(int64_t(ctx.audioClock.load()) - ctx.lead - r.frameCounter.load())));
        }
    }
    r.elapsedMs = uint32_t(MovieNowMs() - ctx.startMs);
    if (ctx.feeder.joinable()) {
        ctx.feederRun = false;
        ctx.feeder.join();
    }
    if (ctx.voice) {
        ctx.mixer->ReleaseVoice(ctx.voice);
        ctx.voice = nullptr;
    }
    if (r.framesShown.load() == 0 && ctx.unsupportedSeen) r.error.store(kMovieErrorUnsupportedKind);
    else if (stream.Failed() && r.error.load() == kMovieErrorNone) r.error.store(stream.Error());
    r.state.store(kMovieStateFinished);
    if (r.selfFreeing.load()) MovieFree(r);
}

MovieRequest* MovieOpenStream(MovieRequest* request, std::unique_ptr<MovieContext> ctx) {
    MovieRequest& r = *request;
    MovieStream& stream = ctx->stream;
    stream.Probe((r.flags & kMovieSelectTrack) ? r.track : 1, (r.flags & kMovieLoop) != 0);
    r.trackCount = stream.TrackCount();
    r.track = stream.Track();
    if (!(r.flags & kMovieCallerBrightness)) r.brightness = 100;
    stream.Prefetch();
    r.hasAudio = stream.HasAudio();
    r.audioRate = stream.AudioFormat().rate;
    if (stream.VideoQueued() == 0 && stream.AudioQueued() == 0) {
        r.error.store(stream.Failed() ? stream.Error() : kMovieErrorNotAMovie);
        return nullptr;
    }
    MovieVideoEntry first;
    if (stream.PeekVideo(first))
        MovieVideoDecoder::ReadFrameSize(first.kind, stream.VideoBytes(first), first.bytes, r.frameWidth, r.frameHeight);
    ctx->lead = stream.Lead();
    r.context = ctx.release();
    r.state.store(kMovieStateOpened);
    return request;
}

bool MovieReady(MovieRequest* request) {
    if (!request || request->context) return false;
    if (request->thread.joinable()) request->thread.join();
    request->error.store(kMovieErrorNone);
    request->frameCounter = 0;
    request->framesShown = 0;
    request->framesSkipped = 0;
    request->lag = 0;
    request->selfFreeing = false;
    request->state.store(kMovieStateNone);
    return true;
}

}  // namespace

MovieRequest* MovieOpen(const char* fileName, MovieRequest* request) {
    if (!MovieReady(request)) return nullptr;
    auto ctx = std::make_unique<MovieContext>(*request);
    if (!fileName || !ctx->stream.OpenFile(fileName)) {
        request->error.store(kMovieErrorCannotOpen);
        return nullptr;
    }
    return MovieOpenStream(request, std::move(ctx));
}

MovieRequest* MovieOpenBytes(std::vector<uint8_t> bytes, MovieRequest* request) {
    if (!MovieReady(request)) return nullptr;
    auto ctx = std::make_unique<MovieContext>(*request);
    ctx->stream.OpenMemory(std::move(bytes));
    return MovieOpenStream(request, std::move(ctx));
}

int32_t MovieStart(MovieRequest* request) {
    if (!request || !request->context || request->state.load() != kMovieStateOpened) return -1;
    MovieContext* ctx = request->context;
    if (!(request->flags & kMovieOwnThread)) {
        MovieDecode(*ctx);
        return 1;
    }
    try {
        request->thread = std::thread([ctx] { MovieDecode(*ctx); });
    } catch (const std::system_error&) {
        request->error.store(kMovieErrorThread);
        return -1;
    }
    while (request->state.load() < kMovieStatePlaying) MovieSleepMs(1);
    return 0;
}

MovieRequest* MovieOpenAndStart(const char* fileName, MovieRequest* request) {
    if (!MovieOpen(fileName, request)) return nullptr;
    request->selfFreeing = true;
    if (MovieStart(request) < 0) {
        MovieClose(request);
        return nullptr;
    }
    return request;
}

bool MovieIsPlaying(const MovieRequest* request) {
    if (!request) return false;
    const int32_t state = request->state.load();
    if (state == kMovieStateNone || state == kMovieStateFreed) return false;
    if (request->selfFreeing.load()) return true;
    return state == kMovieStatePlaying || state == kMovieStatePaused;
}

int32_t MovieStop(MovieRequest* request) {
    if (!request) return -1;
    int32_t state = request->state.load();
    for (;;) {
        if (state == kMovieStateNone || state == kMovieStateFinished || state == kMovieStateFreed) {
            if (state == kMovieStateFreed && request->thread.joinable()) request->thread.join();
            return -1;
        }
        if (state == kMovieStateOpened) {
            // Never started: nothing runs to hear the request.
            MovieClose(request);
            return 0;
        }
        if (request->state.compare_exchange_strong(state, kMovieStateStopRequested)) break;
    }
    const int32_t until = request->selfFreeing.load() ? kMovieStateFreed : kMovieStateFinished;
    while (request->state.load() != until) MovieSleepMs(10);
    if (until == kMovieStateFreed && request->thread.joinable()) request->thread.join();
    return 0;
}

void MovieClose(MovieRequest* request) {
    if (!request) return;
    const int32_t state = request->state.load();
    if (state >= kMovieStateThreadStarted && state <= kMovieStateStopRequested) MovieStop(request);
    if (request->thread.joinable()) request->thread.join();
    if (request->context) MovieFree(*request);
}

const char* MovieErrorText(int32_t code) {
    switch (code) {
        case kMovieErrorNone: return "no error";
        case kMovieErrorCannotOpen: return "the movie file cannot be opened";
        case kMovieErrorNotAMovie: return "no movie chunks in the file";
        case kMovieErrorBadChunk: return "a chunk's length runs past the end of the file";
        case kMovieErrorUnknownChunk: return "unknown chunk tag";
        case kMovieErrorUnsupportedKind: return "unsupported video kind";
        case kMovieErrorBadFrame: return "damaged video frame";
        case kMovieErrorNoMemory: return "out of memory";
        case kMovieErrorThread: return "the decode thread cannot be started";
        default: return "unknown error code";
    }
}
