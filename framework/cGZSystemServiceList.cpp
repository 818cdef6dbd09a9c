#include "framework/cGZSystemServiceList.h"

bool cGZSystemServiceList::Add(cIGZSystemService* service) {
    if (service) mServices.emplace(service->GetServiceID(), service);
    return true;
}

bool cGZSystemServiceList::AddAll(const cGZSystemServiceList& list) {
    for (const auto& entry : list.mServices) mServices.insert(mServices.end(), entry);
    return true;
}

bool cGZSystemServiceList::InitAll() {
    for (auto it = mServices.rbegin(); it != mServices.rend(); ++it)
        if (it->second->Init()) it->second->SetRunning(true);
    return true;
}

bool cGZSystemServiceList::TickAll(uint32_t tickCount) {
    for (auto it = mServices.rbegin(); it != mServices.rend(); ++it) it->second->OnTick(tickCount);
    return true;
}

bool cGZSystemServiceList::ShutdownAll() {
    bool allDone = true;
    for (auto& entry : mServices) {
        if (entry.second->Shutdown())
            entry.second->SetRunning(false);
        else
            allDone = false;
    }
    return allDone;
}

bool cGZSystemServiceList::Contains(const cIGZSystemService* service) const {
    for (const auto& entry : mServices)
        if (entry.second == service) return true;
    return false;
}
