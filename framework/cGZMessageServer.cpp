#include "framework/cGZMessageServer.h"

#include <algorithm>

#include "framework/cRZLock.h"

bool cGZMessageServer::Send(const cGZMessage& message) {
    cRZLock lock(mLock);
    if (message.type == 0) return true;
    auto it = mTargets.find(message.type);
    if (it == mTargets.end()) return true;
    // Deliver over a copy of the list, so that targets may change the list
    // while they run; a target that was unregistered meanwhile is skipped.
    const std::vector<cIGZMessageTarget*> targets = it->second;
    for (cIGZMessageTarget* target : targets)
        if (IsRegistered(target, message.type)) target->DoMessage(message);
    return true;
}

bool cGZMessageServer::Post(const cGZMessage& message, bool back) {
    cRZLock lock(mLock);
    if (back)
        mQueue.PushBack(message);
    else
        mQueue.PushFront(message);
    return true;
}

bool cGZMessageServer::Register(cIGZMessageTarget* target, uint32_t type) {
    cRZLock lock(mLock);
    auto& list = mTargets[type];
    if (std::find(list.begin(), list.end(), target) == list.end()) list.push_back(target);
    return true;
}

bool cGZMessageServer::Unregister(cIGZMessageTarget* target, uint32_t type) {
    cRZLock lock(mLock);
    auto it = mTargets.find(type);
    if (it == mTargets.end()) return true;
    std::erase(it->second, target);
    if (it->second.empty()) mTargets.erase(it);
    return true;
}

bool cGZMessageServer::PumpQueued() {
    cRZLock lock(mLock);
    cGZMessage message;
    while (mQueue.PopFront(message)) Send(message);
    return true;
}

uint32_t cGZMessageServer::GetTargetCount(uint32_t type) {
    cRZLock lock(mLock);
    auto it = mTargets.find(type);
    return it == mTargets.end() ? 0 : static_cast<uint32_t>(it->second.size());
}

bool cGZMessageServer::IsRegistered(cIGZMessageTarget* target, uint32_t type) const {
    auto it = mTargets.find(type);
    return it != mTargets.end() && std::find(it->second.begin(), it->second.end(), target) != it->second.end();
}
