#!/usr/bin/env bash
# Builds everything on a fresh machine and starts the game on the starter
# content (or on an installed data root: run.sh --data /path/to/data); the
# other arguments go to the game (its switches, such as -w or -r1024x768).
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

# The game runs in its data root (the working folder).
cd "$data"
exec "$bin/tova" "$@"
