#include "houseview/SpriteTarget.h"

#include "houseview/BufferOps16.h"
#include "houseview/PixelPipeline.h"
#include "houseview/SpriteSpans.h"

namespace tova {

namespace {

SpriteTarget gSpriteTarget;

// The sprite draws' routines join the pixel pipeline's set-up.
[[maybe_unused]] const bool gSpriteHooksInstalled = [] {
  SetPixelPipelineHooks(PixelPipelineHooks{SelectSprite2Spans, SelectCrossFade});
  return true;
}();

}  // namespace

void SetSpriteTarget(const SpriteTarget& target) { gSpriteTarget = target; }
const SpriteTarget& GetSpriteTarget() { return gSpriteTarget; }

}  // namespace tova
