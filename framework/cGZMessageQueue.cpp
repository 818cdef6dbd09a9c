#include "framework/cGZMessageQueue.h"

#include <algorithm>
#include <atomic>

namespace {
std::atomic<int32_t> gLiveQueues{0};
}

cGZMessageQueue::cGZMessageQueue() { ++gLiveQueues; }

cGZMessageQueue::~cGZMessageQueue() { --gLiveQueues; }

int32_t cGZMessageQueue::GetLiveQueueCount() { return gLiveQueues.load(); }

bool cGZMessageQueue::Push(const cGZMessage& message, bool back) {
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (back)
            mMessages.push_back(message);
        else
            mMessages.push_front(message);
    }
    // Every push wakes a reader: a reader never sleeps while records wait.
    mNotEmpty.notify_one();
    return true;
}

bool cGZMessageQueue::PushBack(const cGZMessage& message) { return Push(message, true); }

bool cGZMessageQueue::PushFront(const cGZMessage& message) { return Push(message, false); }

template <typename Pred>
bool cGZMessageQueue::RemoveOneFromFront(Pred pred) {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = std::find_if(mMessages.begin(), mMessages.end(), pred);
    if (it == mMessages.end()) return false;
    mMessages.erase(it);
    return true;
}

template <typename Pred>
bool cGZMessageQueue::RemoveOneFromBack(Pred pred) {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = std::find_if(mMessages.rbegin(), mMessages.rend(), pred);
    if (it == mMessages.rend()) return false;
    mMessages.erase(std::next(it).base());
    return true;
}

template <typename Pred>
uint32_t cGZMessageQueue::RemoveEvery(Pred pred) {
    std::lock_guard<std::mutex> lock(mMutex);
    return static_cast<uint32_t>(std::erase_if(mMessages, pred));
}

bool cGZMessageQueue::RemoveFirstOfType(uint32_t type) {
    return RemoveOneFromFront([type](const cGZMessage& m) { return m.type == type; });
}

bool cGZMessageQueue::RemoveFirst(const cGZMessage& message) {
    return RemoveOneFromFront([&](const cGZMessage& m) { return m == message; });
}

bool cGZMessageQueue::RemoveLastOfType(uint32_t type) {
    return RemoveOneFromBack([type](const cGZMessage& m) { return m.type == type; });
}

bool cGZMessageQueue::RemoveLast(const cGZMessage& message) {
    return RemoveOneFromBack([&](const cGZMessage& m) { return m == message; });
}

uint32_t cGZMessageQueue::RemoveAllOfType(uint32_t type) {
    return RemoveEvery([type](const cGZMessage& m) { return m.type == type; });
}

uint32_t cGZMessageQueue::RemoveAll(const cGZMessage& message) {
    return RemoveEvery([&](const cGZMessage& m) { return m == message; });
}

uint32_t cGZMessageQueue::Clear() {
    std::lock_guard<std::mutex> lock(mMutex);
    auto n = static_cast<uint32_t>(mMessages.size());
    mMessages.clear();
    return n;
}

uint32_t cGZMessageQueue::FrontType() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mMessages.empty() ? 0 : mMessages.front().type;
}

uint32_t cGZMessageQueue::BackType() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mMessages.empty() ? 0 : mMessages.back().type;
}

bool cGZMessageQueue::ContainsType(uint32_t type) {
    std::lock_guard<std::mutex> lock(mMutex);
    return std::any_of(mMessages.begin(), mMessages.end(), [type](const cGZMessage& m) { return m.type == type; });
}

bool cGZMessageQueue::Contains(const cGZMessage& message) {
    std::lock_guard<std::mutex> lock(mMutex);
    return std::find(mMessages.begin(), mMessages.end(), message) != mMessages.end();
}

bool cGZMessageQueue::PeekFront(cGZMessage& out) {
    std::lock_guard<std::mutex> lock(mMutex);
    if (mMessages.empty()) return false;
    out = mMessages.front();
    return true;
}

bool cGZMessageQueue::PeekBack(cGZMessage& out) {
    std::lock_guard<std::mutex> lock(mMutex);
    if (mMessages.empty()) return false;
    out = mMessages.back();
    return true;
}

bool cGZMessageQueue::Pop(cGZMessage& out, bool front, bool wait) {
    std::unique_lock<std::mutex> lock(mMutex);
    if (wait) mNotEmpty.wait(lock, [this] { return !mMessages.empty(); });
    if (mMessages.empty()) return false;
    if (front) {
        out = mMessages.front();
        mMessages.pop_front();
    } else {
        out = mMessages.back();
        mMessages.pop_back();
    }
    return true;
}

uint32_t cGZMessageQueue::PopFrontType() {
    cGZMessage m;
    return Pop(m, true, false) ? m.type : 0;
}

uint32_t cGZMessageQueue::PopBackType() {
    cGZMessage m;
    return Pop(m, false, false) ? m.type : 0;
}

bool cGZMessageQueue::PopFront(cGZMessage& out) { return Pop(out, true, false); }

bool cGZMessageQueue::PopBack(cGZMessage& out) { return Pop(out, false, false); }

uint32_t cGZMessageQueue::WaitPopFrontType() {
    cGZMessage m;
    Pop(m, true, true);
    return m.type;
}

uint32_t cGZMessageQueue::WaitPopBackType() {
    cGZMessage m;
    Pop(m, false, true);
    return m.type;
}

bool cGZMessageQueue::WaitPopFront(cGZMessage& out) { return Pop(out, true, true); }

bool cGZMessageQueue::WaitPopBack(cGZMessage& out) { return Pop(out, false, true); }

uint32_t cGZMessageQueue::Count() {
    std::lock_guard<std::mutex> lock(mMutex);
    return static_cast<uint32_t>(mMessages.size());
}
