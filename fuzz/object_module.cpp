// Arbitrary bytes as the lot's object record ('ObjM': the record header with
// its version, then the body) read over a small world and the starter
// catalogue, then every object placed, checked and ticked once. Nothing may
// crash, hang or read outside the record. Lots whose objects live in older
// per-object records are refused by the reader and need no target here.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "gamedata/ObjectFolder.h"
#include "resfile/MemHandle.h"
#include "resfile/ReconObject.h"
#include "resfile/TypeCode.h"
#include "simulation/ObjectModule.h"
#include "tests/simulation/FakeLot.h"

#ifndef TOVA_FUZZ_DATA_ROOT
#define TOVA_FUZZ_DATA_ROOT "build/fuzz/data"
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tova;
  static ObjectFolder* folder = [] {
    auto* f = new ObjectFolder;
    f->Init(std::string(TOVA_FUZZ_DATA_ROOT) + "/");
    return f;
  }();
  if (size > 1 << 20) return 0;
  MemHandle h = NewMemHandle(static_cast<int32_t>(size));
  if (!h) return 0;
  if (size > 0) std::memcpy(GetMemHandleData(h), data, size);
  tova_test::FakeWorld world;
  ObjectModule module(folder);
  module.SetLot(&world, nullptr);
  SimpleReconObject<ObjectModule> record(&module, TypeCode("ObjM"));
  int32_t version = 0;
  if (ReconObject::ReadFromHandle(record, h, &version) == 0) {
    module.PlaceAllObjects(version);
    module.GridCheck();
    module.TickObjects();
    module.ProcessDeletions(false);
  }
  DisposeMemHandle(h);
  TreeZaz::SetIterationLimit(TreeZaz::kDefaultIterationLimit);
  return 0;
}
