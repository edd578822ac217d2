#!/usr/bin/env bash
# Takes the README's pictures again: docs/map.png (the map with the demo
# sheets named and a range chosen) and docs/viewer.png (the viewer flying
# over the demo terrain with summit names on). Both come from the end-to-end
# test, which lays out the demo as the run command does and drives skyloom
# and orvex under a virtual X server; so the pictures show what is tested.
# Usage: screenshots.sh [BUILD_DIR]   (default: build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/setup.sh"
[ -e "$build/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target frontend_end_to_end_tests -j"$(nproc)"

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
SCREENSHOT_DIR=$shots xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tests/frontend/end_to_end/frontend_end_to_end_tests" \
    --gtest_filter='EndToEnd.ANewcomerFliesOverTheDemoSheetsWithSummitNames'
mkdir -p "$root/docs"
for picture in map viewer; do
    install -m 644 "$shots/$picture.png" "$root/docs/$picture.png.tmp"
    mv "$root/docs/$picture.png.tmp" "$root/docs/$picture.png"
done
echo "Wrote $root/docs/map.png and $root/docs/viewer.png"
