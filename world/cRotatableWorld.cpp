#include "world/cRotatableWorld.h"

cRotatableWorld::cRotatableWorld(int32_t size, const WorldServices& services) : cFixedWorld(size, services) {
    mRotation = 0;
    ComputeViewBounds();
}

int16_t cRotatableWorld::DoCommand(int32_t command, intptr_t argument) {
    return cFixedWorld::DoCommand(command, argument);
}
