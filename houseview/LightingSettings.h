// The house view's lighting parameters and switches: one record for the
// whole run, filled before any view exists. The light map and the tile
// lights read the lamp range and the falloff distances; the console's
// switches turn shadows, antialiasing and lamp effects on and off.
#pragma once

#include <cstdint>

namespace tova {

struct LightingSettings {
  float nightAmbient = 0.0f;  // ambient level at daylight factor 0
  float dayAmbient = 1.0f;    // ambient level at daylight factor 1
  float tuning1 = 1.0f;
  float tuning2 = 1.0f;  // room lighting's outdoor brightness
  float tuning3 = 0.494f;
  float tuning4 = 0.065f;
  float tuning5 = 0.09f;  // read when the palette colour tables are built
  float lightRange = 12.0f;    // R: how far a lamp reaches, in world units (a tile is 3)
  float falloffNear = 3.2f;    // N: a wall falloff is 255 at this distance
  float falloffFar = 12.0f;    // F: and 0 at this one
  float tuning6 = 0.5f;
  float tuning7 = 1.0f;
  float shadeFloor = 0.8f;  // read by the sprite drawers
  int32_t tuning8 = 0;      // compared when a shaded palette table is fetched
  uint8_t objectShadows = 1;
  uint8_t spriteAntialias = 1;
  uint8_t lampEffects = 1;
};

extern LightingSettings gLightingSettings;

// The three switches by the names the console and the drawers use.
inline uint8_t& gObjectShadows = gLightingSettings.objectShadows;
inline uint8_t& gLampEffects = gLightingSettings.lampEffects;
// Read-only here: the span routines depend on it, so a change goes through
// SetSpriteAntialias, which has them chosen again.
inline const uint8_t& gSpriteAntialias = gLightingSettings.spriteAntialias;
void SetSpriteAntialias(bool on);

}  // namespace tova
