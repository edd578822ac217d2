#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs every target
# (or the ones named) for SECONDS each, as many at once as there are cores.
#
#   scripts/fuzz.sh [SECONDS] [TARGET ...]      (default 60 s; targets: fuzz_*)
#
# Each target starts from the seed files in fuzz/corpus/<target> and from the
# inputs earlier runs found interesting, kept in build-fuzz/corpus/<target>.
# A crash, leak, undefined behaviour, hang (10 s for one input) or oversized
# allocation is kept in fuzz-findings/<target>/ and fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${1:-60}
[ $# -gt 0 ] && shift
"$root/scripts/setup.sh"

[ -e "$build/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DFUZZING=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for seeds in "$root"/fuzz/corpus/*/; do
        targets+=("$(basename "$seeds")")
    done
fi

export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# Runs one target; its exit status is left in logs/<target>.status.
run_one() {
    local target=$1 status=0
    local work="$build/corpus/$target" findings="$root/fuzz-findings/$target"
    mkdir -p "$work" "$findings"
    "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$root/fuzz/corpus/$target" \
        >"$build/logs/$target.log" 2>&1 || status=$?
    echo "$status" >"$build/logs/$target.status"
}

mkdir -p "$build/logs"
running=0
for target in "${targets[@]}"; do
    rm -f "$build/logs/$target.status"
    if [ "$running" -ge "$(nproc)" ]; then
        wait -n || true
        running=$((running - 1))
    fi
    run_one "$target" &
    running=$((running + 1))
done
wait

failed=0
printf '%-22s %12s %8s %8s  %s\n' target executions seconds corpus result
for target in "${targets[@]}"; do
    log="$build/logs/$target.log"
    result=clean
    [ "$(cat "$build/logs/$target.status" 2>/dev/null)" = 0 ] || result="FOUND: see $log and fuzz-findings/$target/"
    [ "$result" = clean ] || failed=1
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    time=$(sed -n 's/.*Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    printf '%-22s %12s %8s %8s  %s\n' "$target" "${runs:-?}" "${time:-?}" \
        "$(find "$build/corpus/$target" -type f | wc -l)" "$result"
    [ "$result" = clean ] || tail -n 60 "$log"
done
exit $failed
