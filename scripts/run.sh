#!/usr/bin/env bash
# Installs what is missing, builds, lays out a working directory with the
# demo terrain under run/, and starts the map front-end on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
"$root/scripts/layout.sh" "$root/build" "$root/run"
exec "$root/run/work/skyloom" "$root/run/work"
