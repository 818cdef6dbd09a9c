#include "sound/movie/MovieStream.h"

#include <cstring>

#include "sound/movie/MovieRequest.h"
#include "sound/movie/MovieTags.h"

namespace {

uint32_t MovieStreamU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

}  // namespace

bool MovieStream::OpenFile(const std::string& path) {
    mbMemory = false;
    return mFile.Open(path, platform::File::kRead, platform::File::Disposition::kOpenExisting);
}

void MovieStream::OpenMemory(std::vector<uint8_t> bytes) {
    mbMemory = true;
    mMemory = std::move(bytes);
}

bool MovieStream::ReadAt(int64_t offset, void* buffer, size_t bytes) const {
    if (offset < 0 || bytes > uint64_t(Size()) || offset > Size() - int64_t(bytes)) return false;
    if (mbMemory) {
        if (bytes) std::memcpy(buffer, mMemory.data() + offset, bytes);
        return true;
    }
    return mFile.ReadAt(buffer, bytes, offset) == int64_t(bytes);
}

void MovieStream::Probe(int32_t requestedTrack, bool loop) {
    mbLoop = loop;
    int64_t at = 0;
    uint8_t head[8];
    while (ReadAt(at, head, 8)) {
        int32_t kind = 0;
        const uint32_t size = MovieStreamU32(head + 4);
        if (ClassifyMovieTag(MovieStreamU32(head), kind) != MovieChunk::AudioHeader || size < 8) break;
        ++mTrackCount;
        mbHasAudio = true;
        at += size;
    }
    mTrack = requestedTrack >= 1 && requestedTrack <= mTrackCount ? requestedTrack : 1;
    // Every byte is written before it is read: the rings are not cleared,
    // so their pages are touched only as far as the movie fills them.
    mVideoRing.clear();
    mAudioRing = std::make_unique_for_overwrite<uint8_t[]>(kAudioRingBytes);
}

template <typename Entry>
bool MovieStream::Place(uint32_t ringBytes, uint32_t& write, uint32_t bytes, const std::array<Entry, kQueueSlots>& queue,
                        uint32_t consumed, uint32_t produced, uint32_t& at) const {
    if (bytes > ringBytes) return false;
    at = write;
    if (bytes > ringBytes - at) at = 0;
    for (uint32_t i = consumed; i != produced; ++i) {
        const Entry& e = queue[i % kQueueSlots];
        if (at < e.offset + e.bytes && e.offset < at + bytes) return false;
    }
    write = at + bytes;
    return true;
}

MovieStream::ReadResult MovieStream::ReadChunk() {
    if (mError) return kReadError;
    uint8_t head[8];
    if (mPosition >= Size()) {
        mbAtEnd = true;
        return kReadEnd;
    }
    if (!ReadAt(mPosition, head, 8)) {
        mError = kMovieErrorBadChunk;
        return kReadError;
    }
    const uint32_t size = MovieStreamU32(head + 4);
    if (size < 8 || size > Size() - mPosition) {
        mError = kMovieErrorBadChunk;
        return kReadError;
    }
    const uint32_t bytes = size - 8;
    const int64_t payloadAt = mPosition + 8;
    int32_t kind = 0;
    const MovieChunk chunk = ClassifyMovieTag(MovieStreamU32(head), kind);
    if (chunk != MovieChunk::AudioHeader) mGroupHeaders = 0;
    switch (chunk) {
        case MovieChunk::AudioHeader: {
            // Of several headers in a row, the selected track's sets the format.
            ++mGroupHeaders;
            mGroupAudio = 0;
            mPayload.resize(bytes);
            if (!ReadAt(payloadAt, mPayload.data(), bytes)) {
                mError = kMovieErrorBadChunk;
                return kReadError;
            }
            if (mGroupHeaders == mTrack) {
                MovieAudioFormat format;
                ParseMovieAudioHeader(mPayload.data(), bytes, format);
                mFormat = format;
                mDecoder.Reset();
            }
            mPosition += size;
            return kReadHeader;
        }
        case MovieChunk::AudioCount:
        case MovieChunk::LoopInfo:
            mGroupAudio = 0;
            mPosition += size;
            return kReadSkipped;
        case MovieChunk::End:
            mbAtEnd = true;
            return kReadEnd;
        case MovieChunk::Video:
            return ReadVideo(kind, payloadAt, bytes);
        case MovieChunk::AudioData:
            return ReadAudio(mPosition, payloadAt, bytes);
        case MovieChunk::Unknown:
            break;
    }
    mError = kMovieErrorUnknownChunk;
    return kReadError;
}

MovieStream::ReadResult MovieStream::ReadVideo(int32_t kind, int64_t payloadAt, uint32_t bytes) {
    mbFoundVideo = true;
    if (bytes > kVideoRingBytes) {
        ++mRejectedVideo;
        ++mFrameNumber;
        mGroupAudio = 0;
        mPosition = payloadAt + bytes;
        return kReadSkipped;
    }
    const uint32_t consumed = mVideoConsumed.load(), produced = mVideoProduced.load();
    uint32_t at = 0;
    if (produced - consumed >= kQueueSlots ||
        !Place(kVideoRingBytes, mVideoWrite, bytes, mVideoQueue, consumed, produced, at))
        return kReadFull;
    if (mVideoRing.size() < size_t(at) + bytes) mVideoRing.resize(size_t(at) + bytes);
    if (!ReadAt(payloadAt, mVideoRing.data() + at, bytes)) {
        mError = kMovieErrorBadChunk;
        return kReadError;
    }
    mVideoQueue[produced % kQueueSlots] = {at, bytes, mFrameNumber++, kind};
    mVideoProduced.fetch_add(1);
    mGroupAudio = 0;
    mPosition = payloadAt + bytes;
    return kReadVideo;
}

MovieStream::ReadResult MovieStream::ReadAudio(int64_t chunkAt, int64_t payloadAt, uint32_t bytes) {
    if (mGroupAudio + 1 != mTrack) {
        ++mGroupAudio;
        mPosition = payloadAt + bytes;
        return kReadAudio;
    }
    const uint32_t consumed = mAudioConsumed.load(), produced = mAudioProduced.load();
    if (produced - consumed >= kQueueSlots) return kReadFull;
    mPayload.resize(bytes);
    if (!ReadAt(payloadAt, mPayload.data(), bytes)) {
        mError = kMovieErrorBadChunk;
        return kReadError;
    }
    const size_t out = MovieAudioDecoder::OutputBytes(mFormat, mPayload.data(), bytes);
    uint32_t at = 0;
    if (out > 0 && out <= kAudioRingBytes &&
        !Place(kAudioRingBytes, mAudioWrite, uint32_t(out), mAudioQueue, consumed, produced, at))
        return kReadFull;
    ++mGroupAudio;
    mPosition = payloadAt + bytes;
    if (mbLoop && mLoopPoint < 0) mLoopPoint = chunkAt;
    // Without video the audio chunks are the frames.
    if (!mbFoundVideo) ++mFrameNumber;
    if (out == 0 || out > kAudioRingBytes) return kReadAudio;
    mDecoded.clear();
    mDecoder.Decode(mFormat, mPayload.data(), bytes, mDecoded);
    std::memcpy(mAudioRing.get() + at, mDecoded.data(), out);
    mAudioQueue[produced % kQueueSlots] = {at, uint32_t(out), mFrameNumber, mAudioChunks++};
    mAudioProduced.fetch_add(1);
    return kReadAudio;
}

void MovieStream::Prefetch() {
    if (mbHasAudio) {
        for (;;) {
            const ReadResult r = ReadChunk();
            if (r == kReadEnd || r == kReadError || r == kReadFull) break;
            if (AudioQueued() >= kReadAheadLimit && r != kReadAudio) break;
        }
        uint64_t bytes = 0;
        const uint32_t consumed = mAudioConsumed.load(), produced = mAudioProduced.load();
        for (uint32_t i = consumed; i != produced; ++i) bytes += mAudioQueue[i % kQueueSlots].bytes;
        // Chunks of no samples keep the default lead.
        if (produced != consumed && bytes >= produced - consumed)
            mLead = int32_t(32768 / (bytes / (produced - consumed)));
    } else {
        for (;;) {
            const ReadResult r = ReadChunk();
            if (r == kReadEnd || r == kReadError || r == kReadFull) break;
            if (VideoQueued() >= 20) break;
        }
    }
}

void MovieStream::ReadAhead() {
    if (mbAtEnd && mbLoop && mLoopPoint >= 0 && !mError) {
        mPosition = mLoopPoint;
        mGroupAudio = mTrack - 1;
        mbAtEnd = false;
    }
    if (mbAtEnd || mError) return;
    if (AudioQueued() > kReadAheadLimit || VideoQueued() > kReadAheadLimit) return;
    ReadResult r = ReadChunk();
    if (r == kReadVideo && mbHasAudio) {
        r = ReadChunk();
        if (r == kReadVideo) mbHasAudio = false;
        while (r == kReadAudio) r = ReadChunk();
    } else if (r == kReadAudio) {
        while (r == kReadAudio) {
            if (!mbFoundVideo && AudioQueued() >= kReadAheadLimit) break;
            r = ReadChunk();
        }
    }
}

bool MovieStream::PeekVideo(MovieVideoEntry& entry) const {
    const uint32_t consumed = mVideoConsumed.load();
    if (mVideoProduced.load() == consumed) return false;
    entry = mVideoQueue[consumed % kQueueSlots];
    return true;
}

void MovieStream::PopVideo() { mVideoConsumed.fetch_add(1); }

bool MovieStream::PeekAudio(MovieAudioEntry& entry) const {
    const uint32_t consumed = mAudioConsumed.load();
    if (mAudioProduced.load() == consumed) return false;
    entry = mAudioQueue[consumed % kQueueSlots];
    return true;
}

void MovieStream::PopAudio() { mAudioConsumed.fetch_add(1); }
