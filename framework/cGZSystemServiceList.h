// The services of the framework ordered by id. Several services may share an
// id; a later one sorts after an earlier one. Start-up and ticks go from the
// highest id down, shutdown from the lowest up. The list only points at its
// services; their holders own them.
#pragma once

#include <cstdint>
#include <map>

#include "framework/cGZSystemService.h"

class cGZSystemServiceList {
public:
    virtual ~cGZSystemServiceList() = default;

    virtual bool Add(cIGZSystemService* service);
    // Adds every entry of another list in that list's order.
    virtual bool AddAll(const cGZSystemServiceList& list);
    // Init on each, highest id first; a service whose Init succeeds is marked
    // running, one that fails stays not running and start-up goes on.
    virtual bool InitAll();
    virtual bool TickAll(uint32_t tickCount);
    // Shutdown on each, lowest id first; true when every one succeeded.
    virtual bool ShutdownAll();

    void Clear() { mServices.clear(); }
    size_t Count() const { return mServices.size(); }
    bool Contains(const cIGZSystemService* service) const;

private:
    std::multimap<int32_t, cIGZSystemService*> mServices;
};
