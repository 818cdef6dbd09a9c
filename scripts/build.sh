#!/usr/bin/env bash
# Configures and builds one configuration: build.sh <release|dev|fuzz> [targets...]
#   release  optimised, without debug information (build/release): what run.sh
#            uses; debug information would double its compile and link time.
#            clang when installed (setup.sh installs it), else the default c++
#   dev      clang with AddressSanitizer + UndefinedBehaviorSanitizer (build/dev):
#            the tests, and the libFuzzer targets (fuzz_<name>) beside them
#   fuzz     the same build as dev (build/dev)
# TOVA_UNITY=OFF compiles every file alone instead of in unity batches (the
# folder is configured again whenever that setting changes).
# A build folder configured with other settings (an older layout) is made again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
config=${1:-release}
shift || true
case "$config" in
  release) name=release
           # clang rather than the system's default compiler: it compiles this
           # code about a quarter faster at -O2 and the tests' assertion-heavy
           # code at -O0 three times faster, and the dev build already uses it.
           args=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG"
                 "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG")
           if command -v clang++ >/dev/null; then
             args+=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
           fi ;;
  dev|fuzz) name=dev
           # -O1: the sanitizer tests and fuzz replays run several times faster
           # than at -O0, and the sanitizers still see every access. Line tables
           # only: a sanitizer's stack trace still names file and line, at a
           # fraction of full debug information's compile and link time.
           args=(-DCMAKE_BUILD_TYPE=Debug -DTOVA_SANITIZE=ON -DTOVA_FUZZ=ON -DTOVA_BENCH=OFF
                 -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
                 "-DCMAKE_C_FLAGS_DEBUG=-gline-tables-only -O1" "-DCMAKE_CXX_FLAGS_DEBUG=-gline-tables-only -O1") ;;
  *) echo "usage: build.sh <release|dev|fuzz> [targets...]" >&2; exit 2 ;;
esac
if [ "${TOVA_UNITY:-ON}" = OFF ]; then
  args+=("-DTOVA_UNITY=$TOVA_UNITY")
fi
dir="$root/build/$name"
stamp="$dir/.tova-settings"
if [ -f "$dir/build.ninja" ] && [ "$(cat "$stamp" 2>/dev/null)" != "${args[*]}" ]; then
  echo "build.sh: $dir was configured with other settings; configuring it again"
  rm -rf "$dir"
fi
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root" -B "$dir" -G Ninja "${args[@]}"
  echo "${args[*]}" > "$stamp"
fi
if [ $# -gt 0 ]; then
  cmake --build "$dir" --target "$@"
else
  cmake --build "$dir"
fi
