// Arbitrary bytes as one of the lot's object records, read over a small
// world and the starter catalogue: the object record ('ObjM': the record
// header with its version, then the body), or, when the header names
// 'Rcon', one object of an old lot read twice as the loader does (made from
// its head and place, then read whole). Then every object is placed,
// checked and ticked once. Nothing may crash, hang or read outside the
// record.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "gamedata/ObjectFolder.h"
#include "resfile/MemHandle.h"
#include "resfile/ReconObject.h"
#include "resfile/TypeCode.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXObjectStream.h"
#include "tests/simulation/FakeLot.h"
#include "tests/support/BuildFolders.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tova;
  static ObjectFolder* folder = [] {
    auto* f = new ObjectFolder;
    f->Init(std::string(tova_test::BinDir()) + "/../data/");
    return f;
  }();
  if (size > 1 << 20) return 0;
  MemHandle h = NewMemHandle(static_cast<int32_t>(size));
  if (!h) return 0;
  if (size > 0) std::memcpy(GetMemHandleData(h), data, size);
  tova_test::FakeWorld world;
  ObjectModule module(folder);
  module.SetLot(&world, nullptr);
  int32_t version = 0;
  bool read = false;
  const bool node = size >= 12 && (uint32_t{data[8]} | uint32_t{data[9]} << 8 | uint32_t{data[10]} << 16 |
                                   uint32_t{data[11]} << 24) == TypeCode("Rcon");
  if (node) {
    cXObjectStream first(0, &module);
    SimpleReconObject<cXObjectStream> creating(&first, TypeCode("Rcon"));
    if (ReconObject::ReadFromHandle(creating, h, &version) == 0 && first.GetObject() != nullptr) {
      cXObjectStream second(first.GetObject());
      SimpleReconObject<cXObjectStream> reading(&second, TypeCode("Rcon"));
      read = ReconObject::ReadFromHandle(reading, h, &version) == 0;
    }
  } else {
    SimpleReconObject<ObjectModule> record(&module, TypeCode("ObjM"));
    read = ReconObject::ReadFromHandle(record, h, &version) == 0;
  }
  if (read) {
    module.PlaceAllObjects(version);
    module.GridCheck();
    module.TickObjects();
    module.ProcessDeletions(false);
  }
  DisposeMemHandle(h);
  TreeZaz::SetIterationLimit(TreeZaz::kDefaultIterationLimit);
  return 0;
}
