#include "ui/graphics/cGZGraphicSystem.h"

#include <algorithm>

cGZGraphicSystem::Settings& cGZGraphicSystem::GetSettings() {
    static Settings settings;
    return settings;
}

void cGZGraphicSystem::SetRequestedMode(int32_t width, int32_t height, int32_t bits) {
    GetSettings().width = width;
    GetSettings().height = height;
    GetSettings().bits = bits;
}
void cGZGraphicSystem::SetKeepSystemCopy(bool on) { GetSettings().keepSystemCopy = on; }
void cGZGraphicSystem::SetWindowed(bool on) { GetSettings().windowed = on; }
void cGZGraphicSystem::SetTextureReserve(uint32_t bytes) { GetSettings().textureReserve = bytes; }
void cGZGraphicSystem::SetDriverIdentity(const uint8_t identity[32]) {
    std::copy(identity, identity + 32, GetSettings().driverIdentity.begin());
}
void cGZGraphicSystem::SetSystemMemoryOnly(bool on) { GetSettings().systemMemoryOnly = on; }

cGZGraphicSystem::cGZGraphicSystem()
    : mScreenRect{0, 0, GetSettings().width, GetSettings().height} {}
