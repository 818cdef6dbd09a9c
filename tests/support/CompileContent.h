// Compiles content sources in-process, as `contentc` would with the same
// arguments: for tests whose fixture is a compiled data root. Tests of the
// program's own command line start the program instead (RunProgram.h).
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "support/RunProgram.h"
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

}  // namespace tova_test
