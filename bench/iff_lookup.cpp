// Opening a 2.5 resource file of 5,000 resources by its map and by a scan,
// and looking resources up by type and id in it. A lookup must cost the same
// whatever the number of resources.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "resfile/IFFResFile2.h"
#include "tests/support/ScratchDir.h"

namespace {

constexpr int kResources = 5000;
constexpr ResType kTypes[] = {TypeCode("BHAV"), TypeCode("SPR2"), TypeCode("STR#"), TypeCode("OBJD")};

// Made once per run in a scratch folder that is removed at exit.
struct Files {
  tova_test::ScratchDir dir;
  std::string mapped, scanned;
  Files() {
    if (!dir.Ok()) std::abort();
    mapped = (dir / "big.iff").string();
    scanned = (dir / "big-scan.iff").string();
    IFFResFile2 f;
    f.Create(mapped);
    f.Open(mapped);
    for (int i = 0; i < kResources; ++i) {
      MemHandle h = NewMemHandle(64 + i % 200);
      f.AddResource(h, kTypes[i % 4], static_cast<ResId>(1000 + i), "resource " + std::to_string(i), true);
    }
    f.Close();
    // The same file with the header naming no map: it must be scanned.
    std::filesystem::copy_file(mapped, scanned, std::filesystem::copy_options::overwrite_existing);
    uint8_t header[IFFResFile2::kFileHeaderSize];
    MakeIFF2Header(header, 0);
    std::fstream patch(scanned, std::ios::in | std::ios::out | std::ios::binary);
    patch.write(reinterpret_cast<const char*>(header), sizeof header);
  }
};

const Files& TestFiles() {
  static Files files;
  return files;
}

// Opening by the map (the header names it) or by a scan (it names none).
void BM_Open(benchmark::State& state, bool byMap) {
  const Files& files = TestFiles();
  for (auto _ : state) {
    IFFResFile2 f;
    f.SetOpenReadOnly(true);
    f.Open(byMap ? files.mapped : files.scanned);
    if (f.OpenedByMap() != byMap) {
      state.SkipWithError(byMap ? "the map was not used" : "the file was not scanned");
      break;
    }
    benchmark::DoNotOptimize(f.CountTypes());
  }
}
BENCHMARK_CAPTURE(BM_Open, ByMap, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Open, ByScan, false)->Unit(benchmark::kMicrosecond);

// Lookups among the first n resources' ids of an open file: the time per
// lookup must not grow with n.
void BM_LookupByTypeAndId(benchmark::State& state) {
  const Files& files = TestFiles();
  IFFResFile2 f;
  f.SetOpenReadOnly(true);
  f.Open(files.mapped);
  std::mt19937 random(7);
  const int range = static_cast<int>(state.range(0));
  for (int i = 0; i < range; ++i) f.GetResource(kTypes[i % 4], static_cast<ResId>(1000 + i), nullptr);
  for (auto _ : state) {
    int i = static_cast<int>(random() % static_cast<unsigned>(range));
    benchmark::DoNotOptimize(f.GetResource(kTypes[i % 4], static_cast<ResId>(1000 + i), nullptr));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LookupByTypeAndId)->Arg(50)->Arg(500)->Arg(kResources);

}  // namespace
