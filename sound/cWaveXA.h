// Reader of "XA" files: 4-bit adaptive differential samples with the four
// CD-ROM XA prediction filters, decoded to 16-bit PCM as they are read.
//
// Layout: 8-byte head ('X', 'A', two unused bytes, decoded size u32 LE), a
// 16-byte PCM format body, then blocks of 3840 bytes. A block holds groups:
// mono 15 bytes (a header byte, then 14 data bytes of two samples each, high
// nibble first); stereo 30 bytes (the left and the right header byte, then 14
// byte pairs, left then right). A header's high nibble picks the filter, its
// low nibble the shift.
#pragma once

#include <array>

#include "sound/cIGZSndReader.h"

class CTGFile;

class cWaveXA : public cIGZSndReader {
public:
    static constexpr uint32_t kBlockSize = 3840;
    static constexpr uint32_t kDataOffset = 24;

    cWaveXA() = default;
    ~cWaveXA() override;

    bool Open(const char* name) override;
    bool Close() override;
    bool ReadAll(uint8_t*& out, uint32_t& size) override;
    uint32_t Read(void* dest, uint32_t bytes) override;
    bool Rewind() override;
    uint32_t GetDataSize() const override { return mBytesLeft; }
    const platform::PcmFormat& GetFormat() const override { return mFormat; }
    int32_t GetError() const override { return mError; }

    // One channel's decoder: the header and the two newest samples.
    struct Channel {
        double f1 = 0.0;
        double f2 = 0.0;
        int shift = 0;
        int32_t previous = 0;
        int32_t beforePrevious = 0;

        void SetHeader(uint8_t header);
        // The next sample of a 4-bit value, saturated to 16 bits (the
        // history keeps the exact value).
        int16_t Decode(int nibble);
    };

private:
    bool NextBlock();
    uint8_t NextByte();  // 0 past the data
    bool AtValidByte() const { return mBlockPos < mBlockValid; }
    void DecodeMonoByte(int16_t out[2]);
    void DecodeStereoPair(int16_t out[4]);

    CTGFile* mpFile = nullptr;
    std::array<uint8_t, kBlockSize> mBlock{};
    uint32_t mBlockPos = kBlockSize;
    uint32_t mBlockValid = 0;
    std::array<Channel, 2> mChannels{};
    platform::PcmFormat mFormat;
    uint32_t mDecodedSize = 0;
    uint32_t mBytesLeft = 0;
    int32_t mError = kSndReaderNoError;
};
