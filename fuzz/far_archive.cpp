// Archive reader: any bytes as an archive file must map or be refused without
// a crash, and every registered member must read within its bounds.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "framework/CTGFileManager.h"

namespace {

std::string ScratchFolder() {
  static const std::string folder = [] {
    std::random_device random;
    auto dir = std::filesystem::temp_directory_path() / ("tova-fuzz-far-" + std::to_string(random()));
    std::filesystem::create_directories(dir);
    return dir.string();
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = ScratchFolder() + "/input.far";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  CTGFileManager manager;
  if (manager.MapArchive(path.c_str())) {
    // Walk every folder the archive made and read each member whole.
    std::vector<std::string> folders{CTGFileManager::Normalize((ScratchFolder() + "/").c_str())};
    for (size_t i = 0; i < folders.size() && i < 64; ++i) {
      CTGFindRecord record;
      for (bool ok = manager.FindFirst((folders[i] + "*").c_str(), record); ok; ok = manager.FindNext(record)) {
        const std::string member = folders[i] + record.name;
        if (record.directoryFlag) {
          folders.push_back(member + "\\");
          continue;
        }
        CTGFile* file = manager.Open(member.c_str(), false);
        if (file == nullptr) continue;
        std::vector<char> bytes(static_cast<size_t>(file->GetSize()) + 1);
        file->ReadBytes(bytes.data(), file->GetSize());
        file->Read(bytes.data(), 1);
        manager.Close(file);
      }
    }
  }
  manager.CloseAll();
  return 0;
}
