// The small fixed record in which the framework passes events between its
// parts, and the interface of whoever receives them. The three words after
// the type are pointer-sized because some types carry a pointer in them.
#pragma once

#include <cstdint>

struct cGZMessage {
    uint32_t type = 0;  // type 0 is never delivered
    intptr_t a = 0;
    intptr_t b = 0;
    intptr_t c = 0;

    bool operator==(const cGZMessage&) const = default;
};

class cIGZMessageTarget {
public:
    virtual bool DoMessage(const cGZMessage& message) = 0;

protected:
    virtual ~cIGZMessageTarget() = default;
};
