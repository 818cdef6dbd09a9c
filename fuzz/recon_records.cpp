// Saved records of a few kinds read from arbitrary bytes: the reader must
// refuse or accept, never crash or read outside the record, and what it
// accepts must write back to a record that reads again.
//
// The first byte picks the kind (and, with 0x10, a record stored by a
// big-endian writer); the rest is the resource as stored. Built with
// -DRECON_SEED_MAIN this file is the program that writes the seed corpus.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "resfile/IFFResMap.h"
#include "resfile/KeyedArrayList.h"
#include "resfile/MemResFile.h"
#include "resfile/ReconObject.h"
#include "resfile/StringSet.h"

namespace {

// A record that uses every stream feature: blocks, inline strings, packed
// integers, bytes, bools and floats.
struct Mix {
  int32_t a = 0;
  int16_t b[3] = {};
  uint8_t c[2] = {};
  bool d = false;
  float e = 0;
  std::string name;
  KeyedArrayList list;

  void Reconstitute(ReconStream& s, int32_t version) {
    s.BeginBlock();
    s.SerializeLongs(&a, 1);
    s.SerializeString(name);
    s.SkipToBlockEnd();
    s.BeginBlock();
    if (version > 1) s.SetPacked();
    s.SerializeShorts(b, 3);
    s.SerializeBytes(c, 2);
    s.SerializeBool(&d);
    s.SerializeFloats(&e, 1);
    s.SkipToBlockEnd();
    s.BeginBlock();
    list.Reconstitute(s, version);
  }
};

constexpr ResType kKinds[] = {TypeCode("KARL"), TypeCode("rsmp"), TypeCode("STR#"), TypeCode("MIXD")};

template <class T>
void ReadRecordTwice(MemResFile& file, ResType type) {
  T object;
  SimpleReconObject<T> rec(&object, type);
  int32_t version = 0;
  if (ReconObject::LoadFromResFile(rec, file, 1, &version) != 0) return;
  if (ReconObject::SaveToResFile(rec, version, file, 2) != 0) std::abort();
  T again;
  SimpleReconObject<T> rec2(&again, type);
  if (ReconObject::LoadFromResFile(rec2, file, 2) != 0) std::abort();
}

void ReadTable(MemResFile& file, bool all) {
  StringSet set;
  if (set.LoadFromFile(&file, 1, all) != 0) return;
  for (int n = 0; n <= set.GetCount() + 1; ++n) set.GetString(n);
  if (set.SaveTo(&file, 2) != 0) return;  // a table too big to save is refused
  StringSet again;
  if (again.LoadFromFile(&file, 2, true) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  int kind = data[0] & 3;
  uint16_t flags = (data[0] & 0x10) ? 0 : kResFlagNative;
  MemResFile file;
  ResType type = kKinds[kind];
  file.AddStored(type, 1, data + 1, static_cast<int32_t>(size - 1), "", flags);
  if (kind == 2) file.AddStored(kCaretTextType, 1, data + 1, static_cast<int32_t>(size - 1));
  switch (kind) {
    case 0: ReadRecordTwice<KeyedArrayList>(file, type); break;
    case 1: ReadRecordTwice<IFFResMap>(file, type); break;
    case 2: ReadTable(file, (data[0] & 0x20) != 0); break;
    case 3: ReadRecordTwice<Mix>(file, type); break;
  }
  return 0;
}

#ifdef RECON_SEED_MAIN
#include <fstream>

namespace {
void Seed(const std::string& dir, const std::string& name, uint8_t selector, MemHandle h) {
  std::ofstream out(dir + "/" + name, std::ios::binary);
  out.put(static_cast<char>(selector));
  out.write(reinterpret_cast<const char*>(GetMemHandleData(h)), GetMemHandleSize(h));
  DisposeMemHandle(h);
}
}  // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : ".";
  KeyedArrayList list;
  list.SetSize(3, 2);
  list.SetValue(3, 1, 77);
  list.SetSize(9, 1);
  SimpleReconObject<KeyedArrayList> listRec(&list, kKinds[0]);
  Seed(dir, "keyed-v1", 0, ReconObject::WriteToHandle(listRec, 1));

  IFFResMap map;
  map.mFreeBytes = 152;
  ResGroup* g = map.AddGroup(TypeCode("OBJD"));
  g->entries.push_back(std::make_unique<ResEntry>());
  g->entries.back()->offset = 64;
  g->entries.back()->id = 128;
  g->entries.back()->storedFlags = 0x10;
  g->entries.back()->label = "chair";
  SimpleReconObject<IFFResMap> mapRec(&map, kKinds[1]);
  Seed(dir, "map", 1, ReconObject::WriteToHandle(mapRec, 0));

  MemResFile file;
  StringSet set;
  set.SetSource(&file, 1, kKinds[2], false, 0);
  set.SetString(1, "one");
  set.SetString(2, "two");
  set.SetComment(2, "second");
  set.Save();
  set.SetSource(&file, 1, kKinds[2], false, 2);
  set.SetString(1, "un");
  set.Save();
  MemHandle table = file.GetResource(kKinds[2], 1, nullptr);
  file.DetachResource(table);
  Seed(dir, "strings", 0x22, table);

  Mix mix;
  mix.a = -5;
  mix.b[0] = 1;
  mix.b[2] = -300;
  mix.c[1] = 9;
  mix.d = true;
  mix.e = 2.5f;
  mix.name = "mixed";
  mix.list = list;
  SimpleReconObject<Mix> mixRec(&mix, kKinds[3]);
  Seed(dir, "mix-plain", 3, ReconObject::WriteToHandle(mixRec, 1));
  Seed(dir, "mix-packed", 3, ReconObject::WriteToHandle(mixRec, 2));
  return 0;
}
#endif
