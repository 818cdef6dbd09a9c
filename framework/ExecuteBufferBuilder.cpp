#include "framework/ExecuteBufferBuilder.h"

#include <cstring>

uint8_t* ExecuteBufferBuilder::StagingArea() {
    // One area for all builders: assembling allocates nothing.
    alignas(16) static uint8_t area[kStagingSize];
    return area;
}

ExecuteBufferBuilder::ExecuteBufferBuilder(iExecuteDevice* device) : mDevice(device), mWrite(StagingArea()) {}

bool ExecuteBufferBuilder::AppendVertices(const void* vertices, size_t bytes, uint32_t count) {
    // Vertices lie before the first instruction.
    if (mInstructionStart || bytes > kStagingSize - GetSize()) return false;
    if (bytes) std::memcpy(mWrite, vertices, bytes);
    mWrite += bytes;
    mVertexCount += count;
    return true;
}

bool ExecuteBufferBuilder::AppendInstruction(const void* instruction, size_t bytes) {
    if (bytes > kStagingSize - GetSize()) return false;
    if (!mInstructionStart) mInstructionStart = mWrite;
    if (bytes) std::memcpy(mWrite, instruction, bytes);
    mWrite += bytes;
    return true;
}

int32_t ExecuteBufferBuilder::CreateExecuteBuffer(iExecuteBuffer** out) {
    *out = nullptr;
    // Without an instruction there is nothing to execute and no offsets to
    // give.
    if (!mInstructionStart || !mDevice) return kExecuteNoInstructions;
    uint8_t* start = StagingArea();
    ExecuteBufferDesc desc;
    desc.flags = kExecuteBufferSize;
    desc.bufferSize = static_cast<uint32_t>(mWrite - start);
    iExecuteBuffer* buffer = nullptr;
    int32_t result = mDevice->CreateExecuteBuffer(desc, &buffer);
    if (result != kExecuteOk) return result;
    result = buffer->Lock(desc);
    if (result == kExecuteOk) {
        if (desc.data) std::memcpy(desc.data, start, desc.bufferSize);
        result = buffer->Unlock();
    }
    if (result != kExecuteOk) {
        buffer->Release();
        return result;
    }
    ExecuteData data;
    data.vertexCount = mVertexCount;
    data.instructionOffset = static_cast<uint32_t>(mInstructionStart - start);
    data.instructionLength = static_cast<uint32_t>(mWrite - mInstructionStart);
    data.statusFlags = kExecuteSetStatus | kExecuteSetExtents;
    data.status = kExecuteStatusDefault;
    result = buffer->SetExecuteData(data);
    if (result != kExecuteOk) {
        buffer->Release();
        return result;
    }
    *out = buffer;
    return kExecuteOk;
}
