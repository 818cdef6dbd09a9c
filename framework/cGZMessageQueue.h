// A thread-safe double-ended queue of message records. The front is the
// oldest end. Blocking reads sleep until a record arrives. Peeks copy the
// record out, since another thread may remove it at any time.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <list>
#include <mutex>

#include "framework/cGZMessage.h"

class cIGZMessageQueue {
public:
    virtual void Release() = 0;  // deletes the queue
    virtual bool PushBack(const cGZMessage& message) = 0;
    virtual bool PushFront(const cGZMessage& message) = 0;
    virtual bool RemoveFirstOfType(uint32_t type) = 0;
    virtual bool RemoveFirst(const cGZMessage& message) = 0;
    virtual bool RemoveLastOfType(uint32_t type) = 0;
    virtual bool RemoveLast(const cGZMessage& message) = 0;
    virtual uint32_t RemoveAllOfType(uint32_t type) = 0;
    virtual uint32_t RemoveAll(const cGZMessage& message) = 0;
    virtual uint32_t Clear() = 0;
    virtual uint32_t FrontType() = 0;
    virtual uint32_t BackType() = 0;
    virtual bool ContainsType(uint32_t type) = 0;
    virtual bool PeekFront(cGZMessage& out) = 0;
    virtual bool PeekBack(cGZMessage& out) = 0;
    virtual bool Contains(const cGZMessage& message) = 0;
    virtual uint32_t PopFrontType() = 0;
    virtual uint32_t PopBackType() = 0;
    virtual bool RemoveOfType(uint32_t type) = 0;
    virtual bool PopFront(cGZMessage& out) = 0;
    virtual bool PopBack(cGZMessage& out) = 0;
    virtual bool Remove(const cGZMessage& message) = 0;
    virtual uint32_t WaitPopFrontType() = 0;
    virtual uint32_t WaitPopBackType() = 0;
    virtual bool WaitPopFront(cGZMessage& out) = 0;
    virtual bool WaitPopBack(cGZMessage& out) = 0;
    virtual ~cIGZMessageQueue() = default;
};

class cGZMessageQueue : public cIGZMessageQueue {
public:
    cGZMessageQueue();
    ~cGZMessageQueue() override;
    cGZMessageQueue(const cGZMessageQueue&) = delete;
    cGZMessageQueue& operator=(const cGZMessageQueue&) = delete;

    void Release() override { delete this; }
    bool PushBack(const cGZMessage& message) override;
    bool PushFront(const cGZMessage& message) override;
    bool RemoveFirstOfType(uint32_t type) override;
    bool RemoveFirst(const cGZMessage& message) override;
    bool RemoveLastOfType(uint32_t type) override;
    bool RemoveLast(const cGZMessage& message) override;
    uint32_t RemoveAllOfType(uint32_t type) override;
    uint32_t RemoveAll(const cGZMessage& message) override;
    uint32_t Clear() override;
    uint32_t FrontType() override;
    uint32_t BackType() override;
    bool ContainsType(uint32_t type) override;
    bool PeekFront(cGZMessage& out) override;
    bool PeekBack(cGZMessage& out) override;
    bool Contains(const cGZMessage& message) override;
    uint32_t PopFrontType() override;
    uint32_t PopBackType() override;
    bool RemoveOfType(uint32_t type) override { return RemoveFirstOfType(type); }
    bool PopFront(cGZMessage& out) override;
    bool PopBack(cGZMessage& out) override;
    bool Remove(const cGZMessage& message) override { return RemoveFirst(message); }
    uint32_t WaitPopFrontType() override;
    uint32_t WaitPopBackType() override;
    bool WaitPopFront(cGZMessage& out) override;
    bool WaitPopBack(cGZMessage& out) override;

    uint32_t Count();
    // Queues alive in the process.
    static int32_t GetLiveQueueCount();

private:
    template <typename Pred>
    bool RemoveOneFromFront(Pred pred);
    template <typename Pred>
    bool RemoveOneFromBack(Pred pred);
    template <typename Pred>
    uint32_t RemoveEvery(Pred pred);
    bool Pop(cGZMessage& out, bool front, bool wait);
    bool Push(const cGZMessage& message, bool back);

    std::mutex mMutex;
    std::condition_variable mNotEmpty;
    std::list<cGZMessage> mMessages;
};
