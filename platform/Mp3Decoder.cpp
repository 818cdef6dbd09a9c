#include "platform/Mp3Decoder.h"

#include <mpg123.h>
#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>

namespace platform {

namespace {

void Mp3DecoderLibraryInit() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

}  // namespace

struct Mp3Decoder::State {
    std::vector<uint8_t> bytes;
    size_t offset = 0;
    mpg123_handle* handle = nullptr;

    ~State() {
        if (handle) {
            mpg123_close(handle);
            mpg123_delete(handle);
        }
    }

    static ssize_t ReadBytes(void* self, void* out, size_t count) {
        auto* state = static_cast<State*>(self);
        const size_t left = state->bytes.size() - state->offset;
        const size_t n = std::min(count, left);
        if (n > 0) std::memcpy(out, state->bytes.data() + state->offset, n);
        state->offset += n;
        return static_cast<ssize_t>(n);
    }

    static off_t SeekBytes(void* self, off_t offset, int whence) {
        auto* state = static_cast<State*>(self);
        int64_t base = 0;
        if (whence == SEEK_CUR)
            base = static_cast<int64_t>(state->offset);
        else if (whence == SEEK_END)
            base = static_cast<int64_t>(state->bytes.size());
        else if (whence != SEEK_SET)
            return -1;
        const int64_t target = base + offset;
        if (target < 0 || target > static_cast<int64_t>(state->bytes.size())) return -1;
        state->offset = static_cast<size_t>(target);
        return static_cast<off_t>(target);
    }
};

Mp3Decoder::Mp3Decoder() = default;
Mp3Decoder::~Mp3Decoder() = default;

void Mp3Decoder::Close() {
    mState.reset();
    mError.clear();
}

bool Mp3Decoder::Open(const std::filesystem::path& path, std::string& error) {
    Close();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path.string();
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return OpenMemory(std::move(bytes), error);
}

bool Mp3Decoder::OpenMemory(std::vector<uint8_t> bytes, std::string& error) {
    Close();
    Mp3DecoderLibraryInit();
    auto state = std::make_unique<State>();
    state->bytes = std::move(bytes);
    int status = MPG123_OK;
    state->handle = mpg123_new(nullptr, &status);
    if (!state->handle) {
        error = "mp3: no decoder";
        return false;
    }
    mpg123_param(state->handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    // Always 16-bit signed, whatever rate and channel count the stream has.
    mpg123_format_none(state->handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(state->handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_replace_reader_handle(state->handle, &State::ReadBytes, &State::SeekBytes, nullptr) != MPG123_OK ||
        mpg123_open_handle(state->handle, state.get()) != MPG123_OK) {
        error = std::string("mp3: ") + mpg123_strerror(state->handle);
        return false;
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(state->handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        (channels != 1 && channels != 2)) {
        error = "mp3: no audio frame";
        return false;
    }
    // Fixed from here on: a later frame of another format ends the stream.
    mpg123_format_none(state->handle);
    mpg123_format(state->handle, rate, channels, MPG123_ENC_SIGNED_16);
    mFormat = PcmFormat::Make(static_cast<uint16_t>(channels), static_cast<uint32_t>(rate), 16);
    mState = std::move(state);
    return true;
}

int64_t Mp3Decoder::LengthFrames() {
    if (!mState) return -1;
    const off_t length = mpg123_length(mState->handle);
    return length < 0 ? -1 : static_cast<int64_t>(length);
}

size_t Mp3Decoder::Read(uint8_t* out, size_t bytes) {
    if (!mState || !mError.empty()) return 0;
    bytes -= bytes % mFormat.blockAlign;
    size_t total = 0;
    while (total < bytes) {
        size_t done = 0;
        const int status = mpg123_read(mState->handle, out + total, bytes - total, &done);
        total += done;
        if (status == MPG123_OK) continue;
        if (status == MPG123_DONE) break;
        if (status == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(mState->handle, &rate, &channels, &encoding);
            if (static_cast<uint32_t>(rate) == mFormat.samplesPerSec && channels == mFormat.channels) continue;
            mError = "mp3: the stream changes its format";
            break;
        }
        mError = std::string("mp3: ") + mpg123_strerror(mState->handle);
        break;
    }
    return total - total % mFormat.blockAlign;
}

bool Mp3Decoder::Rewind() {
    if (!mState) return false;
    mError.clear();
    // Opened afresh rather than sought: a seek leaves the synthesis
    // history of the old place, and the first samples would differ.
    mpg123_close(mState->handle);
    mState->offset = 0;
    if (mpg123_open_handle(mState->handle, mState.get()) != MPG123_OK) {
        mError = std::string("mp3: ") + mpg123_strerror(mState->handle);
        return false;
    }
    return true;
}

}  // namespace platform
