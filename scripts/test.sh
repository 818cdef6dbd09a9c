#!/usr/bin/env bash
# The whole test suite on a fresh machine: installs what is missing, builds and
# runs every test plainly, again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs each fuzz target for a bounded time.
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

"$root/scripts/fuzz.sh" "${TOVA_FUZZ_SECONDS:-20}"
echo "== all tests passed"
