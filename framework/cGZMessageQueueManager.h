// The framework service that keeps message queues by numeric id. Every entry
// holds a queue; the manager releases what it still holds when it goes.
#pragma once

#include <cstdint>
#include <map>

#include "framework/cGZMessageQueue.h"
#include "framework/cGZSystemService.h"

class cIGZMessageQueueManager {
public:
    // Looks the id up: out receives the queue, or null when none has the id.
    virtual bool FindQueue(uint32_t id, cIGZMessageQueue*& out) = 0;
    // False when the id is taken.
    virtual bool AddQueue(uint32_t id, cIGZMessageQueue* queue) = 0;
    virtual bool CreateQueue(uint32_t id) = 0;
    // Remove the first entry holding the queue (or the id); with release,
    // the queue is released too.
    virtual bool RemoveQueue(cIGZMessageQueue* queue, bool release) = 0;
    virtual bool RemoveQueueById(uint32_t id, bool release) = 0;
    virtual bool RemoveAllQueues(bool release) = 0;
    virtual uint32_t GetQueueCount() = 0;

protected:
    virtual ~cIGZMessageQueueManager() = default;
};

class cGZMessageQueueManager : public cGZSystemService, public cIGZMessageQueueManager {
public:
    cGZMessageQueueManager() : cGZSystemService(kGZMessageQueueManagerServiceID) {}
    ~cGZMessageQueueManager() override;

    bool Init() override { return true; }
    bool Shutdown() override;

    bool FindQueue(uint32_t id, cIGZMessageQueue*& out) override;
    bool AddQueue(uint32_t id, cIGZMessageQueue* queue) override;
    bool CreateQueue(uint32_t id) override;
    bool RemoveQueue(cIGZMessageQueue* queue, bool release) override;
    bool RemoveQueueById(uint32_t id, bool release) override;
    bool RemoveAllQueues(bool release) override;
    uint32_t GetQueueCount() override;

private:
    std::map<uint32_t, cIGZMessageQueue*> mQueues;
};
