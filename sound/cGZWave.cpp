#include "sound/cGZWave.h"

#include <cstring>
#include <new>

#include "framework/CTGFileManager.h"
#include "resfile/ResUtil.h"
#include "sound/cWaveXA.h"

cIGZSndReader* MakeSndReader(const char* name) {
    const size_t length = name ? std::strlen(name) : 0;
    auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    if (length >= 4) {
        const char* tail = name + length - 4;
        if (tail[0] == '.' && upper(tail[1]) == 'W' && upper(tail[2]) == 'A' && upper(tail[3]) == 'V')
            return new cGZWave;
    }
    if (length >= 2 && upper(name[length - 2]) == 'X' && upper(name[length - 1]) == 'A') return new cWaveXA;
    return nullptr;
}

bool ReadWholeData(cIGZSndReader& reader, uint8_t*& out, uint32_t& size) {
    out = nullptr;
    size = 0;
    const uint32_t wanted = reader.GetDataSize();
    auto* block = new (std::nothrow) uint8_t[wanted == 0 ? 1 : wanted];
    if (!block) return false;
    // A short read is a failure, not a block with an unread tail.
    if (reader.Read(block, wanted) != wanted) {
        delete[] block;
        return false;
    }
    out = block;
    size = wanted;
    return true;
}

cGZWave::~cGZWave() { Close(); }

bool cGZWave::Close() {
    if (mpFile) CTGFileManager::Global().Close(mpFile);
    mpFile = nullptr;
    return true;
}

bool cGZWave::Open(const char* name) {
    Close();
    mBytesLeft = 0;
    mpFile = CTGFileManager::Global().Open(name, false);
    if (!mpFile) {
        mError = kSndReaderCannotOpen;
        return false;
    }
    uint8_t head[20];
    if (!mpFile->Seek(0) || mpFile->Read(head, 20) != 20) {
        mError = kSndReaderShortHeader;
        Close();
        return false;
    }
    uint8_t body[16];
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0 || ReadU32LE(head + 4) <= 15 ||
        mpFile->Read(body, 16) != 16 || ReadU16LE(body) != 1) {
        mError = kSndReaderBadFile;
        Close();
        return false;
    }
    mFormat.formatTag = 1;
    mFormat.channels = ReadU16LE(body + 2);
    mFormat.samplesPerSec = ReadU32LE(body + 4);
    mFormat.avgBytesPerSec = ReadU32LE(body + 8);
    mFormat.blockAlign = ReadU16LE(body + 12);
    mFormat.bitsPerSample = ReadU16LE(body + 14);
    if (!FindData()) {
        mError = kSndReaderBadFile;
        Close();
        return false;
    }
    mError = kSndReaderNoError;
    return true;
}

bool cGZWave::FindData() {
    char window[4] = {'#', '#', '#', '#'};
    uint8_t byte;
    while (std::memcmp(window, "data", 4) != 0) {
        if (mpFile->Read(&byte, 1) != 1) return false;
        std::memmove(window, window + 1, 3);
        window[3] = static_cast<char>(byte);
    }
    uint8_t size[4];
    if (mpFile->Read(size, 4) != 4) return false;
    // A size beyond the end of the file would deliver bytes that are not
    // there: only what the file holds counts.
    const int64_t available = int64_t{mpFile->GetSize()} - mpFile->GetPosition();
    const uint32_t declared = ReadU32LE(size);
    mBytesLeft = available < declared ? static_cast<uint32_t>(available < 0 ? 0 : available) : declared;
    return true;
}

uint32_t cGZWave::Read(void* dest, uint32_t bytes) {
    if (!mpFile) return 0;
    if (bytes > mBytesLeft) bytes = mBytesLeft;
    const int32_t got = mpFile->Read(dest, static_cast<int32_t>(bytes));
    const uint32_t delivered = got < 0 ? 0 : static_cast<uint32_t>(got);
    mBytesLeft -= delivered;
    return delivered;
}

bool cGZWave::Rewind() {
    if (!mpFile || !mpFile->Seek(36) || !FindData()) {
        mError = kSndReaderRewindFailed;
        return false;
    }
    return true;
}

bool cGZWave::ReadAll(uint8_t*& out, uint32_t& size) { return ReadWholeData(*this, out, size); }
