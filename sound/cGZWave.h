// Reader of plain PCM ".wav" files: the first chunk after the RIFF head is
// taken as the 16-byte format chunk and the "data" chunk is found by
// scanning. The data size is trusted only as far as the file really holds it.
#pragma once

#include "sound/cIGZSndReader.h"

class CTGFile;

class cGZWave : public cIGZSndReader {
public:
    cGZWave() = default;
    ~cGZWave() override;

    bool Open(const char* name) override;
    bool Close() override;
    bool ReadAll(uint8_t*& out, uint32_t& size) override;
    uint32_t Read(void* dest, uint32_t bytes) override;
    bool Rewind() override;
    uint32_t GetDataSize() const override { return mBytesLeft; }
    const platform::PcmFormat& GetFormat() const override { return mFormat; }
    int32_t GetError() const override { return mError; }

private:
    bool FindData();

    CTGFile* mpFile = nullptr;
    platform::PcmFormat mFormat;
    uint32_t mBytesLeft = 0;
    int32_t mError = kSndReaderNoError;
};
