#!/usr/bin/env bash
# Builds everything on a fresh machine and starts the game on the starter
# content (or on an installed data root: run.sh --data /path/to/data).
# While the game program does not exist yet, it says so and runs what does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/release/bin"
data="$root/build/release/data"
if [ "${1:-}" = "--data" ]; then
  if [ $# -lt 2 ]; then echo "usage: run.sh [--data DATA_ROOT] [game arguments...]" >&2; exit 2; fi
  data=$2
  shift 2
fi
"$root/scripts/setup.sh"
"$root/scripts/build.sh" release

if [ -x "$bin/tova" ]; then
  cd "$data"
  exec "$bin/tova" "$@"
fi

echo "The game program (tova) is not built yet: the project has its framework, resource files,"
echo "game data and world grid, but no simulation, drawing or windows."
echo
if [ -x "$bin/catalog_dump" ] && [ -d "$data/GameData" ]; then
  echo "The object catalogue as the game would load it from $data:"
  "$bin/catalog_dump" --data "$data"
  echo
fi
if [ -x "$bin/fw_demo" ]; then
  echo "The framework demo (builds a framework, runs its main loop and a timer, quits with code 3):"
  set +e
  "$bin/fw_demo" "$@"
  code=$?
  set -e
  echo "fw_demo exited with code $code"
fi
