#!/usr/bin/env bash
# Plants the faults of scripts/faults.txt into the production sources one at a
# time, rebuilds, runs the whole test suite and says whether some test failed
# (KILLED), none did (SURVIVED) or the fault did not compile (NOBUILD). The
# changed file is always put back, also when the run is interrupted.
#
#   scripts/plant_faults.sh [BUILD_DIR] [ID...]
#   scripts/plant_faults.sh --check            only check that every snippet
#                                              occurs exactly once
#
# BUILD_DIR is a configured build folder (default: build/ beside scripts/).
# With IDs only those faults are planted. A fault's file is found by searching
# for its snippet, not by path: every source under the top-level folders of the
# repository except tests, fuzz targets, benchmarks, scripts, docs, data and
# build folders (FAULT_DIRS, a space-separated list of folders relative to the
# repository, overrides that). SKIP_BASELINE=1 skips the check that the
# unchanged sources pass. Per fault, the build and test output and the names of
# the failing tests are kept under BUILD_DIR/fault-logs; BUILD_DIR/fault-results.tsv
# holds one line per fault: id, file, result, failing tests, seconds.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
faults_file=${FAULTS_FILE:-$root/scripts/faults.txt}

check_only=0
if [ "${1:-}" = "--check" ]; then
    check_only=1
    shift
fi
build=$(realpath -m "${1:-$root/build}")
[ $# -gt 0 ] && shift
wanted=("$@")

die() {
    echo "plant_faults: $*" >&2
    exit 2
}

[ -r "$faults_file" ] || die "cannot read $faults_file"

# The folders searched for snippets.
search_dirs=()
if [ -n "${FAULT_DIRS:-}" ]; then
    for d in $FAULT_DIRS; do
        [ -d "$root/$d" ] || die "FAULT_DIRS names $d, which is not a folder of $root"
        search_dirs+=("$root/$d")
    done
else
    for d in "$root"/*/; do
        d=${d%/}
        name=$(basename "$d")
        case "$name" in
        tests | test | fuzz | bench | benchmarks | scripts | docs | data | build* | run | cmake) continue ;;
        esac
        [ "$(realpath "$d")" = "$build" ] && continue
        [ -e "$d/CMakeCache.txt" ] && continue
        search_dirs+=("$d")
    done
fi
[ ${#search_dirs[@]} -gt 0 ] || die "no source folders to search under $root"

grep_sources() { # grep options and pattern follow
    grep -r --include='*.cpp' --include='*.cc' --include='*.cxx' --include='*.h' --include='*.hpp' \
        --include='*.inl' --exclude-dir=tests --exclude-dir=test --exclude-dir=fuzz --exclude-dir='build*' \
        "$@" "${search_dirs[@]}"
}

# Prints the one file holding the snippet; fails when the snippet does not
# occur exactly once across all searched sources.
locate() {
    local snippet=$1 files file count=0 n
    files=$(grep_sources -lF -e "$snippet") || true
    while IFS= read -r file; do
        [ -n "$file" ] || continue
        n=$(grep -oF -e "$snippet" "$file" | wc -l)
        count=$((count + n))
    done <<<"$files"
    if [ "$count" -ne 1 ]; then
        echo "snippet occurs $count times (must be exactly once): $snippet" >&2
        [ -n "$files" ] && echo "$files" | sed 's/^/    in /' >&2
        return 1
    fi
    printf '%s\n' "$files"
}

# Replaces the snippet's one occurrence in the file, byte for byte.
replace_once() {
    perl -e '
        my ($path, $from, $to) = @ARGV;
        open(my $in, "<:raw", $path) or die "cannot read $path: $!\n";
        local $/; my $text = <$in>; close $in;
        my $at = index($text, $from);
        die "snippet not found in $path\n" if $at < 0;
        die "snippet occurs more than once in $path\n" if index($text, $from, $at + 1) >= 0;
        substr($text, $at, length $from) = $to;
        open(my $out, ">:raw", $path) or die "cannot write $path: $!\n";
        print $out $text; close $out or die "cannot write $path: $!\n";
    ' "$1" "$2" "$3"
}

# Reads the fault list into parallel arrays.
ids=() descs=() origs=() repls=()
line_no=0
while IFS= read -r line || [ -n "$line" ]; do
    line_no=$((line_no + 1))
    line=${line%$'\r'}
    case "$line" in '' | '#'*) continue ;; esac
    IFS=$'\t' read -r id desc orig repl extra <<<"$line"
    [ -n "${id:-}" ] && [ -n "${desc:-}" ] && [ -n "${orig:-}" ] && [ -n "${repl:-}" ] && [ -z "${extra:-}" ] ||
        die "$faults_file:$line_no: need four tab-separated fields: id, description, original, replacement"
    [ "$orig" != "$repl" ] || die "$faults_file:$line_no: the replacement equals the original"
    for seen in "${ids[@]}"; do
        [ "$seen" != "$id" ] || die "$faults_file:$line_no: id $id used twice"
    done
    if [ ${#wanted[@]} -gt 0 ]; then
        keep=0
        for w in "${wanted[@]}"; do [ "$w" = "$id" ] && keep=1; done
        [ $keep -eq 1 ] || continue
    fi
    ids+=("$id") descs+=("$desc") origs+=("$orig") repls+=("$repl")
done <"$faults_file"
[ ${#ids[@]} -gt 0 ] || die "no faults selected"
if [ ${#wanted[@]} -gt 0 ] && [ ${#wanted[@]} -ne ${#ids[@]} ]; then
    die "some of the ids asked for are not in $faults_file"
fi

# Every snippet must be found before anything is built.
files=()
bad=0
for k in "${!ids[@]}"; do
    if file=$(locate "${origs[$k]}"); then
        files+=("$file")
    else
        echo "  (fault ${ids[$k]})" >&2
        files+=("")
        bad=1
    fi
done
[ $bad -eq 0 ] || die "fix the snippets above first"
if [ $check_only -eq 1 ]; then
    for k in "${!ids[@]}"; do
        printf '%s\t%s\n' "${ids[$k]}" "${files[$k]#"$root"/}"
    done
    echo "all ${#ids[@]} snippets occur exactly once"
    exit 0
fi

[ -e "$build/CMakeCache.txt" ] || die "$build is not a configured build folder"
log_dir=$build/fault-logs
mkdir -p "$log_dir" || die "cannot make $log_dir"
results=$build/fault-results.tsv
backup_dir=$(mktemp -d "${TMPDIR:-/tmp}/plant-faults.XXXXXX") || die "cannot make a scratch folder"

# Restoring: the planted file goes back to its saved bytes. It is written, not
# moved or copied with its old time, so that the next build recompiles it.
planted_file=""
child=""
restore() {
    if [ -n "$planted_file" ]; then
        cat "$backup_dir/original" >"$planted_file" && planted_file=""
    fi
}
on_exit() {
    if [ -n "$child" ]; then
        kill -TERM -- "-$child" 2>/dev/null || kill -TERM "$child" 2>/dev/null
    fi
    restore
    rm -rf "$backup_dir"
}
trap on_exit EXIT
trap 'echo "plant_faults: interrupted, restoring" >&2; exit 130' INT TERM HUP

# Runs a command in the background, its output into a log, and waits, so that
# a signal is acted on at once rather than when the command ends.
run_child() { # log file, command...
    local log=$1
    shift
    # In a session of its own, so that an interrupt can end it with its children.
    setsid "$@" >"$log" 2>&1 &
    child=$!
    wait "$child"
    local rc=$?
    child=""
    return $rc
}

run_tests() { # log file
    run_child "$1" ctest --test-dir "$build" -j2 --timeout 300 --output-on-failure
}

failing_tests() { # ctest log
    sed -n '/The following tests FAILED:/,$p' "$1" | sed -nE 's/^[[:space:]]*[0-9]+ - (.*)$/\1/p'
}

run_start=$(date +%s)
if [ "${SKIP_BASELINE:-0}" != 1 ]; then
    echo "baseline: building and testing the unchanged sources"
    run_child "$log_dir/baseline.build.log" cmake --build "$build" -j2 ||
        die "the unchanged sources do not build; see $log_dir/baseline.build.log"
    if ! run_tests "$log_dir/baseline.ctest.log"; then
        failing_tests "$log_dir/baseline.ctest.log" >&2
        die "tests fail without any fault; see $log_dir/baseline.ctest.log"
    fi
fi

printf 'id\tfile\tresult\tfailing tests\tseconds\n' >"$results"
killed=0 survived=0 nobuild=0
for k in "${!ids[@]}"; do
    id=${ids[$k]}
    file=${files[$k]}
    rel=${file#"$root"/}
    fault_start=$(date +%s)
    # Found again in case an earlier fault left something behind.
    file=$(locate "${origs[$k]}") || die "snippet of $id no longer occurs exactly once"
    cat "$file" >"$backup_dir/original" || die "cannot save $file"
    planted_file=$file
    replace_once "$file" "${origs[$k]}" "${repls[$k]}" || die "cannot plant $id in $file"

    failing=""
    if ! run_child "$log_dir/$id.build.log" cmake --build "$build" -j2; then
        result=NOBUILD
        nobuild=$((nobuild + 1))
    elif run_tests "$log_dir/$id.ctest.log"; then
        result=SURVIVED
        survived=$((survived + 1))
    else
        result=KILLED
        killed=$((killed + 1))
        failing=$(failing_tests "$log_dir/$id.ctest.log")
        [ -n "$failing" ] || failing="(ctest failed without naming a test)"
    fi
    restore
    printf '%s\n' "$failing" >"$log_dir/$id.failing.txt"
    seconds=$(($(date +%s) - fault_start))
    printf '%s\t%s\t%s\t%s\t%s\n' "$id" "$rel" "$result" "$(printf '%s' "$failing" | paste -sd ';' -)" \
        "$seconds" >>"$results"
    echo "FAULT $id $result"
done

# Leave the build folder built from the unchanged sources.
run_child "$log_dir/restore.build.log" cmake --build "$build" -j2 ||
    echo "plant_faults: warning: the final rebuild of the unchanged sources failed" >&2

built=$((killed + survived))
echo "caught $killed of $built"
[ $nobuild -eq 0 ] || echo "not compiled: $nobuild"
echo "details: $results; logs: $log_dir; wall time $(($(date +%s) - run_start)) s"
[ $nobuild -eq 0 ]
