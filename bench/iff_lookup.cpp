// Opening a 2.5 resource file of 5,000 resources by its map and by a scan,
// and looking resources up by type and id in it. A lookup must cost the same
// whatever the number of resources.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "resfile/IFFResFile2.h"

namespace {

constexpr int kResources = 5000;
constexpr ResType kTypes[] = {TypeCode("BHAV"), TypeCode("SPR2"), TypeCode("STR#"), TypeCode("OBJD")};

struct Files {
  std::string mapped, scanned;
  Files() {
    auto dir = std::filesystem::temp_directory_path() / ("tova-bench-iff-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(dir);
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
    std::fstream patch(scanned, std::ios::in | std::ios::out | std::ios::binary);
    patch.seekp(60);
    patch.write("\0\0\0\0", 4);
  }
};

const Files& TestFiles() {
  static Files files;
  return files;
}

void BM_OpenByMap(benchmark::State& state) {
  const Files& files = TestFiles();
  for (auto _ : state) {
    IFFResFile2 f;
    f.SetOpenReadOnly(true);
    f.Open(files.mapped);
    if (!f.OpenedByMap()) state.SkipWithError("the map was not used");
    benchmark::DoNotOptimize(f.CountTypes());
  }
}
BENCHMARK(BM_OpenByMap)->Unit(benchmark::kMicrosecond);

void BM_OpenByScan(benchmark::State& state) {
  const Files& files = TestFiles();
  for (auto _ : state) {
    IFFResFile2 f;
    f.SetOpenReadOnly(true);
    f.Open(files.scanned);
    if (f.OpenedByMap()) state.SkipWithError("the file was not scanned");
    benchmark::DoNotOptimize(f.CountTypes());
  }
}
BENCHMARK(BM_OpenByScan)->Unit(benchmark::kMicrosecond);

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
