#include "houseview/LightingSettings.h"

#include "houseview/PixelPipeline.h"

namespace tova {

LightingSettings gLightingSettings;

void SetSpriteAntialias(bool on) {
  const uint8_t value = on ? 1 : 0;
  if (gLightingSettings.spriteAntialias == value) return;
  gLightingSettings.spriteAntialias = value;
  SelectSpanRoutines();
}

}  // namespace tova
