#!/usr/bin/env bash
# Fuzz targets, two ways:
#   fuzz.sh check [runs]     replays every checked-in input, then mutates from a
#                            fixed seed for a fixed number of runs; the same code
#                            gives the same verdict on every machine (the test
#                            suite uses this).
#   fuzz.sh explore [secs]   searches for new failures for a bounded time per
#                            target with a random seed.
# Failing inputs of either mode are kept in build/fuzz/findings/<name>/.
# Seeds come from fuzz/corpus/<name>/ (inputs that once failed live there too,
# so they are replayed forever); new inputs go to a scratch folder so the
# checked-in corpus stays small. Skipped with a message when clang is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-check}
case "$mode" in
  check) budget=${2:-20000} ;;
  explore) budget=${2:-60} ;;
  *) echo "usage: fuzz.sh check [runs] | explore [seconds]" >&2; exit 2 ;;
esac
if ! ls "$root"/fuzz/*.cpp >/dev/null 2>&1; then
  echo "== fuzz: no targets yet"; exit 0
fi
if ! command -v clang++ >/dev/null; then
  echo "== fuzz: clang++ not installed, fuzz targets skipped"; exit 0
fi
"$root/scripts/build.sh" fuzz
export ASAN_OPTIONS=detect_leaks=1
common=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=0)
if [ "$mode" = check ]; then
  echo "== fuzz targets: corpus replay and ${budget} seeded runs each"
else
  echo "== fuzz targets: exploring ${budget}s each"
fi
scratch=""
log=""
trap 'rm -rf "$scratch" "$log"' EXIT
failed() { tail -40 "$log"; echo "failing input kept in $findings/"; exit 1; }
for src in "$root"/fuzz/*.cpp; do
  name=$(basename "$src" .cpp)
  bin="$root/build/fuzz/bin/fuzz_$name"
  corpus="$root/fuzz/corpus/$name"
  # Crashing inputs go here, never into the working folder.
  findings="$root/build/fuzz/findings/$name"
  mkdir -p "$findings"
  fuzz=("$bin" "${common[@]}" -artifact_prefix="$findings/")
  scratch=$(mktemp -d)
  log="$scratch.log"
  echo "-- fuzz_$name"
  seeds=()
  [ -d "$corpus" ] && seeds+=("$corpus")
  if [ "$mode" = check ]; then
    if [ -d "$corpus" ] && ls -A "$corpus" | grep -q .; then
      # Each file run once, by name, in a fixed order.
      mapfile -t files < <(find "$corpus" -type f | LC_ALL=C sort)
      "${fuzz[@]}" "${files[@]}" >"$log" 2>&1 || failed
    fi
    "${fuzz[@]}" -seed=1 -runs="$budget" "$scratch" "${seeds[@]}" >"$log" 2>&1 || failed
  else
    "${fuzz[@]}" -max_total_time="$budget" "$scratch" "${seeds[@]}" >"$log" 2>&1 || failed
  fi
  rm -rf "$scratch" "$log"
done
