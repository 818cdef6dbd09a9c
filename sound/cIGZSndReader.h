// The wave readers' common face: a sound buffer loads a file whole through it
// or streams it segment by segment, rewinding it for loops. Both readers give
// 8- or 16-bit PCM in the format they report.
#pragma once

#include <cstdint>

#include "platform/WavFile.h"

// GetError codes.
enum : int32_t {
    kSndReaderNoError = 0,
    kSndReaderCannotOpen = 1,
    kSndReaderBadFile = 3,
    kSndReaderShortHeader = 4,
    kSndReaderRewindFailed = 5,
};

class cIGZSndReader {
public:
    virtual ~cIGZSndReader() = default;
    // Through the data-file manager, so the file may lie inside an archive.
    virtual bool Open(const char* name) = 0;
    virtual bool Close() = 0;
    // The rest of the data in a new[] block the caller deletes; false (and
    // out null) when the data cannot be read whole.
    virtual bool ReadAll(uint8_t*& out, uint32_t& size) = 0;
    // Up to bytes into dest; answers how many were delivered.
    virtual uint32_t Read(void* dest, uint32_t bytes) = 0;
    virtual bool Rewind() = 0;
    // Bytes still to deliver.
    virtual uint32_t GetDataSize() const = 0;
    virtual const platform::PcmFormat& GetFormat() const = 0;
    virtual int32_t GetError() const = 0;
};

// ReadAll of either reader: the rest of the data in one new[] block.
bool ReadWholeData(cIGZSndReader& reader, uint8_t*& out, uint32_t& size);

// The reader for a file name: ".WAV" (any case) gets a cGZWave, a name
// ending in "XA" a cWaveXA; anything else null.
cIGZSndReader* MakeSndReader(const char* name);
