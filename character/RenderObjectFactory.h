// Shared render objects by key: the first request for a key makes the
// object (through Create, which a derived factory supplies) and registers
// it; later requests get the same object with one more reference. The
// factory holds one reference to each object until it is destroyed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Device3D;
class RenderObject;

class RenderObjectFactory {
public:
    static constexpr size_t kMaxEntries = 512;
    static constexpr uint32_t kNotImplemented = 0x9B0B0004;

    explicit RenderObjectFactory(Device3D& device) : device_(device) {}
    virtual ~RenderObjectFactory();
    RenderObjectFactory(const RenderObjectFactory&) = delete;
    RenderObjectFactory& operator=(const RenderObjectFactory&) = delete;

    // The creation hooks; both answer 0x9B0B0004 here.
    virtual uint32_t Create(int32_t key, RenderObject** out);
    virtual uint32_t CreateNamed(const char* name, RenderObject** out);

    // The registered object (no reference added), or null.
    RenderObject* Find(int32_t key) const;
    uint32_t GetOrCreate(int32_t key, RenderObject** out);
    // Retains the object; a full table gives 0x9B0B0001.
    uint32_t Register(RenderObject* object, const char* name, int32_t key);
    size_t Count() const { return entries_.size(); }
    Device3D& GetDevice() const { return device_; }

private:
    struct Entry {
        int32_t key = -1;
        std::string name;
        RenderObject* object = nullptr;
    };

    Device3D& device_;
    std::vector<Entry> entries_;
};
