// What the snap primitive asks of a person: to step aside for the one it
// stands in the way of, and to keep the measured move and the placed marks
// in its animation state.
#include "simulation/people/cXPerson.h"

namespace tova {

bool cXPerson::RequestStepAside(cXObject& asker) {
  // The asker's urgency carries over, so a busy person does not block a
  // more urgent one.
  auto* person = dynamic_cast<cXPerson*>(&asker);
  const int32_t priority = person != nullptr ? person->CurrentAction().priority : 0;
  return AskToStepAside(priority);
}

void cXPerson::SetSnapOffsets(float dy, float dx, float dfacing) {
  animator_.offset[0] = dy;
  animator_.offset[1] = dx;
  animator_.offset[2] = dfacing;
}

void cXPerson::SetPlacedMarks(float a, float b, float c) {
  animator_.grid[0] = a;
  animator_.grid[1] = b;
  animator_.grid[2] = c;
}

}  // namespace tova
