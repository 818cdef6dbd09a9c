#!/usr/bin/env bash
# Configures and builds one configuration: build.sh <release|dev|fuzz> [targets...]
#   release  optimised with debug information (build/release)
#   dev      AddressSanitizer + UndefinedBehaviorSanitizer (build/dev)
#   fuzz     clang, libFuzzer targets (build/fuzz)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
config=${1:-release}
shift || true
case "$config" in
  release) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  dev)     args=(-DCMAKE_BUILD_TYPE=Debug -DTOVA_SANITIZE=ON -DTOVA_BENCH=OFF) ;;
  fuzz)    args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVA_FUZZ=ON -DTOVA_TESTS=OFF -DTOVA_BENCH=OFF
                 -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "usage: build.sh <release|dev|fuzz> [targets...]" >&2; exit 2 ;;
esac
dir="$root/build/$config"
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root" -B "$dir" -G Ninja "${args[@]}"
fi
if [ $# -gt 0 ]; then
  cmake --build "$dir" --target "$@"
else
  cmake --build "$dir"
fi
