// File streams the image codec reads and writes through: data files of the
// global CTGFileManager behind a 9252-byte control block (allocated with
// galloc) whose 8192-byte buffer serves reads.
#pragma once

#include <cstddef>
#include <cstdint>

class CTGFile;

#pragma pack(push, 4)
struct KoralStreamBlock {
    CTGFile* file;
    int32_t position;
    int32_t size;  // a read stream: the file's size; a written one: its largest position
    int32_t reserved1;
    uint8_t* readPointer;  // the next buffered byte
    uint8_t* endPointer;   // the end of the buffered bytes
    int32_t writable;
    int32_t reserved2;
    uint8_t reserved3[1060 - 44];
    uint8_t buffer[8192];
};
#pragma pack(pop)
static_assert(offsetof(KoralStreamBlock, buffer) == 1060);
static_assert(sizeof(KoralStreamBlock) == 9252);

// Names beginning with "con:" are never opened. Null when the file cannot be
// opened (or created) or the block cannot be allocated.
void* KoralStreamOpen(const char* name);
void* KoralStreamCreate(const char* name);
// 1 for a null stream; else the result of releasing the block.
int32_t KoralStreamClose(void* stream);
// Bytes delivered (fewer at the end of the file).
int32_t KoralStreamRead(void* stream, void* destination, int32_t count);
// Bytes the file took; position and size advance by those.
int32_t KoralStreamWrite(void* stream, const void* source, int32_t count);
// Nonzero when the position was taken as asked; a negative one goes to 0 and a
// read stream's position past its size to the size, both answering 0.
int32_t KoralStreamSeek(void* stream, int32_t position);
int32_t KoralStreamSize(void* stream);
int32_t KoralStreamTell(void* stream);
