// The content compiler as a function: what `contentc --out DATA_ROOT
// SOURCE...` does, for the program and for callers that compile content
// without starting it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Compiles the sources named in `arguments` (the program's arguments, without
// its own name) into the data root given with --out. Messages go to
// `messages`, one a line. Returns the program's exit code: 0 when every
// source compiled and was written, 1 on a fault in a source or in writing,
// 2 when the arguments name no data root or no source.
int RunContentCompiler(const std::vector<std::string>& arguments, std::ostream& messages);
