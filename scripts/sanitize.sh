#!/usr/bin/env bash
# Builds every program and test with AddressSanitizer and
# UndefinedBehaviorSanitizer (no recovery: the first report ends the process)
# into build-sanitize/, then runs the whole test suite there. Programs the
# tests start (orvex, skyloom) are the sanitized builds too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-sanitize"
"$root/scripts/setup.sh"

flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
[ -e "$build/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$build" -j"$(nproc)"
cc -shared -fPIC -O2 -o "$build/keep_libraries_loaded.so" "$root/scripts/sanitize/keep_libraries_loaded.c"

# A sanitizer report exits with its own status, so that it can never pass for
# the status 1 that some tests expect of the viewer's fatal errors.
export ASAN_OPTIONS="detect_leaks=1:exitcode=86:detect_stack_use_after_return=1:check_initialization_order=1:verify_asan_link_order=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=86"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitize/lsan-suppressions.txt:print_suppressions=0"
# The sanitizer runtime need not come first: the preloaded library allocates
# nothing.
export LD_PRELOAD="$build/keep_libraries_loaded.so"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 900
