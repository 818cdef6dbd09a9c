#pragma once
// Where a test finds the project's sources and the programs of its build.
// Every test source sees this header first (the build forces it in). The paths
// themselves are compiled into one small generated file per build, so that
// every other test object is the same in any checkout of the project and the
// compiler cache can share it between them.
namespace tova_test {
const char* SourceDir();
const char* BinDir();
}  // namespace tova_test

#define TOVA_SOURCE_DIR (::tova_test::SourceDir())
#define TOVA_BIN_DIR (::tova_test::BinDir())
