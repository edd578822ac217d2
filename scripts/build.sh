#!/usr/bin/env bash
# Installs what is missing and builds into build/: the targets named on the
# command line, or everything.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
# Configure once; later builds re-run CMake by themselves when it is needed.
[ -e "$root/build/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
[ $# -eq 0 ] || targets=(--target "$@")
cmake --build "$root/build" -j"$(nproc)" "${targets[@]}"
