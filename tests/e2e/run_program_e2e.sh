#!/usr/bin/env bash
# End-to-end test of the real program koruba-x on a real X server: the
# summary opened from its tool button shows its first tab's picture at
# once, without any tab switched; then the keyboard alone chooses a
# pattern (Alt+1), places a brace (Ctrl+1), undoes (Ctrl+Z) and redoes
# (Ctrl+Y) it and turns it round (Ctrl+Shift+1), read back from the
# screen's pixels.
#
# Usage: run_program_e2e.sh <koruba-x> <folder for the screenshots>
set -euo pipefail
source "$(dirname "$0")/../support/private_xvfb.sh"

program=${1:?usage: $0 <koruba-x> <screenshot folder>}
shots=${2:?usage: $0 <koruba-x> <screenshot folder>}
for tool in Xvfb xdotool import convert compare; do
    command -v "$tool" >/dev/null || {
        echo "FAIL: $tool is missing (scripts/setup.sh installs xvfb, xdotool and imagemagick)" >&2
        exit 1
    }
done
mkdir -p "$shots"

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    tail -n 40 "$work/err" >&2 2>/dev/null || true
    exit 1
}

start_private_xvfb "$work" 1024x768x24 || fail "no X server"
XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb "$program" >"$work/out" 2>"$work/err" &
app_pid=$!

calc=$(timeout 20 xdotool search --sync --onlyvisible --name '^KORUBA-X    Ver\.' | head -n1) ||
    fail "the window did not appear"
eval "$(xdotool getwindowgeometry --shell "$calc")"
sleep 0.5

pixel_at() { # screen x, y -> r,g,b
    import -display "$DISPLAY" -window root -crop "1x1+$1+$2" -depth 8 txt:- |
        sed -n '2p' | sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}
wait_pixel() { # screen x, y, r,g,b, what
    for _ in $(seq 50); do
        [[ $(pixel_at "$1" "$2") == "$3" ]] && return 0
        sleep 0.1
    done
    fail "$4: pixel ($1, $2) is $(pixel_at "$1" "$2"), expected $3"
}

# The summary button, third picture of the first row.
xdotool mousemove --sync $((X + 4 + 6 + 216 + 54)) $((Y + 1 + 6 + 56)) click 1
summary=$(timeout 10 xdotool search --sync --onlyvisible --name '^使用方法および計算概要$' | head -n1) ||
    fail "the summary did not open"
sleep 0.5
import -display "$DISPLAY" -window "$summary" "$shots/summary-first-open.png"
# The first page below its tab: the formula picture is black text and
# lines on white; a blank page is a single colour.
colours=$(convert "$shots/summary-first-open.png" -crop 480x280+15+35 +repage -format %k info:)
((colours > 8)) || fail "the first tab is blank on first opening ($colours colours)"
echo "summary's first tab: $colours colours"

# Close it with its button (438, 358; 75 x 22).
eval "$(xdotool getwindowgeometry --shell "$summary")"
xdotool mousemove --sync $((X + 438 + 37)) $((Y + 358 + 11)) click 1
for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^使用方法および計算概要$' >/dev/null || break
    sleep 0.1
done

# Keyboard only from here. The upper left bay's centre lies on a brace.
eval "$(xdotool getwindowgeometry --shell "$calc")"
bay_x=$((X + 118 + 2 + 9 + 19))
bay_y=$((Y + 270 + 2 + 9 + 21))
xdotool windowfocus --sync "$calc"
xdotool key alt+1
wait_pixel $bay_x $bay_y "255,255,255" "Alt+1 did not show pattern 21's empty bay"
xdotool key ctrl+1
wait_pixel $bay_x $bay_y "255,170,0" "Ctrl+1 did not place the brace"
xdotool key ctrl+z
wait_pixel $bay_x $bay_y "255,255,255" "Ctrl+Z did not remove the brace"
xdotool key ctrl+y
wait_pixel $bay_x $bay_y "255,170,0" "Ctrl+Y did not place the brace again"
# Ctrl+Shift+1 turns the brace round: the bay's picture changes, and a
# second press brings the first picture back.
bay_picture() {
    import -display "$DISPLAY" -window root -crop "36x46+$((X + 118 + 2 + 10))+$((Y + 270 + 2 + 5))" \
        "$work/bay-$1.png"
}
wait_bay() { # name, "same" or "differs" from the placed picture, what
    for _ in $(seq 50); do
        bay_picture "$1"
        local differing
        differing=$(compare -metric AE "$work/bay-placed.png" "$work/bay-$1.png" null: 2>&1 || true)
        [[ $2 == same && $differing == 0 ]] && return 0
        [[ $2 == differs && $differing != 0 ]] && return 0
        sleep 0.1
    done
    fail "$3"
}
bay_picture placed
xdotool key ctrl+shift+1
wait_bay turned differs "Ctrl+Shift+1 did not turn the brace round"
xdotool key ctrl+shift+1
wait_bay back same "a second Ctrl+Shift+1 did not turn the brace back"
import -display "$DISPLAY" -window "$calc" "$shots/keyboard-placed.png"

# Close with "終 了" at (3, 422), 112 x 26.
xdotool mousemove --sync $((X + 3 + 56)) $((Y + 422 + 13)) click 1
for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
wait "$app_pid" || fail "the program exited with status $?"
app_pid=
echo "PASS: summary's first tab shown at once; Alt+1, Ctrl+1, Ctrl+Z, Ctrl+Y, Ctrl+Shift+1 by keyboard"
