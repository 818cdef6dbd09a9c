// The person's animate primitive: the node's operand decoded and handed to
// the animator, whose answer picks the branch.
#include "simulation/ObjectErrorCode.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

AnimateOperand PersonAnimator::DecodeOperand(const uint8_t* b) {
  AnimateOperand op;
  op.index = static_cast<int16_t>(b[0] | (b[1] << 8));
  op.source = b[2];
  op.eventCount = b[3];
  op.flags = b[4];
  op.kind = b[5];
  op.local = b[6];
  return op;
}

int32_t cXPerson::RunAnimate(TreeStackFrame& frame, TreeNode node) {
  const AnimateOperand op = PersonAnimator::DecodeOperand(node.Bytes() + 4);
  switch (Animator().StartAnimation(frame, op)) {
    case PersonAnimator::kEventStored: return kPrimTrue;
    case PersonAnimator::kAnimateDone: return kPrimFalse;
    case PersonAnimator::kAnimateNotYet: return kPrimYield;
    default: RaiseObjectError(kErrNoParameter);
  }
}

}  // namespace tova
