#!/usr/bin/env bash
# Fuzz targets (from the dev build: clang, ASan+UBSan), two ways:
#   fuzz.sh check [runs]     runs every checked-in input, then mutates from a
#                            fixed seed for a fixed number of runs, so a slow
#                            machine does as much as a fast one (the test suite
#                            uses this). The inputs tried can still differ a
#                            little between runs: the mutator learns from the
#                            values the code compares, which may hold addresses
#                            or times.
#   fuzz.sh explore [secs]   searches for new failures for a bounded time per
#                            target with a random seed.
# Targets run side by side, one per processor (TOVA_JOBS to choose).
# Failing inputs of either mode are kept in build/dev/findings/<name>/.
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
# The targets that take longest start first, so that none of them is left
# running alone at the end while the other processors idle.
slow_first=(family_file house_file world_layers neighborhood_file person_records fonts vek_client koral_bmp ini_file)
names=()
for name in "${slow_first[@]}"; do
  if [ -f "$root/fuzz/$name.cpp" ]; then names+=("$name"); fi
done
for src in "$root"/fuzz/*.cpp; do
  name=$(basename "$src" .cpp)
  if [[ " ${slow_first[*]} " != *" $name "* ]]; then names+=("$name"); fi
done
"$root/scripts/build.sh" dev "${names[@]/#/fuzz_}"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
common=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=0)
if [ "$mode" = check ]; then
  echo "== fuzz targets: corpus replay and ${budget} seeded runs each"
else
  echo "== fuzz targets: exploring ${budget}s each"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One target; its output goes to $work/<name>.log, kept only when it fails.
one() {
  local name=$1
  local bin="$root/build/dev/bin/fuzz_$name"
  local corpus="$root/fuzz/corpus/$name"
  # Crashing inputs go here, never into the working folder.
  local findings="$root/build/dev/findings/$name"
  local scratch="$work/$name.scratch" log="$work/$name.log"
  mkdir -p "$findings" "$scratch"
  local fuzz=("$bin" "${common[@]}" -artifact_prefix="$findings/")
  local seeds=()
  [ -d "$corpus" ] && seeds+=("$corpus")
  if [ -d "$corpus" ]; then
    # libFuzzer runs every seed file once at start-up, whatever -runs says and
    # whether or not it adds coverage, so the seeded run below is also the
    # replay of the checked-in corpus (no separate pass by name). It cuts a
    # seed to -max_len, by default the largest seed's size but at most 1 MiB:
    # past that the limit is raised so that every seed still runs whole.
    local largest
    largest=$(find "$corpus" -type f -printf '%s\n' | sort -n | tail -1)
    if [ "${largest:-0}" -gt 1048576 ]; then fuzz+=(-max_len="$largest"); fi
  fi
  if [ "$mode" = check ]; then
    "${fuzz[@]}" -seed=1 -runs="$budget" "$scratch" "${seeds[@]}" >"$log" 2>&1 || return 1
  else
    "${fuzz[@]}" -max_total_time="$budget" "$scratch" "${seeds[@]}" >"$log" 2>&1 || return 1
  fi
  rm -rf "$scratch" "$log"
}

jobs=${TOVA_JOBS:-$(nproc)}
declare -A running=()
failures=()
# Waits for one target to end and notes whether it failed.
reap() {
  local pid status=0
  wait -n -p pid "${!running[@]}" || status=$?
  local name=${running[$pid]}
  unset "running[$pid]"
  if [ "$status" -ne 0 ]; then failures+=("$name"); else echo "-- fuzz_$name ok"; fi
}
for name in "${names[@]}"; do
  while [ ${#running[@]} -ge "$jobs" ]; do reap; done
  one "$name" &
  running[$!]=$name
done
while [ ${#running[@]} -gt 0 ]; do reap; done

for name in "${failures[@]}"; do
  echo "-- fuzz_$name FAILED"
  tail -40 "$work/$name.log"
  echo "failing input kept in $root/build/dev/findings/$name/"
done
[ ${#failures[@]} -eq 0 ]
