#!/usr/bin/env bash
# Random input for one program on the demo terrain, under the sanitizer build:
# keys, clicks, drags, resizes and menu picks for SECONDS, never a quit key,
# then the program's own way out (orvex: q; skyloom: ファイル > 終了). Fails
# on a crash, a sanitizer report, an exit before that way out, or a hang (no
# exit within 60 s of it). Prints the seed and every input it sends: the same
# seed sends the same inputs in the same order.
# Usage: random_input.sh orvex|skyloom [SEED] [SECONDS]   (defaults 1, 20)
source "$(dirname "$0")/common.sh"
with_x_server "$@"
program=${1:?usage: random_input.sh orvex|skyloom [SEED] [SECONDS]}
seed=${2:-1} seconds=${3:-20}
RANDOM=$seed # every choice below comes from $RANDOM, never in a subshell
fresh_work
log=$demo/$program.log

# Keys neither program quits on: for orvex, every letter but q with and
# without Shift, Ctrl and Alt, the keys that X11 turns into the Esc character
# with Ctrl, the special and modifier keys. skyloom gets no Alt alone and no
# Alt+F, G, H or S: they open its menus (which Down and Return would pick).
keys=(space Return Tab BackSpace Delete Insert Home End Prior Next Up Down Left Right F1 F2 F3 F5 F10 F12
    shift+Up shift+Down shift+Left shift+Right ctrl+Up Shift_L Shift_R Control_L Control_R Super_L
    Num_Lock KP_5 KP_Add 0 1 3 9 minus bracketleft ctrl+bracketleft ctrl+braceleft ctrl+3 ctrl+Escape)
for letter in {a..p} {r..z}; do
    keys+=("$letter" "shift+$letter" "ctrl+$letter")
    [[ $program = skyloom && $letter = [fghs] ]] || keys+=("alt+$letter")
done
[ "$program" = skyloom ] || keys+=(Alt_L)

if [ "$program" = orvex ]; then
    start "$log" "" ./orvex -gsi50 ../GSI50M 533815 4 6
    window=$(window_named ORVEX)
    # The Exit entry is the last of orvex's menu, 215 pixels or more below
    # where it opens: picks stay above 190. A click of the right button
    # leaves the menu open for the next click to pick from, Exit included:
    # orvex gets clicks of the other buttons only.
    buttons=(1 2 4 5)
    menu_pick() {
        input=(mousemove --window "$window" $x $y mousedown 3 sleep 0.2 mousemove --window "$window"
            $((x + 10 + RANDOM % 100)) $((y + 5 + RANDOM % 185)) sleep 0.2 mouseup 3)
    }
    way_out() { xdotool windowfocus --sync "$window" key q; }
    top=0
else
    # F5 and 描画 start a stand-in viewer that ends at once: orvex has a run
    # of its own. Only the keyboard opens menus (no click reaches the menu
    # bar); neither ファイル > 終了 nor the readme is ever picked.
    printf '#!/bin/sh\nexit 0\n' >"$work/orvex"
    start "$log" "" ./skyloom "$work"
    window=$(window_named Skyloom)
    buttons=(1 2 3 4 5)
    picks=("alt+s s" "alt+g g" "alt+h m" "alt+h p" "alt+h v")
    menu_pick() { input=(key ${picks[RANDOM % ${#picks[@]}]}); }
    way_out() {
        local round other
        for round in 1 2 3 4 5 6; do # boxes and dialogs first, Esc closes each
            for other in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$window"); do
                xdotool windowfocus "$other" 2>/dev/null || true
                xdotool key Escape
            done
            sleep 0.3
        done
        xdotool windowfocus --sync "$window" key alt+f x
    }
    top=40
fi
[ -n "$window" ] || fail "$program: no window; see $log"
eval "$(xdotool getwindowgeometry --shell "$window")"
width=$WIDTH height=$HEIGHT
xdotool windowfocus --sync "$window"

# Sends $input and checks that the program is still there.
send() {
    echo "$program #$count: ${input[*]//$window/W}"
    timeout 10 xdotool "${input[@]}" || echo "  (xdotool ended with status $?)"
    sleep 0.05
    kill -0 "$pid" 2>/dev/null || {
        wait "$pid" && status=0 || status=$?
        tail -40 "$log" >&2
        fail "$program ended on input #$count (seed $seed) with status $status"
    }
}

echo "$program: seed $seed, $seconds s of random input (replay: $0 $program $seed $seconds)"
count=0 deadline=$((SECONDS + seconds))
input=(key ctrl+bracketleft ctrl+braceleft ctrl+3 ctrl+Escape) # Esc's character, with Ctrl
send
while [ $SECONDS -lt $deadline ]; do
    count=$((count + 1))
    x=$((RANDOM % width)) y=$((top + RANDOM % (height - top)))
    to_x=$((RANDOM % width)) to_y=$((top + RANDOM % (height - top)))
    choice=$((RANDOM % 100))
    if [ $choice -lt 50 ]; then
        input=(key "${keys[RANDOM % ${#keys[@]}]}")
    elif [ $choice -lt 65 ]; then
        input=(mousemove --window "$window" $x $y click ${buttons[RANDOM % ${#buttons[@]}]})
    elif [ $choice -lt 80 ]; then
        modifiers=(shift ctrl) modifier=${modifiers[RANDOM % 2]}
        input=(keydown $modifier mousemove --window "$window" $x $y mousedown 1
            mousemove --window "$window" $(((x + to_x) / 2)) $(((y + to_y) / 2))
            mousemove --window "$window" $to_x $to_y mouseup 1 keyup $modifier)
    elif [ $choice -lt 88 ]; then
        width=$((200 + RANDOM % 800)) height=$((200 + RANDOM % 540))
        input=(windowsize "$window" $width $height)
    else
        menu_pick
    fi
    send
done

echo "$program: $count inputs sent; now its way out"
way_out
wait_exit 60
[ $status = 124 ] && fail "$program did not end within 60 s of its way out (seed $seed); see $log"
if [ $status != 0 ] || grep -q -E "ERROR: (Address|Leak)Sanitizer|runtime error:" "$log"; then
    tail -60 "$log" >&2
    fail "$program ended with status $status (seed $seed)"
fi
echo "$program: ended normally after $count inputs"
