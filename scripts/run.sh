#!/usr/bin/env bash
# Installs what is missing, builds the programs that layout.sh lays out,
# lays out a working directory with the demo terrain under run/, and starts
# the map front-end on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" orvex skyloom orvex-export make-demo-data
"$root/scripts/layout.sh" "$root/build" "$root/run"
exec "$root/run/work/skyloom" "$root/run/work"
