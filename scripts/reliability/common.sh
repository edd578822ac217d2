# Shared by the reliability runs (sourced): the build whose programs they run,
# the demo layout, a virtual X server, the sanitizer settings, and the
# programs started and waited for.
set -euo pipefail
src=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# The sanitized build by default; RELIABILITY_BUILD=build runs the plain one.
build=$(cd "${RELIABILITY_BUILD:-$src/build-sanitize}" && pwd)
demo=$build/reliability # the demo terrain, generated once, and the working folders

# Runs the calling script again under a virtual X server of its own, unless
# it already runs under one.
with_x_server() {
    [ -n "${RELIABILITY_X:-}" ] && return
    RELIABILITY_X=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
}

# A fresh working folder $demo/work with the programs, the shipped files and
# the default colours, beside the demo terrain.
fresh_work() {
    rm -rf "$demo/work" "$demo/runtime"
    "$src/scripts/layout.sh" "$build" "$demo" >/dev/null
    mkdir -m 700 "$demo/runtime"
    work=$demo/work
}

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# As scripts/sanitize.sh sets them: a report ends the program with status 86.
keep_loaded=$build/keep_libraries_loaded.so
[ -e "$keep_loaded" ] || cc -shared -fPIC -O2 -o "$keep_loaded" "$src/scripts/sanitize/keep_libraries_loaded.c"
export ASAN_OPTIONS="detect_leaks=1:exitcode=86:detect_stack_use_after_return=1:check_initialization_order=1:verify_asan_link_order=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=86"
export LSAN_OPTIONS="suppressions=$src/scripts/sanitize/lsan-suppressions.txt:print_suppressions=0"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$demo/runtime

# start LOG PRELOAD PROGRAM ARGS...: starts a program of $work in $work in
# the background, its output to LOG, PRELOAD (may be empty) preloaded before
# the sanitizers' helper; sets pid.
start() {
    local log=$1 preload=$2
    shift 2
    (cd "$work" && LD_PRELOAD="$preload${preload:+:}$keep_loaded" exec "$@") >"$log" 2>&1 </dev/null &
    pid=$!
}

# The first visible window named NAME, or NAME and more after two blanks
# (orvex's title tells where its eye is), waited for up to 60 seconds.
window_named() {
    { timeout 60 xdotool search --sync --onlyvisible --name "^$1(  .*)?\$" || true; } | head -1
}

# Waits up to SECONDS for $pid to end; sets status (124 when it did not).
wait_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        status=124
        kill -KILL "$pid"
        wait "$pid" 2>/dev/null || true
    else
        status=0
        wait "$pid" || status=$?
    fi
}
