#pragma once
// A fresh folder of its own for each test: test programs of several builds
// and worktrees run at once on one machine and must not share files.

#include <filesystem>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace tova::testing_support {

class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix) {
    std::random_device random;
    path_ = std::filesystem::path(::testing::TempDir()) /
            (prefix + "_" + std::to_string(random()) + "_" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace tova::testing_support
