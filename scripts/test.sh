#!/usr/bin/env bash
# The whole test suite on a fresh machine: installs what is missing, builds and
# runs every test in the release build, then builds the dev build (clang,
# AddressSanitizer and UndefinedBehaviorSanitizer) where every test runs again
# and each fuzz target replays its corpus and a fixed-seed run of a fixed
# number of inputs. Ends with how long each phase took.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# One test process more than processors: a few tests wait out timers and
# stalls by design, and the processor would idle meanwhile.
test_jobs=$((jobs + 1))

phases=()
# phase NAME COMMAND...: runs the command and notes its wall time and, for
# builds, how many compilations the compiler cache answered.
phase() {
  local name=$1; shift
  local t0 before=""
  t0=$(date +%s.%N)
  command -v ccache >/dev/null && before=$(cache_counts)
  local status=0
  "$@" || status=$?
  local secs cache=""
  secs=$(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
  if [ -n "$before" ]; then
    cache=$(cache_delta "$before" "$(cache_counts)")
  fi
  phases+=("$(printf '%-22s %7.1f s  %s' "$name" "$secs" "$cache")")
  return $status
}
# Hits and misses so far, without resetting the shared statistics.
cache_counts() {
  ccache --print-stats 2>/dev/null |
    awk '$1=="direct_cache_hit"||$1=="preprocessed_cache_hit"{h+=$2} $1=="cache_miss"{m+=$2} END{print h+0, m+0}'
}
cache_delta() {
  local h0 m0 h1 m1
  read -r h0 m0 <<<"$1"; read -r h1 m1 <<<"$2"
  local h=$((h1 - h0)) m=$((m1 - m0))
  [ $((h + m)) -gt 0 ] && echo "ccache $h hits, $m misses"
  return 0
}
report() {
  local status=$?
  echo "== timings (wall)"
  printf '  %s\n' "${phases[@]}"
  printf '  %-22s %7d s\n' total "$SECONDS"
  [ $status -eq 0 ] && echo "== all tests passed" || echo "== FAILED"
}
trap report EXIT

phase "set-up" "$root/scripts/setup.sh"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

echo "== release build and tests"
phase "release build" "$root/scripts/build.sh" release
phase "release tests" ctest --test-dir "$root/build/release" --output-on-failure -j "$test_jobs" --timeout 600

echo "== sanitizer build (with the fuzz targets) and tests"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
phase "sanitizer build" "$root/scripts/build.sh" dev
phase "sanitizer tests" ctest --test-dir "$root/build/dev" --output-on-failure -j "$test_jobs" --timeout 900

phase "fuzz replay" "$root/scripts/fuzz.sh" check "${TOVA_FUZZ_RUNS:-20000}"
