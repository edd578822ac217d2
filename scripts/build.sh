#!/usr/bin/env bash
# Installs what is missing and builds everything into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
# Configure once; later builds re-run CMake by themselves when it is needed.
[ -e "$root/build/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)"
