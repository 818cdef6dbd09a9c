// Compiles the starter content into a scratch data root.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace tova_test {

// The starter content's sources and, after them, the extras.
inline std::vector<std::string> StarterContentArguments(const std::string& root,
                                                        const std::vector<std::string>& extras) {
  const std::filesystem::path content = std::filesystem::path(TOVA_SOURCE_DIR) / "content";
  std::vector<std::string> compile = {"--out", root};
  compile.insert(compile.end(), extras.begin(), extras.end());
  for (const auto& e : std::filesystem::recursive_directory_iterator(content)) {
    if (e.path().extension() == ".res") compile.push_back(e.path().string());
  }
  return compile;
}

// The plain starter content compiled once per test program: a compile per
// test, by a sanitizer-built program, cost more than most of the tests.
struct CompiledStarterContent {
  ScratchDir folder;
  ProgramRun built;
  CompiledStarterContent() { built = tova_test::CompileContent(StarterContentArguments(folder.Path().string(), {})); }
  static const CompiledStarterContent& Get() {
    static const CompiledStarterContent compiled;
    return compiled;
  }
};

// extras: more content sources compiled with it. Without extras the output
// of one compile is copied in; with them the whole is compiled afresh.
inline void CompileStarterContent(const std::string& root, const std::vector<std::string>& extras = {}) {
  if (extras.empty()) {
    const CompiledStarterContent& compiled = CompiledStarterContent::Get();
    ASSERT_EQ(compiled.built.code, 0) << compiled.built.err;
    std::filesystem::create_directories(root);
    std::filesystem::copy(compiled.folder.Path(), root,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    return;
  }
  const ProgramRun built = tova_test::CompileContent(StarterContentArguments(root, extras));
  ASSERT_EQ(built.code, 0) << built.err;
}

}  // namespace tova_test
