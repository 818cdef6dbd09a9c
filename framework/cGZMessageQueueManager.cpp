#include "framework/cGZMessageQueueManager.h"

#include <new>

#include "framework/cRZLock.h"

cGZMessageQueueManager::~cGZMessageQueueManager() { RemoveAllQueues(true); }

bool cGZMessageQueueManager::Shutdown() {
    cRZLock lock(mCriticalSection);
    return true;
}

bool cGZMessageQueueManager::FindQueue(uint32_t id, cIGZMessageQueue*& out) {
    cRZLock lock(mCriticalSection);
    auto it = mQueues.find(id);
    out = it == mQueues.end() ? nullptr : it->second;
    return out != nullptr;
}

bool cGZMessageQueueManager::AddQueue(uint32_t id, cIGZMessageQueue* queue) {
    cRZLock lock(mCriticalSection);
    if (!queue) return false;
    return mQueues.emplace(id, queue).second;
}

bool cGZMessageQueueManager::CreateQueue(uint32_t id) {
    cRZLock lock(mCriticalSection);
    if (mQueues.count(id)) return false;
    auto* queue = new (std::nothrow) cGZMessageQueue;
    if (!queue) return false;
    mQueues.emplace(id, queue);
    return true;
}

bool cGZMessageQueueManager::RemoveQueue(cIGZMessageQueue* queue, bool release) {
    cRZLock lock(mCriticalSection);
    for (auto it = mQueues.begin(); it != mQueues.end(); ++it) {
        if (it->second != queue) continue;
        mQueues.erase(it);
        if (release) queue->Release();
        return true;
    }
    return false;
}

bool cGZMessageQueueManager::RemoveQueueById(uint32_t id, bool release) {
    cRZLock lock(mCriticalSection);
    auto it = mQueues.find(id);
    if (it == mQueues.end()) return false;
    cIGZMessageQueue* queue = it->second;
    mQueues.erase(it);
    if (release) queue->Release();
    return true;
}

bool cGZMessageQueueManager::RemoveAllQueues(bool release) {
    cRZLock lock(mCriticalSection);
    if (release)
        for (auto& entry : mQueues) entry.second->Release();
    mQueues.clear();
    return true;
}

uint32_t cGZMessageQueueManager::GetQueueCount() {
    cRZLock lock(mCriticalSection);
    return static_cast<uint32_t>(mQueues.size());
}
