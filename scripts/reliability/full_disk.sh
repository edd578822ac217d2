#!/usr/bin/env bash
# Every file both programs write, on a full disk: the working directory is a
# small tmpfs filled to the brim. orvex ends normally on q and keeps its old
# orvex.env; orvex-export fails saying why and keeps the old .flt, .hdr, .prj;
# skyloom tells the user once on F5 (orvex.col) and once on exit (skyloom.env
# and orvex.col), keeps both files and ends normally, and the viewer it
# started keeps orvex.env too. Nothing is left beside the files. Mounting the
# tmpfs needs root: elsewhere the test says so and is skipped.
# Usage: full_disk.sh
source "$(dirname "$0")/common.sh"
with_x_server "$@"
fresh_work
full=$demo/full
mkdir -p "$full"
if ! mount -t tmpfs -o size=1m tmpfs "$full" 2>/dev/null; then
    echo "full-disk test SKIPPED: cannot mount a tmpfs on $full here (it needs root)"
    exit 0
fi
trap 'umount -l "$full"' EXIT
log=$demo/full.log

# The programs and shipped files as links, the old files, then a filler.
for file in orvex skyloom orvex-export MtJapan.txt MtWorld.txt JapanCoast.txt readme.txt orvex.col; do
    ln -s "../work/$file" "$full/$file"
done
rm "$full/orvex.col" && cp "$work/orvex.col" "$full/"
printf '2 0\n700 550\n1.000\n250.0 30.0\n1\n0\n' >"$full/orvex.env"
printf ' 2  0 \r\n 0  0  9225  7575 \r\n 0 \r\n"../GSI50M" "../GSI250M"\r\n 149  109 \r\n' >"$full/skyloom.env"
(cd "$work" && ./orvex-export "$full/out" -gsi250 ../GSI250M 5338 1 1 >/dev/null)
kept=$demo/kept-full && rm -rf "$kept" && cp -a "$full" "$kept"
dd if=/dev/zero of="$full/filler" bs=4k 2>/dev/null || true
printf x 2>/dev/null >"$full/probe" && fail "the tmpfs is not full"
rm -f "$full/probe"
listing=$(ls -A "$full")
work=$full

unchanged() {
    local file
    for file in orvex.env skyloom.env orvex.col out.flt out.hdr out.prj; do
        cmp -s "$full/$file" "$kept/$file" || fail "$1: $file changed on a full disk"
    done
    [ "$(ls -A "$full")" = "$listing" ] || fail "$1: left beside the files: $(ls -A "$full")"
}

# Sends keys to the window named NAME, once it shows.
press() {
    local window
    window=$(window_named "$1")
    [ -n "$window" ] || fail "no window named $1 shows; see $log"
    shift
    xdotool windowfocus --sync "$window" key "$@"
}

# Waits for the message box in front of skyloom's window and closes it.
close_box() {
    local deadline=$((SECONDS + 60)) box=""
    while [ -z "$box" ] && [ $SECONDS -lt $deadline ]; do
        box=$(xdotool search --onlyvisible --name '^Skyloom$' 2>/dev/null | grep -vx "$main" | head -1) || sleep 0.2
    done
    [ -n "$box" ] || fail "skyloom told nothing $1"
    xdotool windowfocus --sync "$box" key Return
}

start "$log" "" ./orvex -gsi250 ../GSI250M 5338 2 2
press ORVEX q
wait_exit 60
[ $status = 0 ] || fail "orvex ended with status $status on a full disk; see $log"
unchanged orvex

status=0
(cd "$full" && ./orvex-export out -gsi250 ../GSI250M 5338 2 2) >"$log" 2>&1 || status=$?
[ $status = 1 ] && grep -q "No space left on device" "$log" ||
    fail "orvex-export ended with status $status on a full disk: $(cat "$log")"
unchanged orvex-export

start "$log" "" ./skyloom "$full"
main=$(window_named Skyloom)
[ -n "$main" ] || fail "skyloom shows no window; see $log"
eval "$(xdotool getwindowgeometry --shell "$main")"
for cell in "1 3" "3 2"; do # two demo sheets' cells of the map's 14 x 14, F5
    read -r i k <<<"$cell"
    xdotool mousemove --sync $((X + (2 * i + 1) * 615 / 28)) $((Y + HEIGHT - 1 - (2 * k + 1) * 486 / 28)) click 1
done
xdotool windowfocus --sync "$main" key F5
close_box "on F5"
press ORVEX q # the viewer it started
deadline=$((SECONDS + 60))
while xdotool search --onlyvisible --name '^ORVEX(  .*)?$' &>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
xdotool windowfocus --sync "$main" key alt+f x
close_box "on exit"
wait_exit 30
[ $status = 0 ] || fail "skyloom ended with status $status on a full disk (a second message?); see $log"
! grep -E "ERROR: (Address|Leak)Sanitizer|runtime error:" "$log" || fail "a sanitizer report; see $log"
unchanged skyloom
echo "full-disk test: orvex, orvex-export and skyloom kept every old file whole and said so where they should"
