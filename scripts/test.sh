#!/usr/bin/env bash
# Installs what is missing, checks the C++ formatting, builds, and runs every
# test: the test suite, the same suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer, the reliability runs (random input, kills while
# saving, a full disk: scripts/reliability/), and every fuzz target for
# FUZZ_SECONDS (20 by default) so that a reader that has come to crash shows
# at once.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/check_format.sh"
"$root/scripts/build.sh"
(cd "$root/build" && ctest --output-on-failure -j"$(nproc)" --timeout 600)
"$root/scripts/sanitize.sh"
"$root/scripts/reliability/all.sh"
"$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-20}"
