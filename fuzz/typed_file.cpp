// Typed-file reader: integers and length-prefixed strings read from any bytes
// must stop cleanly at the end or at a length that does not fit.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzScratch.h"
#include "framework/CTGFileManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput("input.bin", data, size);
  CTGFileManager manager;
  CTGFile* file = manager.Open(path.c_str(), false);
  if (file == nullptr) return 0;
  // The first byte picks the mix of reads, so the fuzzer can steer it.
  uint8_t plan = 0;
  file->ReadByte(&plan);
  for (int step = 0; step < 4096; ++step) {
    bool ok;
    switch ((plan >> (2 * (step % 4))) & 3) {
      case 0: {
        int32_t value;
        ok = file->ReadInt32(&value);
        break;
      }
      case 1: {
        char buffer[256];
        ok = file->ReadString(buffer, sizeof buffer);
        break;
      }
      case 2: {
        std::string text;
        ok = file->ReadString(text, 1u << 20);
        break;
      }
      default: {
        uint8_t byte;
        ok = file->ReadByte(&byte) && file->Seek(file->GetPosition());
        break;
      }
    }
    if (!ok) break;
  }
  manager.Close(file);
  return 0;
}
