#include "framework/ExecuteBufferBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/cGZSndReverbProperties.h"

namespace {

// A device that records what the builder asks of it; each step can fail.
struct FakeBuffer : iExecuteBuffer {
    std::vector<uint8_t> memory;
    ExecuteData data;
    int32_t lockResult = 0;
    int32_t setResult = 0;
    int releases = 0;
    int32_t Lock(ExecuteBufferDesc& desc) override {
        if (lockResult) return lockResult;
        memory.assign(desc.bufferSize, 0xEE);
        desc.data = memory.data();
        return 0;
    }
    int32_t Unlock() override { return 0; }
    int32_t SetExecuteData(const ExecuteData& d) override {
        data = d;
        return setResult;
    }
    void Release() override { ++releases; }
};

struct FakeDevice : iExecuteDevice {
    FakeBuffer buffer;
    ExecuteBufferDesc desc;
    int32_t createResult = 0;
    int creates = 0;
    int32_t CreateExecuteBuffer(const ExecuteBufferDesc& d, iExecuteBuffer** out) override {
        ++creates;
        desc = d;
        if (createResult) return createResult;
        *out = &buffer;
        return 0;
    }
};

const uint8_t kExit[8] = {11, 8, 0, 0, 0, 0, 0, 0};

}  // namespace

TEST(ExecuteBufferBuilder, OnlyAnExitInstruction) {
    FakeDevice device;
    ExecuteBufferBuilder builder(&device);
    ASSERT_TRUE(builder.AppendInstruction(kExit, sizeof kExit));
    iExecuteBuffer* out = nullptr;
    ASSERT_EQ(builder.CreateExecuteBuffer(&out), 0);
    EXPECT_EQ(out, &device.buffer);
    EXPECT_EQ(device.desc.size, 20u);
    EXPECT_EQ(device.desc.flags, 1u);
    EXPECT_EQ(device.desc.capabilities, 0u);
    EXPECT_EQ(device.desc.bufferSize, 8u);
    const ExecuteData& d = device.buffer.data;
    EXPECT_EQ(d.size, 48u);
    EXPECT_EQ(d.vertexCount, 0u);
    EXPECT_EQ(d.vertexOffset, 0u);
    EXPECT_EQ(d.instructionOffset, 0u);
    EXPECT_EQ(d.instructionLength, 8u);
    EXPECT_EQ(d.statusFlags, 3u);
    EXPECT_EQ(d.status, 0x01FFF000u);
    EXPECT_EQ(device.buffer.memory, std::vector<uint8_t>(kExit, kExit + 8));
    EXPECT_EQ(device.buffer.releases, 0);
}

TEST(ExecuteBufferBuilder, VerticesComeBeforeTheInstructions) {
    FakeDevice device;
    ExecuteBufferBuilder builder(&device);
    std::vector<uint8_t> vertices(3 * 32, 0x5A);
    ASSERT_TRUE(builder.AppendVertices(vertices.data(), vertices.size(), 3));
    ASSERT_TRUE(builder.AppendInstruction(kExit, sizeof kExit));
    EXPECT_FALSE(builder.AppendVertices(vertices.data(), 32, 1));
    iExecuteBuffer* out = nullptr;
    ASSERT_EQ(builder.CreateExecuteBuffer(&out), 0);
    EXPECT_EQ(device.desc.bufferSize, 104u);
    EXPECT_EQ(device.buffer.data.vertexCount, 3u);
    EXPECT_EQ(device.buffer.data.instructionOffset, 96u);
    EXPECT_EQ(device.buffer.data.instructionLength, 8u);
    EXPECT_EQ(device.buffer.memory[95], 0x5A);
    EXPECT_EQ(device.buffer.memory[96], 11);
}

TEST(ExecuteBufferBuilder, FailuresLeaveNothingBehind) {
    {
        // The device refuses: nothing to release.
        FakeDevice device;
        device.createResult = -7;
        ExecuteBufferBuilder builder(&device);
        builder.AppendInstruction(kExit, sizeof kExit);
        iExecuteBuffer* out = &device.buffer;
        EXPECT_EQ(builder.CreateExecuteBuffer(&out), -7);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(device.buffer.releases, 0);
    }
    for (bool failLock : {true, false}) {
        // The lock or the execute data fails: the new buffer is released.
        FakeDevice device;
        (failLock ? device.buffer.lockResult : device.buffer.setResult) = -9;
        ExecuteBufferBuilder builder(&device);
        builder.AppendInstruction(kExit, sizeof kExit);
        iExecuteBuffer* out = nullptr;
        EXPECT_EQ(builder.CreateExecuteBuffer(&out), -9);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(device.buffer.releases, 1);
    }
    {
        // No instruction yet: an error, and the device is not asked.
        FakeDevice device;
        ExecuteBufferBuilder builder(&device);
        uint8_t vertex[16] = {};
        builder.AppendVertices(vertex, sizeof vertex, 1);
        iExecuteBuffer* out = &device.buffer;
        EXPECT_EQ(builder.CreateExecuteBuffer(&out), kExecuteNoInstructions);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(device.creates, 0);
    }
}

TEST(cGZSndReverbProperties, StartsEmptyAndReleasesOnce) {
    struct Interface : iSoundPropertySet {
        int* releases;
        explicit Interface(int* r) : releases(r) {}
        void Release() override { ++*releases; }
    };
    cGZSndReverbProperties record;
    EXPECT_EQ(record.mPropertySet, nullptr);
    EXPECT_FALSE(record.mListenerSettable || record.mBufferSettable || record.mThirdFlag);
    EXPECT_EQ(record.mValue, 1);
    EXPECT_TRUE(record.ReleaseInterface());
    int releases = 0;
    Interface set(&releases);
    record.mPropertySet = &set;
    EXPECT_TRUE(record.ReleaseInterface());
    EXPECT_TRUE(record.ReleaseInterface());
    EXPECT_EQ(releases, 1);
    EXPECT_EQ(record.mPropertySet, nullptr);
}
