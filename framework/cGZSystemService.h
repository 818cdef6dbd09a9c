// Framework services: objects with an id that the framework initialises,
// ticks and shuts down in the order of their ids. Each carries its own lock
// for its own data.
#pragma once

#include <cstdint>

#include "framework/cRZRefCount.h"
#include "framework/cRZThreadSafeObject.h"

class cIGZSystemService {
public:
    virtual int32_t GetServiceID() const = 0;
    virtual void SetRunning(bool running) = 0;
    virtual bool Init() = 0;
    virtual bool OnTick(uint32_t tickCount) = 0;
    virtual bool Shutdown() = 0;
    virtual ~cIGZSystemService() = default;
};

// The ids in use; they decide the order of start-up and shutdown.
enum : int32_t {
    kGZLanguageManagerServiceID = -3000000,
    kGZAppServiceID = -2000000,
    kGZMessageQueueManagerServiceID = 0,
    kGZSoundSystemServiceID = 500000,
    kGZGraphicSystemServiceID = 1000000,
    kGZFontSystemServiceID = 1100000,
};

class cGZSystemService : public cIGZSystemService, public cRZUnknown, public cRZThreadSafeObject {
public:
    explicit cGZSystemService(int32_t serviceID) : mnServiceID(serviceID) {}

    int32_t GetServiceID() const override { return mnServiceID; }
    void SetRunning(bool running) override { mbRunning = running; }
    bool OnTick(uint32_t) override { return true; }
    bool IsRunning() const { return mbRunning; }

private:
    int32_t mnServiceID;
    bool mbRunning = false;
};
