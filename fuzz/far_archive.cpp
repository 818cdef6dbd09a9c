// Archive reader: any bytes as an archive file must map or be refused without
// a crash, and every registered member must read within its bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzScratch.h"
#include "framework/CTGFileManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("input.far", data, size);
  CTGFileManager manager;
  if (manager.MapArchive(path.c_str())) {
    // Walk every folder the archive made and read each member whole.
    std::vector<std::string> folders{CTGFileManager::Normalize((fuzz::ScratchFolder::Path() + "/").c_str())};
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
