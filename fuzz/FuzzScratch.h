// For fuzz targets whose reader takes a file: one scratch folder per process,
// removed when the process ends normally, and the input written into it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace fuzz {

class ScratchFolder {
 public:
  static const std::string& Path() {
    static const ScratchFolder folder;
    return folder.mPath;
  }

 private:
  ScratchFolder() {
    std::random_device random;
    // A memory-backed folder where there is one: the readers' saves flush
    // their files, and a flush per input on a busy disk slows a run tenfold.
    for (const std::filesystem::path& base : {std::filesystem::path("/dev/shm"), std::filesystem::temp_directory_path()}) {
      std::error_code ec;
      // A fresh name: never share a folder with a fuzzer running beside us.
      do {
        mPath = (base / ("tova-fuzz-" + std::to_string(random()))).string();
      } while (!std::filesystem::create_directory(mPath, ec) && !ec);
      if (!ec) return;
    }
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(mPath, ec);
  }

  std::string mPath;
};

// Writes the bytes to `name` in the scratch folder and returns its path.
// Unbuffered: a stream's buffer, fresh for every input, costs a good part of
// a small target's run under the sanitizers.
inline std::string WriteInput(const char* name, const uint8_t* data, size_t size) {
  const std::string path = ScratchFolder::Path() + "/" + name;
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::setvbuf(file, nullptr, _IONBF, 0);
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  return path;
}

}  // namespace fuzz
