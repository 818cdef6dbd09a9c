// iffdump FILE...: for each resource file its version, whether the map was
// used to open it, and one line per resource: type, id, size, flags, label.
// A chunk chain that stops before the end of the file (a chunk of size 0, or
// one running past the end) is reported with where it stopped and how many
// bytes it could not reach. Exit code 0, or 1 when any file could not be
// opened or was damaged, 2 for bad arguments.
#include <cstdio>
#include <string>

#include "resfile/IFFResFile.h"
#include "resfile/IFFResFile2.h"

namespace {

void DumpEntries(MappedResFile& file) {
  std::printf("%-6s %6s %10s %6s  %s\n", "type", "id", "size", "flags", "label");
  for (const auto& group : file.GetMap().mGroups) {
    for (int i = 1; i <= static_cast<int>(group->entries.size()); ++i) {
      const ResEntry& e = *group->entries[static_cast<size_t>(i - 1)];
      uint16_t flags = e.storedFlags;
      MemHandle h = file.GetIndexedResource(group->type, i, nullptr);
      std::string size = h ? std::to_string(GetMemHandleSize(h)) : "error " + std::to_string(file.GetError());
      if (h) file.ReleaseResource(h);
      std::printf("%-6s %6d %10s 0x%04x  %s\n", ("'" + TypeCodeText(group->type) + "'").c_str(), e.id,
                  size.c_str(), flags, e.label.c_str());
    }
  }
}

int Count(MappedResFile& file) {
  int n = 0;
  for (const auto& g : file.GetMap().mGroups) n += static_cast<int>(g->entries.size());
  return n;
}

// 0 when the chain reaches the end of the file, else 1 with the damage told.
int CheckChain(const char* path, IFFChunkFile& file) {
  const int32_t end = file.ChainEnd();
  const int32_t length = file.GetLength();
  if (end >= length) return 0;
  std::fprintf(stderr, "%s: damaged: the chunk chain stops at offset %d; %d bytes after it cannot be reached\n", path,
               end, length - end);
  return 1;
}

int Dump(const char* path) {
  IFFResFile2 v2;
  v2.SetOpenReadOnly(true);
  int status = v2.Open(path);
  if (status == 0) {
    std::printf("%s: IFF %d.%d, map %s, %d resources, %u free bytes\n", path, v2.GetVersion() >> 8,
                v2.GetVersion() & 0xFF, v2.OpenedByMap() ? "used" : "not used (scanned)", Count(v2),
                v2.GetFreeBytes());
    DumpEntries(v2);
    return CheckChain(path, v2);
  }
  if (status == kResBadHeader) {
    IFFResFile v1;
    v1.SetOpenReadOnly(true);
    status = v1.Open(path);
    if (status == 0) {
      std::printf("%s: IFF 1.0, no map (scanned), %d resources, %u free bytes\n", path, Count(v1), v1.GetFreeBytes());
      DumpEntries(v1);
      return CheckChain(path, v1);
    }
  }
  std::fprintf(stderr, "%s: cannot open as a resource file (status %d)\n", path, status);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: iffdump FILE...\n");
    return 2;
  }
  int result = 0;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) std::printf("\n");
    if (Dump(argv[i]) != 0) result = 1;
  }
  return result;
}
