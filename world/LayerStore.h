// What the world needs of a resource file to keep its layers: read a
// resource's bytes by type and id, and add one under a type, id and label.
// The house hands the world its open resource file through an adapter of
// this interface; tests and the lot tool use the in-memory store below.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Status codes of the resource layer that the world passes on.
enum : int32_t {
    kLayerOk = 0,
    kLayerBadData = -1,        // dimensions, cell size or packets do not fit
    kLayerNotFound = -98,      // no resource of this type and id
    kLayerOutOfMemory = -200,
};

constexpr uint32_t MakeTypeCode(char a, char b, char c, char d) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8) | static_cast<uint32_t>(static_cast<uint8_t>(d));
}
constexpr uint32_t kArryType = MakeTypeCode('A', 'r', 'r', 'y');

class iLayerStore {
public:
    virtual ~iLayerStore() = default;
    // Copies the resource's bytes into out; a negative status when it cannot.
    virtual int32_t ReadResource(uint32_t type, int16_t id, std::vector<uint8_t>& out) = 0;
    // Adds (or replaces) the resource and writes it; the status of the write.
    virtual int32_t WriteResource(uint32_t type, int16_t id, const std::string& label,
                                  const std::vector<uint8_t>& bytes) = 0;
};

class MemoryLayerStore : public iLayerStore {
public:
    struct Entry {
        std::string label;
        std::vector<uint8_t> bytes;
    };

    int32_t ReadResource(uint32_t type, int16_t id, std::vector<uint8_t>& out) override {
        auto it = mEntries.find({type, id});
        if (it == mEntries.end()) return kLayerNotFound;
        out = it->second.bytes;
        return kLayerOk;
    }
    int32_t WriteResource(uint32_t type, int16_t id, const std::string& label,
                          const std::vector<uint8_t>& bytes) override {
        auto failure = mFailures.find({type, id});
        if (failure != mFailures.end()) return failure->second;
        mEntries[{type, id}] = Entry{label, bytes};
        return kLayerOk;
    }

    const Entry* Find(uint32_t type, int16_t id) const {
        auto it = mEntries.find({type, id});
        return it == mEntries.end() ? nullptr : &it->second;
    }
    void Put(uint32_t type, int16_t id, std::vector<uint8_t> bytes) { mEntries[{type, id}] = Entry{"", std::move(bytes)}; }
    void Remove(uint32_t type, int16_t id) { mEntries.erase({type, id}); }
    size_t Count() const { return mEntries.size(); }
    // Writes of this resource fail with the status from now on.
    void FailWriteOf(uint32_t type, int16_t id, int32_t status) { mFailures[{type, id}] = status; }
    const std::map<std::pair<uint32_t, int16_t>, Entry>& Entries() const { return mEntries; }

private:
    std::map<std::pair<uint32_t, int16_t>, Entry> mEntries;
    std::map<std::pair<uint32_t, int16_t>, int32_t> mFailures;
};
