// Delivers message records to the targets registered for their type: at once
// (Send, on the calling thread, in registration order) or later (Post into the
// server's own queue, delivered by PumpQueued). The server holds no reference
// on its targets. A target may register, unregister (itself or others), send
// or post from inside its own delivery.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "framework/cGZMessageQueue.h"
#include "framework/cRZCriticalSection.h"

class cIGZMessageServer {
public:
    virtual bool Send(const cGZMessage& message) = 0;
    virtual bool Post(const cGZMessage& message, bool back) = 0;
    virtual bool Register(cIGZMessageTarget* target, uint32_t type) = 0;
    virtual bool Unregister(cIGZMessageTarget* target, uint32_t type) = 0;

protected:
    virtual ~cIGZMessageServer() = default;
};

class cGZMessageServer : public cIGZMessageServer {
public:
    cGZMessageServer() = default;
    ~cGZMessageServer() override = default;

    bool Send(const cGZMessage& message) override;
    bool Post(const cGZMessage& message, bool back) override;
    bool Register(cIGZMessageTarget* target, uint32_t type) override;
    bool Unregister(cIGZMessageTarget* target, uint32_t type) override;
    // Sends every posted record, oldest first.
    bool PumpQueued();

    uint32_t GetTargetCount(uint32_t type);

private:
    bool IsRegistered(cIGZMessageTarget* target, uint32_t type) const;

    cRZCriticalSection mLock;
    cGZMessageQueue mQueue;
    std::map<uint32_t, std::vector<cIGZMessageTarget*>> mTargets;
};
