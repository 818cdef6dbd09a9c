#!/usr/bin/env bash
# The whole test suite on a fresh machine: installs what is missing, builds and
# runs every test plainly, again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then replays each fuzz target's corpus and a fixed-seed
# run of it (the same verdict on every machine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/setup.sh"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

echo "== release build and tests"
"$root/scripts/build.sh" release
ctest --test-dir "$root/build/release" --output-on-failure -j "$jobs" --timeout 600

echo "== sanitizer build and tests"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$root/scripts/build.sh" dev
ctest --test-dir "$root/build/dev" --output-on-failure -j "$jobs" --timeout 900

"$root/scripts/fuzz.sh" check "${TOVA_FUZZ_RUNS:-20000}"
echo "== all tests passed"
