#include "fuzz/driver/FuzzDriver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

tova_fuzz::Entry gEntry = nullptr;

}  // namespace

const tova_fuzz::Target* tova_fuzz::FindTarget(const char* programPath) {
  const char* base = std::strrchr(programPath, '/');
  base = base ? base + 1 : programPath;
  static const char kPrefix[] = "fuzz_";
  if (std::strncmp(base, kPrefix, sizeof kPrefix - 1) != 0) return nullptr;
  const char* name = base + sizeof kPrefix - 1;
  for (size_t i = 0; i < kTargetCount; ++i) {
    if (std::strcmp(kTargets[i].name, name) == 0) return &kTargets[i];
  }
  return nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  const char* program = *argc > 0 ? (*argv)[0] : "";
  const tova_fuzz::Target* target = tova_fuzz::FindTarget(program);
  if (!target) {
    std::fprintf(stderr, "%s: start this program through one of its links, fuzz_<target>; targets:", program);
    for (size_t i = 0; i < tova_fuzz::kTargetCount; ++i) std::fprintf(stderr, " %s", tova_fuzz::kTargets[i].name);
    std::fprintf(stderr, "\n");
    std::exit(2);
  }
  gEntry = target->entry;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return gEntry(data, size); }
