#!/usr/bin/env bash
# Checks that every C++ file is formatted as .clang-format says: the files
# git tracks, or, where the tree is not a git checkout, every C++ file
# outside the build folders. Prints each fault and fails if there is one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if command -v git >/dev/null && [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$root" ]; then
    git ls-files -z '*.cpp' '*.h' '*.c'
else
    find . \( -name 'build*' -o -name run -o -name fuzz-findings -o -name '.*' ! -name . \) -prune -o \
        -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0
fi | xargs -0 -r clang-format --dry-run --Werror
