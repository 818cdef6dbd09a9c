#include "vekpatch/Common/VekSettings.h"

#include <cstdlib>

namespace vek {

namespace {

// TOVA_VEK_LOOP_WAIT_MS (1 to 5000) shortens the run's wait for the next
// message, which is also how long an abort can take to be heard. A host's
// tests load the library as a person would and cannot reach its settings
// otherwise; every other time-out stays the protocol's.
VekSettings Initial() {
  VekSettings settings;
  if (const char* text = std::getenv("TOVA_VEK_LOOP_WAIT_MS")) {
    char* end = nullptr;
    const long ms = std::strtol(text, &end, 10);
    if (end != text && *end == '\0' && ms >= 1 && ms <= settings.loopWaitMs) settings.loopWaitMs = static_cast<int>(ms);
  }
  return settings;
}

}  // namespace

VekSettings& Settings() {
  static VekSettings settings = Initial();
  return settings;
}

}  // namespace vek
