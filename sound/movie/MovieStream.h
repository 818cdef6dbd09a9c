// The reader of a movie file: chunks {tag, little-endian size including the
// 8-byte head, payload}, tags accepted in file order and byte-reversed.
// Video payloads go into a 1.2 MB ring and audio, decoded to 16-bit stereo,
// into a 300 KB ring, each with a queue of 24 entries. The reader runs on
// the decode thread and the audio queue is emptied by the feeder thread, so
// the queue counters are atomics; a payload is placed only where it covers
// no entry still queued, and a chunk that cannot be placed yet is left for
// a later read.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/File.h"
#include "sound/movie/MovieAudio.h"

struct MovieVideoEntry {
    uint32_t offset = 0;
    uint32_t bytes = 0;
    uint32_t frame = 0;
    int32_t kind = 0;
};

struct MovieAudioEntry {
    uint32_t offset = 0;
    uint32_t bytes = 0;
    uint32_t frame = 0;
    uint32_t chunk = 0;
};

class MovieStream {
public:
    static constexpr uint32_t kVideoRingBytes = 1200000;
    static constexpr uint32_t kAudioRingBytes = 300000;
    static constexpr uint32_t kQueueSlots = 24;
    static constexpr uint32_t kReadAheadLimit = 21;

    enum ReadResult : int32_t {
        kReadHeader = 0,
        kReadVideo = 1,
        kReadAudio = 2,
        kReadFull = 3,  // the chunk waits for room in its ring or queue
        kReadSkipped = 4,
        kReadEnd = -1,
        kReadError = -2,
    };

    // The stream from a file or from bytes in memory.
    bool OpenFile(const std::string& path);
    void OpenMemory(std::vector<uint8_t> bytes);
    // Probe: leading audio headers give the track count; the track is the
    // requested one when it is in range, else 1. `loop` keeps the restart
    // point of the first decoded audio chunk.
    void Probe(int32_t requestedTrack, bool loop);
    // Reads until the queues hold enough to start; the lead follows.
    void Prefetch();
    // Before each frame: more chunks as the queues allow.
    void ReadAhead();
    ReadResult ReadChunk();

    int32_t TrackCount() const { return mTrackCount; }
    int32_t Track() const { return mTrack; }
    bool HasAudio() const { return mbHasAudio; }
    void ClearHasAudio() { mbHasAudio = false; }
    bool AtEnd() const { return mbAtEnd; }
    bool Failed() const { return mError != 0; }
    int32_t Error() const { return mError; }
    const MovieAudioFormat& AudioFormat() const { return mFormat; }
    // Frames of audio the sound ring holds ahead of the picture.
    int32_t Lead() const { return mLead; }
    bool FoundVideo() const { return mbFoundVideo; }
    // Video chunks refused (kinds without a decoder are still queued).
    uint32_t RejectedVideo() const { return mRejectedVideo; }

    // Queues: the oldest entry, its bytes, and its release.
    bool PeekVideo(MovieVideoEntry& entry) const;
    const uint8_t* VideoBytes(const MovieVideoEntry& entry) const { return mVideoRing.data() + entry.offset; }
    void PopVideo();
    uint32_t VideoQueued() const { return mVideoProduced.load() - mVideoConsumed.load(); }
    bool PeekAudio(MovieAudioEntry& entry) const;
    const uint8_t* AudioBytes(const MovieAudioEntry& entry) const { return mAudioRing.get() + entry.offset; }
    void PopAudio();
    uint32_t AudioQueued() const { return mAudioProduced.load() - mAudioConsumed.load(); }

private:
    bool ReadAt(int64_t offset, void* buffer, size_t bytes) const;
    int64_t Size() const { return mbMemory ? int64_t(mMemory.size()) : mFile.Size(); }
    // Where `bytes` fit in a ring without covering queued entries; false
    // when they do not fit now.
    template <typename Entry>
    bool Place(uint32_t ringBytes, uint32_t& write, uint32_t bytes, const std::array<Entry, kQueueSlots>& queue,
               uint32_t consumed, uint32_t produced, uint32_t& at) const;
    ReadResult ReadVideo(int32_t kind, int64_t payloadAt, uint32_t bytes);
    ReadResult ReadAudio(int64_t chunkAt, int64_t payloadAt, uint32_t bytes);

    platform::File mFile;
    bool mbMemory = false;
    std::vector<uint8_t> mMemory;
    int64_t mPosition = 0;
    bool mbAtEnd = false;
    int32_t mError = 0;
    bool mbLoop = false;
    int64_t mLoopPoint = -1;

    int32_t mTrackCount = 0;
    int32_t mTrack = 1;
    bool mbHasAudio = false;
    bool mbFoundVideo = false;
    MovieAudioFormat mFormat;
    MovieAudioDecoder mDecoder;
    int32_t mGroupAudio = 0;  // audio data chunks since the last header or video chunk
    int32_t mGroupHeaders = 0;  // audio headers in a row
    uint32_t mFrameNumber = 0;
    uint32_t mAudioChunks = 0;
    int32_t mLead = 0;
    uint32_t mRejectedVideo = 0;

    // Grown up to its full size as payloads need it (the decode thread alone
    // reads and writes it); the audio ring is shared with the feeder thread.
    std::vector<uint8_t> mVideoRing;
    std::unique_ptr<uint8_t[]> mAudioRing;
    uint32_t mVideoWrite = 0;
    uint32_t mAudioWrite = 0;
    std::array<MovieVideoEntry, kQueueSlots> mVideoQueue{};
    std::array<MovieAudioEntry, kQueueSlots> mAudioQueue{};
    std::atomic<uint32_t> mVideoProduced{0};
    std::atomic<uint32_t> mVideoConsumed{0};
    std::atomic<uint32_t> mAudioProduced{0};
    std::atomic<uint32_t> mAudioConsumed{0};
    std::vector<uint8_t> mPayload;
    std::vector<int16_t> mDecoded;
};
