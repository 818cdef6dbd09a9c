// contentc --out DATA_ROOT SOURCE...: compiles content sources into the
// resource files of a data root.
#include <iostream>
#include <string>
#include <vector>

#include "tools/contentc/ContentCompiler.h"

int main(int argc, char** argv) {
  return RunContentCompiler(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}
