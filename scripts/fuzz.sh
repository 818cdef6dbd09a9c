#!/usr/bin/env bash
# Runs every fuzz target for a bounded time: fuzz.sh [seconds-per-target]
# Seeds come from fuzz/corpus/<name>/; new inputs go to a scratch folder so the
# checked-in corpus stays small. Skipped with a message when clang is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
if ! ls "$root"/fuzz/*.cpp >/dev/null 2>&1; then
  echo "== fuzz: no targets yet"; exit 0
fi
if ! command -v clang++ >/dev/null; then
  echo "== fuzz: clang++ not installed, fuzz targets skipped"; exit 0
fi
echo "== fuzz targets, ${seconds}s each"
"$root/scripts/build.sh" fuzz
for src in "$root"/fuzz/*.cpp; do
  name=$(basename "$src" .cpp)
  scratch=$(mktemp -d)
  seeds=()
  [ -d "$root/fuzz/corpus/$name" ] && seeds+=("$root/fuzz/corpus/$name")
  echo "-- fuzz_$name"
  ASAN_OPTIONS=detect_leaks=1 "$root/build/fuzz/bin/fuzz_$name" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
      "$scratch" "${seeds[@]}" 2>"$scratch.log" || { tail -40 "$scratch.log"; exit 1; }
  rm -rf "$scratch" "$scratch.log"
done
