// dfm_ls [--flat] [--no-archives] folder...
//
// Registers each folder with a data-file manager (recursively unless --flat,
// mapping archives unless --no-archives) and prints every entry it then knows
// under that folder, one per line, sorted within each folder:
//   dir     -         <path>\  (a folder)
//   file    <size>    <path>
//   member  <size>    <path>   in <archive> at <offset>
// Each archive refused as damaged is reported on standard error. Exit code 0,
// or 1 when a folder cannot be listed or any archive was refused, 2 for bad
// arguments.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/CTGFileManager.h"
#include "platform/FileSystem.h"

namespace {

void Walk(const CTGFileManager& manager, const std::string& folder, bool recurse) {
  CTGFindRecord record;
  std::vector<std::string> subfolders;
  for (bool ok = manager.FindFirst((folder + "*").c_str(), record); ok; ok = manager.FindNext(record)) {
    const std::string path = folder + record.name;
    CTGFileEntry entry;
    manager.Find(path.c_str(), &entry);
    if (entry.directory) {
      std::printf("dir     %-9s %s\\\n", "-", path.c_str());
      subfolders.push_back(path + "\\");
    } else if (entry.shared) {
      std::printf("member  %-9u %s   in %s at %u\n", entry.size, path.c_str(), entry.path.c_str(), entry.offset);
    } else {
      const auto status = platform::GetFileStatus(path);
      std::printf("file    %-9llu %s\n", status ? static_cast<unsigned long long>(status->size) : 0ull, path.c_str());
    }
  }
  if (!recurse) return;
  for (const std::string& sub : subfolders) {
    if (manager.HasDirectory(sub.c_str())) Walk(manager, sub, recurse);
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool recurse = true;
  bool archives = true;
  std::vector<std::string> folders;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--flat") == 0) {
      recurse = false;
    } else if (std::strcmp(argv[i], "--no-archives") == 0) {
      archives = false;
    } else if (argv[i][0] == '-') {
      std::fprintf(stderr, "dfm_ls: unknown option %s\nusage: dfm_ls [--flat] [--no-archives] folder...\n", argv[i]);
      return 2;
    } else {
      folders.emplace_back(argv[i]);
    }
  }
  if (folders.empty()) {
    std::fprintf(stderr, "usage: dfm_ls [--flat] [--no-archives] folder...\n");
    return 2;
  }
  int result = 0;
  for (const std::string& folder : folders) {
    CTGFileManager manager;
    std::string dir = CTGFileManager::Normalize(folder.c_str());
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    if (!manager.AddDirectory(dir.c_str(), recurse, archives)) {
      std::fprintf(stderr, "dfm_ls: cannot list %s\n", folder.c_str());
      result = 1;
      continue;
    }
    // Every refused archive is reported; what the rest holds is still listed.
    for (const std::string& error : manager.Errors()) {
      std::fprintf(stderr, "dfm_ls: %s\n", error.c_str());
      result = 1;
    }
    Walk(manager, dir, recurse);
  }
  return result;
}
