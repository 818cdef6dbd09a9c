// The body brought along after the walk's tick: where it stands, its pose
// at the animation clock and the head's look.
#include "simulation/PrimProfiler.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr int32_t kPlacementSlot = -3, kPoseSlot = -4, kHeadSlot = -5;

}  // namespace

void PersonAnimator::AdvanceBody() {
  if (person_ == nullptr) return;
  PrimProfiler* profiler = person_->GetProfiler();

  PrimProfiler::StartIfEnabled(profiler, kPlacementSlot);
  if (body_ != nullptr) ComputePlacement();
  person_->MarkForRedraw();
  if (body_ != nullptr) UpdateCensor();
  PrimProfiler::StopIfEnabled(profiler, kPlacementSlot);
  if (body_ == nullptr) return;

  PrimProfiler::StartIfEnabled(profiler, kPoseSlot);
  body_->UpdatePractices(Clock());
  body_->UpdateTransforms();
  renderMatrix = body_->GetTransform();
  practicesDirty_ = false;
  PrimProfiler::StopIfEnabled(profiler, kPoseSlot);

  // The drawing finds the pose, the head and the box up to date.
  PrimProfiler::StartIfEnabled(profiler, kHeadSlot);
  UpdateHeadTurn();
  UpdateHeadTarget();
  ComputeScreenBox();
  poseDirty = false;
  PrimProfiler::StopIfEnabled(profiler, kHeadSlot);
}

}  // namespace tova
