#include "gamedata/StartupServices.h"

#include "gamedata/NeighborhoodCatalogServices.h"
#include "platform/Clock.h"

namespace tova {

std::unique_ptr<NeighborhoodServices> StartupServices::MakeNeighborhoodServices(ObjectFolder& catalogue) {
  return std::make_unique<NeighborhoodCatalogServices>(catalogue);
}

uint64_t StartupServices::MillisecondsSinceStart() { return platform::TickCount(); }

int64_t StartupServices::PerfCounter() { return platform::PerfCounter(); }

int64_t StartupServices::PerfFrequency() { return platform::PerfFrequency(); }

}  // namespace tova
