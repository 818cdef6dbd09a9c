// The one world of the program: a fixed world that also keeps the view
// rotation, through which view tiles and world tiles are converted.
#pragma once

#include "world/cFixedWorld.h"

class cRotatableWorld : public cFixedWorld {
public:
    explicit cRotatableWorld(int32_t size, const WorldServices& services = {});

    int32_t GetRotation() const override { return mRotation; }

protected:
    void StoreRotation(int32_t rotation) override { mRotation = rotation & 3; }

private:
    int32_t mRotation = 0;
};
