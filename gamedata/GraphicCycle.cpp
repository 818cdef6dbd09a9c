#include "gamedata/GraphicCycle.h"

#include <algorithm>

namespace tova {

void GraphicCycle::Start(const ObjectDefinition* definition, int32_t graphic, int32_t n, bool backward) {
  definition_ = definition;
  graphic_ = graphic;
  frameCount_ = n;
  frame_ = backward ? n - 1 : 0;
  step_ = backward ? -1 : 1;
  calls_ = 0;
}

void GraphicCycle::SetLoops(int32_t k) {
  const int64_t ticks = int64_t{k} * frameCount_ * kStepsPerFrame;
  remaining_ = static_cast<int32_t>(std::clamp<int64_t>(ticks, INT32_MIN, INT32_MAX));
}

void GraphicCycle::StartSingle(const ObjectDefinition* definition) { Start(definition, -1, 1, false); }

int GraphicCycle::Step() {
  if (remaining_ > 0) --remaining_;
  if (remaining_ == 0) return 0;
  if (++calls_ < kStepsPerFrame) return 0;
  calls_ = 0;
  if (frameCount_ <= 0) return 0;  // nothing to cycle through
  int32_t f = frame_ + step_;
  while (f < 0) f += frameCount_;
  frame_ = f % frameCount_;
  return 1;
}

}  // namespace tova
