// The catalogue's start-up load over n generated object files of one
// definition each. The time per object file must not grow with n.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ObjectFolder.h"
#include "resfile/IFFResFile2.h"
#include "tests/support/ScratchDir.h"

namespace {

bool WriteObjectFile(const std::string& path, uint32_t guid) {
  tova::ObjectDefinitionRecord record;
  record.SetGuid(guid);
  record.SetWord(tova::ObjectDefinitionRecord::kObjectType, 4);
  IFFResFile2 file;
  if (file.Create(path) != 0 || file.Open(path) != 0) return false;
  MemHandle h = NewMemHandle(216);
  std::copy(record.Data(), record.Data() + 216, GetMemHandleData(h));
  const bool ok = file.AddResource(h, TypeCode("OBJD"), 128, "Object", true) == 0 && file.WriteResource(h) == 0;
  file.ReleaseResource(h);
  return file.Close() == 0 && ok;
}

// A data root of n object files, made once per n and removed at exit. One
// file is written through the resource-file writer; the others are its bytes
// with the GUID changed (writing thousands of files through the writer, each
// made durable, would take longer than the benchmark).
const std::string* Root(int n) {
  static std::map<int, std::unique_ptr<tova_test::ScratchDir>> roots;
  static std::map<int, std::string> paths;
  auto& dir = roots[n];
  if (dir) return &paths[n];
  dir = std::make_unique<tova_test::ScratchDir>();
  if (!dir->Ok()) return nullptr;
  std::filesystem::create_directories(*dir / "GameData/Objects");
  std::filesystem::create_directories(*dir / "GameData/Global");
  constexpr uint32_t kMarker = 0xA5C3E1F7;
  const std::string model = (*dir / "model.iff").string();
  if (!WriteObjectFile((*dir / "GameData/Global/Global.iff").string(), 1) || !WriteObjectFile(model, kMarker)) {
    return nullptr;
  }
  std::ifstream in(model, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(model);
  auto encode = [](uint32_t v, bool bigEndian) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) out[static_cast<size_t>(i)] = static_cast<char>(v >> (bigEndian ? 24 - 8 * i : 8 * i));
    return out;
  };
  bool bigEndian = false;
  size_t at = bytes.find(encode(kMarker, false));
  if (at == std::string::npos) {
    bigEndian = true;
    at = bytes.find(encode(kMarker, true));
  }
  if (at == std::string::npos) return nullptr;
  for (int i = 0; i < n; ++i) {
    std::string copy = bytes;
    copy.replace(at, 4, encode(0x10000u + static_cast<uint32_t>(i), bigEndian));
    char name[32];
    std::snprintf(name, sizeof name, "obj%05d.iff", i);
    std::ofstream out(*dir / "GameData/Objects" / name, std::ios::binary);
    out.write(copy.data(), static_cast<std::streamsize>(copy.size()));
    if (!out) return nullptr;
  }
  return &(paths[n] = dir->Path().string() + "/");
}

void BM_CatalogueLoad(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string* root = Root(n);
  if (!root) {
    state.SkipWithError("could not make the object files");
    return;
  }
  for (auto _ : state) {
    tova::ObjectFolder folder;
    folder.Init(*root);
    if (folder.GetDefinitionCount() != n) {
      state.SkipWithError("not every object file was catalogued");
      break;
    }
    state.PauseTiming();
    folder.Clear();
    state.ResumeTiming();
  }
  state.counters["per_file"] = benchmark::Counter(static_cast<double>(state.iterations()) * n,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CatalogueLoad)->Arg(1000)->Arg(4000)->Arg(16000)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
