#!/usr/bin/env bash
# SIGKILL at random moments while each program saves: orvex its orvex.env
# (on q), skyloom its skyloom.env and orvex.col (on ファイル > 終了),
# orvex-export its .flt and .hdr. Before each start the files hold old
# contents; after each kill every file must hold either those or the complete
# new contents that a run without a kill leaves. slow_saves.c, preloaded,
# makes every write wait a moment, so that the kills land inside the saves
# too, not only before or after them.
# The plain build by default: a killed program runs no sanitizer checks, and
# their checks at exit would only stretch the moments to choose from.
# Usage: kill_test.sh [KILLS] [SEED]   (defaults 24 per program, 1)
RELIABILITY_BUILD=${RELIABILITY_BUILD:-$(dirname "$0")/../../build}
source "$(dirname "$0")/common.sh"
with_x_server "$@"
kills=${1:-24} seed=${2:-1}
RANDOM=$seed
fresh_work
slow=$demo/slow_saves.so
cc -shared -fPIC -O2 -o "$slow" "$src/scripts/reliability/slow_saves.c" -ldl
log=$demo/kill.log
keep=$demo/kept && rm -rf "$keep" && mkdir "$keep"
echo "kill test: seed $seed, $kills kills per program (replay: $0 $kills $seed)"

# The old contents: forms that each program reads but writes differently.
printf '2 0 640 480 0.5 200 20 0 2\n' >"$keep/orvex.env.old"
printf '2,0,0,0,9225,8085,0,../GSI50M,../GSI250M,140,100\r\n' >"$keep/skyloom.env.old"
printf '2,0,9%s\r\n' "$(printf ',%d,%d,%d' {1..27})" >"$keep/orvex.col.old"
(cd "$work" && ./orvex-export "$keep/out" -gsi250 ../GSI250M 5338 1 1 >/dev/null)
mv "$keep/out.flt" "$keep/out.flt.old" && mv "$keep/out.hdr" "$keep/out.hdr.old"

# Per program: its files, how it starts and how it is made to save.
orvex_files=(orvex.env)
orvex_start() { start "$log" "$slow" ./orvex -gsi250 ../GSI250M 5338 2 2; }
orvex_save() { xdotool windowfocus --sync "$(window_named ORVEX)" key q; }
skyloom_files=(skyloom.env orvex.col)
skyloom_start() { start "$log" "$slow" ./skyloom "$work"; }
skyloom_save() { xdotool windowfocus --sync "$(window_named Skyloom)" key alt+f x; }
export_files=(out.flt out.hdr)
export_start() { start "$log" "$slow" ./orvex-export out -gsi250 ../GSI250M 5338 2 2; }
export_save() { :; }

restore_old() {
    local file
    rm -f "$work"/*.env.* "$work"/*.col.* "$work"/out.* "$XDG_RUNTIME_DIR"/*.lock
    for file in "$@"; do cp "$keep/$file.old" "$work/$file"; done
}

for program in orvex skyloom export; do
    eval "files=(\"\${${program}_files[@]}\")"
    # A run without a kill: the new contents, and how long saving takes.
    restore_old "${files[@]}"
    "${program}_start"
    "${program}_save"
    begin=${EPOCHREALTIME/./}
    wait_exit 60
    [ $status = 0 ] || fail "$program ended with status $status without a kill; see $log"
    span=$(((${EPOCHREALTIME/./} - begin) / 1000 + 1)) # milliseconds
    for file in "${files[@]}"; do
        cp "$work/$file" "$keep/$file.new"
        cmp -s "$keep/$file.old" "$keep/$file.new" && fail "$program wrote $file as it was"
    done
    declare -A tally=()
    for ((kill = 1; kill <= kills; kill++)); do
        restore_old "${files[@]}"
        "${program}_start"
        "${program}_save"
        after=$((RANDOM % span))
        sleep "$((after / 1000)).$(printf %03d $((after % 1000)))"
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        for file in "${files[@]}"; do
            if cmp -s "$work/$file" "$keep/$file.old"; then
                tally[$file old]=$((${tally[$file old]:-0} + 1))
            elif cmp -s "$work/$file" "$keep/$file.new"; then
                tally[$file new]=$((${tally[$file new]:-0} + 1))
            else
                cp "$work/$file" "$keep/$file.broken" 2>/dev/null || true
                fail "$program killed $after ms after being made to save (kill $kill, seed $seed): $file is neither" \
                    "the old nor the new contents (kept as $keep/$file.broken)"
            fi
        done
    done
    for file in "${files[@]}"; do
        echo "$program, $kills kills within $span ms of being made to save: $file old ${tally[$file old]:-0}" \
            "times, new ${tally[$file new]:-0} times"
    done
    unset tally
done
