// Deleting and renumbering the resources of a 2.5 file one by one, each found
// by its type and id first, as an editor does. The time per delete and per
// renumbering must not grow with the number of resources in the file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "resfile/IFFResFile2.h"
#include "tests/support/ScratchDir.h"

namespace {

constexpr ResType kType = TypeCode("BHAV");

// A fresh file of n written resources, ids 0 to n-1, left open.
std::unique_ptr<IFFResFile2> MakeFile(const tova_test::ScratchDir& dir, int n) {
  const std::string path = (dir / ("delete-" + std::to_string(n) + ".iff")).string();
  auto file = std::make_unique<IFFResFile2>();
  file->Delete(path);
  if (file->Create(path) != 0 || file->Open(path) != 0) return nullptr;
  for (int i = 0; i < n; ++i) {
    MemHandle h = NewMemHandle(32);
    if (file->AddResource(h, kType, static_cast<ResId>(i), "resource " + std::to_string(i), true) != 0 ||
        file->WriteResource(h) != 0) {
      return nullptr;
    }
    file->ReleaseResource(h);
  }
  return file;
}

// Times `step(file, i)` for i = 0 to n-1 on a fresh file of n resources each
// iteration; the counter is the time per step.
template <typename Step>
void RunOneByOne(benchmark::State& state, Step step) {
  tova_test::ScratchDir dir;
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<IFFResFile2> file = MakeFile(dir, n);
    if (!file) {
      state.SkipWithError("could not make the file");
      break;
    }
    state.ResumeTiming();
    for (int i = 0; i < n; ++i) {
      MemHandle h = file->GetResource(kType, static_cast<ResId>(i), nullptr);
      if (!h || !step(*file, h, i, n)) {
        state.SkipWithError("an operation failed");
        break;
      }
    }
    state.PauseTiming();
    file->Close();
    state.ResumeTiming();
  }
  state.counters["per_op"] = benchmark::Counter(static_cast<double>(state.iterations()) * n,
                                                benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_DeleteOneByOne(benchmark::State& state) {
  RunOneByOne(state, [](IFFResFile2& file, MemHandle h, int, int) { return file.DeleteResource(h) == 0; });
}
BENCHMARK(BM_DeleteOneByOne)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(16000)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_RenumberOneByOne(benchmark::State& state) {
  RunOneByOne(state, [](IFFResFile2& file, MemHandle h, int i, int n) {
    const bool ok = file.ChangeId(h, static_cast<ResId>(i + n)) == 0;
    file.ReleaseResource(h);
    return ok;
  });
}
BENCHMARK(BM_RenumberOneByOne)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(16000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
