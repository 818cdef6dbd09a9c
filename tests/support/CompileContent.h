// Compiles content sources in-process, as `contentc` would with the same
// arguments: for tests whose fixture is a compiled data root. Tests of the
// program's own command line start the program instead (RunProgram.h).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/RunProgram.h"
#include "support/ScratchDir.h"
#include "tools/contentc/ContentCompiler.h"

namespace tova_test {

// The exit code the program would give and its messages (in `err`).
inline ProgramRun CompileContent(const std::vector<std::string>& args) {
  std::ostringstream messages;
  ProgramRun run;
  run.code = RunContentCompiler(args, messages);
  run.err = messages.str();
  return run;
}

// The sources compiled into `root` as CompileContent({"--out", root,
// sources...}) would, but compiled once per test program: later calls with
// the same sources copy the first compile's data root. For fixtures that
// several tests compile alike and then change on their own.
inline ProgramRun CompileContentShared(const std::string& root, const std::vector<std::string>& sources) {
  struct Compiled {
    ScratchDir folder;
    ProgramRun built;
  };
  static std::map<std::vector<std::string>, std::unique_ptr<Compiled>> compiled;
  std::unique_ptr<Compiled>& once = compiled[sources];
  if (!once) {
    once = std::make_unique<Compiled>();
    std::vector<std::string> args = {"--out", once->folder.Path().string()};
    args.insert(args.end(), sources.begin(), sources.end());
    once->built = CompileContent(args);
  }
  if (once->built.code == 0) {
    std::filesystem::create_directories(root);
    std::filesystem::copy(once->folder.Path(), root,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  }
  return once->built;
}

}  // namespace tova_test
