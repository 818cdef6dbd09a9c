#include "simulation/people/cXPerson.h"

namespace tova {

void cXPerson::MarkRoutesNotStarted() {
  for (PersonRoute& route : routes_) route.started = 0;
}

}  // namespace tova
