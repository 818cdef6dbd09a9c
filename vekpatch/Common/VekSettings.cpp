#include "vekpatch/Common/VekSettings.h"

namespace vek {

VekSettings& Settings() {
  static VekSettings settings;
  return settings;
}

}  // namespace vek
