#include "ui/graphics/KoralStreams.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "framework/CTGFile.h"
#include "framework/CTGFileManager.h"
#include "ui/graphics/GuardedAlloc.h"

namespace {

bool IsConsoleName(const char* name) { return std::strncmp(name, "con:", 4) == 0; }

KoralStreamBlock* NewBlock(CTGFile* file, int32_t size, bool writable) {
    void* memory = galloc(static_cast<int32_t>(sizeof(KoralStreamBlock)));
    if (!memory) return nullptr;
    std::memset(memory, 0, sizeof(KoralStreamBlock));
    auto* block = new (memory) KoralStreamBlock;
    block->file = file;
    block->position = 0;
    block->size = size;
    block->readPointer = block->endPointer = block->buffer;
    block->writable = writable ? 1 : 0;
    return block;
}

void EmptyBuffer(KoralStreamBlock* block) { block->readPointer = block->endPointer = block->buffer; }

}  // namespace

void* KoralStreamOpen(const char* name) {
    if (!name || IsConsoleName(name)) return nullptr;
    CTGFileManager& files = CTGFileManager::Global();
    CTGFile* file = files.Open(name, false);
    if (!file) return nullptr;
    file->Seek(0);
    KoralStreamBlock* block = NewBlock(file, file->GetSize(), false);
    if (!block) files.Close(file);
    return block;
}

void* KoralStreamCreate(const char* name) {
    if (!name || IsConsoleName(name)) return nullptr;
    CTGFileManager& files = CTGFileManager::Global();
    // A file already known to the manager is emptied rather than created anew.
    CTGFile* file = nullptr;
    if (files.Create(name)) {
        file = files.Open(name, true);
    } else if ((file = files.Open(name, true)) && !file->SetLength(0)) {
        files.Close(file);
        file = nullptr;
    }
    if (!file) return nullptr;
    KoralStreamBlock* block = NewBlock(file, 0, true);
    if (!block) files.Close(file);
    return block;
}

int32_t KoralStreamClose(void* stream) {
    if (!stream) return 1;
    auto* block = static_cast<KoralStreamBlock*>(stream);
    CTGFileManager::Global().Close(block->file);
    block->file = nullptr;
    return gfree(block);
}

int32_t KoralStreamRead(void* stream, void* destination, int32_t count) {
    if (!stream || !destination || count <= 0) return 0;
    auto* block = static_cast<KoralStreamBlock*>(stream);
    if (block->writable) return 0;
    auto* out = static_cast<uint8_t*>(destination);
    int32_t delivered = 0;
    while (delivered < count) {
        if (block->readPointer == block->endPointer) {
            const int32_t want = std::min<int32_t>(block->size - (block->position + delivered), sizeof block->buffer);
            if (want <= 0) break;
            const int32_t got = block->file->Read(block->buffer, want);
            if (got <= 0) break;
            block->readPointer = block->buffer;
            block->endPointer = block->buffer + got;
        }
        const int32_t n = std::min<int32_t>(count - delivered, static_cast<int32_t>(block->endPointer - block->readPointer));
        std::memcpy(out + delivered, block->readPointer, static_cast<size_t>(n));
        block->readPointer += n;
        delivered += n;
    }
    block->position += delivered;
    return delivered;
}

int32_t KoralStreamWrite(void* stream, const void* source, int32_t count) {
    if (!stream || !source || count <= 0) return 0;
    auto* block = static_cast<KoralStreamBlock*>(stream);
    if (!block->writable) return 0;
    const int32_t written = block->file->Write(source, count);
    if (written <= 0) return 0;
    block->position += written;
    block->size = std::max(block->size, block->position);
    return written;
}

int32_t KoralStreamSeek(void* stream, int32_t position) {
    if (!stream) return 0;
    auto* block = static_cast<KoralStreamBlock*>(stream);
    // Out-of-range positions land on the nearest end; the file follows, so
    // the next read starts where the position says.
    if (position < 0 || (!block->writable && position > block->size)) {
        block->position = position < 0 ? 0 : block->size;
        EmptyBuffer(block);
        block->file->Seek(block->position);
        return 0;
    }
    if (block->writable) {
        const bool moved = block->file->Seek(position);
        if (moved) block->position = position;
        return moved ? 1 : 0;
    }
    // The buffered bytes cover [position - before, position + after).
    const int64_t before = block->readPointer - block->buffer;
    const int64_t after = block->endPointer - block->readPointer;
    const int64_t offset = before + (static_cast<int64_t>(position) - block->position);
    const int64_t left = (before + after) - offset;
    if (offset >= 0 && left >= 1 && left <= static_cast<int64_t>(sizeof block->buffer)) {
        block->readPointer = block->buffer + offset;
    } else {
        block->file->Seek(position);
        EmptyBuffer(block);
    }
    block->position = position;
    return 1;
}

int32_t KoralStreamSize(void* stream) { return stream ? static_cast<KoralStreamBlock*>(stream)->size : 0; }

int32_t KoralStreamTell(void* stream) { return stream ? static_cast<KoralStreamBlock*>(stream)->position : 0; }
