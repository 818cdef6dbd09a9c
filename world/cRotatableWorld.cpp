#include "world/cRotatableWorld.h"

// The base computed the view bounds at rotation 0, where every world starts.
cRotatableWorld::cRotatableWorld(int32_t size, const WorldServices& services) : cFixedWorld(size, services) {}
