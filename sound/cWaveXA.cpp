#include "sound/cWaveXA.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "framework/CTGFileManager.h"
#include "resfile/ResUtil.h"

namespace {

constexpr double kFilters[4][2] = {{0.0, 0.0}, {0.9375, 0.0}, {1.796875, -0.8125}, {1.53125, -0.859375}};


void Put16(uint8_t* p, int16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
}

}  // namespace

void cWaveXA::Channel::SetHeader(uint8_t header) {
    // Only four filters exist; a damaged header picks none.
    const int filter = header >> 4;
    f1 = filter <= 3 ? kFilters[filter][0] : 0.0;
    f2 = filter <= 3 ? kFilters[filter][1] : 0.0;
    shift = header & 0x0F;
}

int16_t cWaveXA::Channel::Decode(int nibble) {
    const int n = nibble >= 8 ? nibble - 16 : nibble;
    const int32_t correction = shift <= 12 ? n * (1 << (12 - shift)) : 0;
    const double predicted = f1 * previous + f2 * beforePrevious + correction;
    // Bounded so that a run of damaged headers cannot overflow the history.
    const int32_t sample = static_cast<int32_t>(std::lround(std::clamp(predicted, -1.0e9, 1.0e9)));
    beforePrevious = previous;
    previous = sample;
    return static_cast<int16_t>(std::clamp(sample, -32768, 32767));
}

cWaveXA::~cWaveXA() { Close(); }

bool cWaveXA::Close() {
    if (mpFile) CTGFileManager::Global().Close(mpFile);
    mpFile = nullptr;
    return true;
}

bool cWaveXA::Open(const char* name) {
    Close();
    mBytesLeft = 0;
    mpFile = CTGFileManager::Global().Open(name, false);
    if (!mpFile) {
        mError = kSndReaderCannotOpen;
        return false;
    }
    uint8_t head[8];
    uint8_t body[16];
    int32_t error = kSndReaderNoError;
    if (!mpFile->Seek(0) || mpFile->Read(head, 8) != 8) {
        error = kSndReaderShortHeader;
    } else if (head[0] != 'X' || head[1] != 'A') {
        error = kSndReaderBadFile;
    } else if (mpFile->Read(body, 16) != 16) {
        error = kSndReaderShortHeader;
    } else if (ReadU16LE(body) != 1) {
        error = kSndReaderBadFile;
    }
    if (error == kSndReaderNoError) {
        mFormat.formatTag = 1;
        mFormat.channels = ReadU16LE(body + 2);
        mFormat.samplesPerSec = ReadU32LE(body + 4);
        mFormat.avgBytesPerSec = ReadU32LE(body + 8);
        mFormat.blockAlign = ReadU16LE(body + 12);
        mFormat.bitsPerSample = ReadU16LE(body + 14);
        // The decoder makes 16-bit mono or stereo and nothing else.
        if ((mFormat.channels != 1 && mFormat.channels != 2) || mFormat.bitsPerSample != 16) error = kSndReaderBadFile;
    }
    if (error != kSndReaderNoError) {
        mError = error;
        Close();
        return false;
    }
    mError = kSndReaderNoError;
    // The head's size is believed only as far as the compressed bytes could
    // make it (four output bytes per data byte at most): a damaged head must
    // not make a buffer of gigabytes.
    const uint64_t compressed = mpFile->GetSize() > int32_t(kDataOffset) ? mpFile->GetSize() - kDataOffset : 0;
    mDecodedSize = static_cast<uint32_t>(std::min<uint64_t>(ReadU32LE(head + 4), compressed * 4));
    mBytesLeft = mDecodedSize;
    mBlockPos = kBlockSize;
    mBlockValid = 0;
    mChannels = {};
    return true;
}

bool cWaveXA::Rewind() {
    if (!mpFile || !mpFile->Seek(kDataOffset)) {
        mError = kSndReaderRewindFailed;
        return false;
    }
    mBytesLeft = mDecodedSize;
    mBlockPos = kBlockSize;
    mBlockValid = 0;
    mChannels = {};
    return true;
}

bool cWaveXA::NextBlock() {
    const int32_t got = mpFile ? mpFile->Read(mBlock.data(), kBlockSize) : 0;
    mBlockValid = got < 0 ? 0 : static_cast<uint32_t>(got);
    mBlockPos = 0;
    return mBlockValid > 0;
}

uint8_t cWaveXA::NextByte() {
    if (mBlockPos >= kBlockSize) NextBlock();
    const uint8_t value = AtValidByte() ? mBlock[mBlockPos] : 0;
    ++mBlockPos;
    return value;
}

void cWaveXA::DecodeMonoByte(int16_t out[2]) {
    if (mBlockPos >= kBlockSize) NextBlock();
    if (mBlockPos % 15 == 0) {
        const bool valid = AtValidByte();
        const uint8_t header = NextByte();
        if (valid) mChannels[0].SetHeader(header);
    }
    // Past the end of the compressed data there is only silence.
    if (!AtValidByte()) {
        ++mBlockPos;
        out[0] = out[1] = 0;
        return;
    }
    const uint8_t data = NextByte();
    out[0] = mChannels[0].Decode(data >> 4);
    out[1] = mChannels[0].Decode(data & 0x0F);
}

void cWaveXA::DecodeStereoPair(int16_t out[4]) {
    if (mBlockPos >= kBlockSize) NextBlock();
    if (mBlockPos % 30 == 0) {
        const bool valid = mBlockPos + 1 < mBlockValid;
        const uint8_t left = NextByte();
        const uint8_t right = NextByte();
        if (valid) {
            mChannels[0].SetHeader(left);
            mChannels[1].SetHeader(right);
        }
    }
    if (mBlockPos + 1 >= mBlockValid) {
        mBlockPos += 2;
        out[0] = out[1] = out[2] = out[3] = 0;
        return;
    }
    const uint8_t left = NextByte();
    const uint8_t right = NextByte();
    out[0] = mChannels[0].Decode(left >> 4);
    out[1] = mChannels[1].Decode(right >> 4);
    out[2] = mChannels[0].Decode(left & 0x0F);
    out[3] = mChannels[1].Decode(right & 0x0F);
}

uint32_t cWaveXA::Read(void* dest, uint32_t bytes) {
    if (mBytesLeft == 0 || !mpFile) return 0;
    if (bytes > mBytesLeft) bytes = mBytesLeft;
    auto* out = static_cast<uint8_t*>(dest);
    uint32_t done = 0;
    int16_t samples[4];
    if (mFormat.channels == 1) {
        for (; bytes - done >= 4; done += 4) {
            DecodeMonoByte(samples);
            Put16(out + done, samples[0]);
            Put16(out + done + 2, samples[1]);
        }
        if (bytes - done >= 2) {
            DecodeMonoByte(samples);
            Put16(out + done, samples[0]);
            done += 2;
        }
    } else {
        for (; bytes - done >= 8; done += 8) {
            DecodeStereoPair(samples);
            for (int i = 0; i < 4; ++i) Put16(out + done + 2 * i, samples[i]);
        }
        if (bytes - done >= 4) {
            DecodeStereoPair(samples);
            Put16(out + done, samples[0]);
            Put16(out + done + 2, samples[1]);
            done += 4;
        }
    }
    // An odd tail byte cannot carry a sample.
    std::memset(out + done, 0, bytes - done);
    mBytesLeft -= bytes;
    return bytes;
}

bool cWaveXA::ReadAll(uint8_t*& out, uint32_t& size) { return ReadWholeData(*this, out, size); }
