#pragma once
// Batches of 3D drawing work are assembled, vertices first and then
// instructions, in one shared staging area; CreateExecuteBuffer turns what
// was assembled into an execute buffer on a device and tells the device
// where the vertices and the instructions lie in it. The device is an
// interface of ours: the software 3D device draws without execute buffers,
// so only devices that keep them (and tests) implement it.

#include <cstddef>
#include <cstdint>

// Result codes: 0 success; devices return their own negative codes, which
// pass through unchanged.
enum ExecuteResult : int32_t {
    kExecuteOk = 0,
    kExecuteNoInstructions = -1,  // nothing was appended as an instruction
};

struct ExecuteBufferDesc {
    uint32_t size = 20;
    uint32_t flags = 0;         // kExecuteBufferSize: bufferSize is given
    uint32_t capabilities = 0;  // 0: the device chooses where it lives
    uint32_t bufferSize = 0;
    void* data = nullptr;       // filled by Lock
};
constexpr uint32_t kExecuteBufferSize = 1;

struct ExecuteData {
    uint32_t size = 48;
    uint32_t vertexOffset = 0;
    uint32_t vertexCount = 0;
    uint32_t instructionOffset = 0;
    uint32_t instructionLength = 0;
    uint32_t homogeneousOffset = 0;
    uint32_t statusFlags = 0;
    uint32_t status = 0;
    int32_t extent[4] = {0, 0, 0, 0};
};
constexpr uint32_t kExecuteSetStatus = 1;
constexpr uint32_t kExecuteSetExtents = 2;
constexpr uint32_t kExecuteStatusDefault = 0x01FFF000;

class iExecuteBuffer {
public:
    virtual int32_t Lock(ExecuteBufferDesc& desc) = 0;
    virtual int32_t Unlock() = 0;
    virtual int32_t SetExecuteData(const ExecuteData& data) = 0;
    virtual void Release() = 0;

protected:
    virtual ~iExecuteBuffer() = default;
};

class iExecuteDevice {
public:
    virtual ~iExecuteDevice() = default;
    // One reference to a new buffer in *out, or an error code.
    virtual int32_t CreateExecuteBuffer(const ExecuteBufferDesc& desc, iExecuteBuffer** out) = 0;
};

class ExecuteBufferBuilder {
public:
    static constexpr size_t kStagingSize = 64 * 1024;

    // Every builder starts at the beginning of the one staging area.
    explicit ExecuteBufferBuilder(iExecuteDevice* device);

    // False when the staging area cannot hold the bytes.
    bool AppendVertices(const void* vertices, size_t bytes, uint32_t count);
    bool AppendInstruction(const void* instruction, size_t bytes);

    // On success one reference to a new, filled buffer in *out and 0;
    // otherwise *out null, the error, and nothing left allocated.
    int32_t CreateExecuteBuffer(iExecuteBuffer** out);

    uint32_t GetVertexCount() const { return mVertexCount; }
    size_t GetSize() const { return static_cast<size_t>(mWrite - StagingArea()); }

private:
    static uint8_t* StagingArea();

    iExecuteDevice* mDevice;
    uint8_t* mWrite;
    uint8_t* mInstructionStart = nullptr;
    uint32_t mVertexCount = 0;
};
