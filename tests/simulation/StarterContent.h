// Compiles the starter content afresh into a scratch data root.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/RunProgram.h"

namespace tova_test {

// extras: more content sources compiled with it.
inline void CompileStarterContent(const std::string& root, const std::vector<std::string>& extras = {}) {
  const std::filesystem::path content = std::filesystem::path(TOVA_SOURCE_DIR) / "content";
  std::vector<std::string> compile = {"--out", root};
  compile.insert(compile.end(), extras.begin(), extras.end());
  for (const auto& e : std::filesystem::recursive_directory_iterator(content)) {
    if (e.path().extension() == ".res") compile.push_back(e.path().string());
  }
  const ProgramRun built = RunProgram("contentc", compile);
  ASSERT_EQ(built.code, 0) << built.err;
}

}  // namespace tova_test
