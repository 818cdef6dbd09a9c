// Arbitrary bytes opened as each container: the 2.x file, the 1.0 file and
// the standard chain over both. Every resource is read; half of the inputs
// are also changed (add, rewrite, delete), closed (map, compaction) and
// opened again, which must work whenever the first open did.
//
// The first byte picks the container and whether to change it; the rest is
// the file. Built with -DIFF_SEED_MAIN this file writes the seed corpus.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzScratch.h"
#include "resfile/IFFResFile.h"
#include "resfile/IFFResFile2.h"
#include "resfile/SeqResFile.h"

namespace {

void ReadEverything(iResFile& file) {
  for (int t = 1; t <= file.CountTypes(); ++t) {
    ResType type = file.GetTypeAt(t);
    for (int i = 1; i <= file.CountResources(type); ++i) {
      MemHandle h = file.GetIndexedResource(type, i, nullptr);
      if (!h) continue;
      std::string label;
      file.GetLabel(h, label);
      ResId id = 0;
      file.GetId(h, id);
      if (file.GetResource(type, id, nullptr) == nullptr && file.GetError() == 0) std::abort();
      file.ReleaseResource(h);
    }
  }
}

void Change(iResFile& file) {
  if (!file.IsWritable()) return;
  MemHandle h = NewMemHandle(300);
  if (file.AddResource(h, TypeCode("FUZZ"), file.GetUnusedId(TypeCode("FUZZ")), "added", true) != 0) {
    DisposeMemHandle(h);
    return;
  }
  file.WriteResource(h);
  SetMemHandleSize(h, 20000);
  file.WriteResource(h);
  if (file.CountTypes() > 0) {
    ResType first = file.GetTypeAt(1);
    if (MemHandle victim = file.GetIndexedResource(first, 1, nullptr)) file.DeleteResource(victim);
  }
}

template <class File>
void Exercise(const std::string& path, bool change) {
  File file;
  if (file.Open(path) != 0) return;
  ReadEverything(file);
  if (!change) return;
  Change(file);
  if (file.Close() != 0) return;
  File again;
  if (again.Open(path) != 0) std::abort();  // what we wrote must open
  ReadEverything(again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  int kind = data[0] % 3;
  bool change = (data[0] & 0x10) != 0;
  std::string path = fuzz::WriteInput(kind == 1 ? "input.spf" : "input.iff", data + 1, size - 1);
  switch (kind) {
    case 0: Exercise<IFFResFile2>(path, change); break;
    case 1: Exercise<IFFResFile>(path, change); break;
    case 2: {
      StdResFile chain;
      if (chain.Open(path) == 0) ReadEverything(chain);
      break;
    }
  }
  std::filesystem::remove(path);
  return 0;
}

#ifdef IFF_SEED_MAIN
#include <cstring>

namespace {

MemHandle Text(const char* s) {
  MemHandle h = NewMemHandle(static_cast<int32_t>(std::strlen(s)));
  std::memcpy(GetMemHandleData(h), s, std::strlen(s));
  return h;
}

template <class File>
void Seed(const std::string& dir, const std::string& name, uint8_t selector, bool scanned) {
  std::string path = dir + "/" + name + ".tmp";
  std::filesystem::remove(path);
  File f;
  f.Create(path);
  f.Open(path);
  f.AddResource(Text("definition"), TypeCode("OBJD"), 128, "Chair", true);
  f.AddResource(Text("tree"), TypeCode("BHAV"), 4096, "main", false);
  MemHandle gone = Text("gone");
  f.AddResource(gone, TypeCode("BHAV"), 4097, "", true);
  f.WriteResource(gone);
  f.DeleteResource(gone);
  f.Close();
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (scanned) std::memset(bytes.data() + 60, 0, 4);
  std::ofstream out(dir + "/" + name, std::ios::binary);
  out.put(static_cast<char>(selector));
  out << bytes;
  std::filesystem::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : ".";
  Seed<IFFResFile2>(dir, "v25-mapped", 0x10, false);
  Seed<IFFResFile2>(dir, "v25-scanned", 0x00, true);
  Seed<IFFResFile2>(dir, "chain", 0x02, false);
  Seed<IFFResFile>(dir, "v10", 0x11, false);
  return 0;
}
#endif
