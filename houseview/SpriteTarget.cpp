#include "houseview/SpriteTarget.h"

#include "houseview/PixelPipeline.h"
#include "houseview/SpriteSpans.h"

namespace tova {

namespace {

SpriteTarget gSpriteTarget;

bool SpriteTargetCrossFadeHook(int32_t kind);

// The sprite draws' routines join the pixel pipeline's set-up.
[[maybe_unused]] const bool gSpriteHooksInstalled = [] {
  SetPixelPipelineHooks(PixelPipelineHooks{SelectSprite2Spans, SpriteTargetCrossFadeHook});
  return true;
}();

bool SpriteTargetCrossFadeHook(int32_t) { return true; }

}  // namespace

void SetSpriteTarget(const SpriteTarget& target) { gSpriteTarget = target; }
const SpriteTarget& GetSpriteTarget() { return gSpriteTarget; }

}  // namespace tova
