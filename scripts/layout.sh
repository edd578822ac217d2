#!/usr/bin/env bash
# Lays out a working directory for the two programs beside the demo data:
#   ROOT/work/     orvex, skyloom, orvex-export, the summit lists, the
#                  coastline, readme.txt and orvex.col
#   ROOT/GSI50M/, ROOT/GSI250M/, ROOT/SRTM3/, ROOT/SRTM30/   demo terrain
#   ROOT/FGD/      the same terrain as GSI base map DEM downloads (10 m, and
#                  5 m around Fuji) for orvex -fgd10 ../FGD and -fgd5 ../FGD
# so that skyloom's default data folders (../GSI50M, ../GSI250M) find it.
# Usage: layout.sh BUILD_DIR ROOT. Files the programs write (orvex.col,
# orvex.env, skyloom.env) are never overwritten; the demo data is generated
# only once (again where an older layout has no FGD folder yet).
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR ROOT" >&2; exit 2; }
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
root=$(cd "$2" && pwd)
work="$root/work"
mkdir -p "$work"

install -m 755 "$build/viewer/orvex" "$build/frontend/skyloom" "$build/export/orvex-export" "$work/"
install -m 644 "$src/data/MtJapan.txt" "$src/data/MtWorld.txt" "$src/data/JapanCoast.txt" \
    "$src/data/readme.txt" "$work/"
[ -e "$work/orvex.col" ] || install -m 644 "$src/data/orvex.col" "$work/"

if [ ! -e "$root/.demo-data-complete" ] || [ ! -d "$root/FGD" ]; then
    echo "Generating the demo terrain in $root ..."
    "$build/demo/make-demo-data" --coast "$src/data/JapanCoast.txt" "$root"
    touch "$root/.demo-data-complete"
fi
