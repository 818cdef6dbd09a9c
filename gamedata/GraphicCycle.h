#pragma once
// A small frame cycle of an object's graphic, stepped once per tick: the
// frame moves every 12th step while ticks remain.

#include <cstdint>

namespace tova {

class ObjectDefinition;

class GraphicCycle {
 public:
  static constexpr int kStepsPerFrame = 12;

  // n frames, forward from 0 or backward from n-1.
  void Start(const ObjectDefinition* definition, int32_t graphic, int32_t n, bool backward);
  void StartSingle(const ObjectDefinition* definition);
  // 1 when the frame changed.
  int Step();
  void SetTicks(int32_t t) { remaining_ = t; }
  void SetLoops(int32_t k);

  int32_t Remaining() const { return remaining_; }  // negative: endless
  int32_t Frame() const { return frame_; }
  int32_t FrameCount() const { return frameCount_; }
  int32_t Graphic() const { return graphic_; }
  const ObjectDefinition* Definition() const { return definition_; }

 private:
  int32_t remaining_ = 0;
  int32_t calls_ = 0;
  int32_t graphic_ = -1;
  const ObjectDefinition* definition_ = nullptr;
  int32_t frameCount_ = 0;
  int32_t frame_ = 0;
  int32_t step_ = 1;
};

}  // namespace tova
