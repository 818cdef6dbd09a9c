#include "resfile/ResLanguage.h"

#include <atomic>

namespace {
std::atomic<int> gLanguageId{1};
}

int GetCurrentLanguageId() { return gLanguageId.load(); }

void SetCurrentLanguageId(int id) {
  if (id >= 1 && id <= kLanguageSlots) gLanguageId.store(id);
}

int LanguageSlotOf(int setting) {
  if (setting & 0x80) return GetCurrentLanguageId() - 1;
  if (setting < 0 || setting >= kLanguageSlots) return 0;
  return setting;
}
