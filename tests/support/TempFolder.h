// A scratch folder spoken to in plain strings, with helpers that make the
// folders a file needs.
#pragma once

#include "support/ScratchDir.h"

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

namespace tova_test {

class TempFolder {
 public:
  TempFolder() : path_(dir_.Path().string()) {
    if (!dir_.Ok()) std::abort();
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

  // Writes a file (making its folders) with exactly these bytes.
  void Write(const std::string& rel, const std::string& bytes) const {
    const std::filesystem::path p = dir_ / rel;
    std::filesystem::create_directories(p.parent_path());
    WriteBytes(p, bytes);
  }
  // Makes empty files (and their folders), for tests that only need names.
  void Touch(std::initializer_list<std::string> rels) const {
    for (const std::string& rel : rels) Write(rel, "");
  }
  std::string Read(const std::string& rel) const { return ReadBytes(dir_ / rel); }
  bool Has(const std::string& rel) const { return std::filesystem::exists(dir_ / rel); }

 private:
  ScratchDir dir_;
  std::string path_;
};

}  // namespace tova_test
