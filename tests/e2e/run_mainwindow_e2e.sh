#!/usr/bin/env bash
# End-to-end test of the main window on a real X server: starts its own
# Xvfb, drives the window with xdotool (choose pattern 21, place a brace,
# double-click the bay, open the summary, then by keyboard alone undo,
# redo and place, close), and reads the result back from the program's
# report and from the screen's pixels.
#
# Usage: run_mainwindow_e2e.sh <harness executable> [screenshot folder]
set -euo pipefail
source "$(dirname "$0")/../support/private_xvfb.sh"
source "$(dirname "$0")/../support/x_windows.sh"

harness=${1:?usage: $0 <harness executable> [screenshot folder]}
shots=${2:-}
source "$(dirname "$0")/../support/e2e_scratch.sh"
require_tools Xvfb xdotool import convert

# The harness's report too, not only its errors.
fail() {
    echo "FAIL: $*" >&2
    echo "--- program output ---" >&2
    cat "$work/out" >&2 || true
    echo "--- program errors ---" >&2
    tail -n 60 "$work/err" >&2 || true
    exit 1
}

start_private_xvfb "$work" 1024x768x24 || fail "no X server"
echo "Xvfb on $DISPLAY"

QT_QPA_PLATFORM=xcb "$harness" >"$work/out" 2>"$work/err" &
app_pid=$!

# Without a window manager the window has no frame: its geometry is the
# client area.
window=$(wait_window '^KORUBA-X    Ver\.' 20) ||
    fail "the window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window $window at $X,$Y size ${WIDTH}x$HEIGHT"
[[ $WIDTH == 344 && $HEIGHT == 451 ]] || fail "window size ${WIDTH}x$HEIGHT, expected 344x451"
sleep 0.5

results() { grep -c '^RESULT ' "$work/out" || true; }
result() { grep '^RESULT ' "$work/out" | sed -n "${1}p" | cut -c8-; }
wait_results() {
    for _ in $(seq 50); do
        (($(results) >= $1)) && return 0
        sleep 0.1
    done
    fail "expected $1 result lines, got $(results)"
}
click_at() { # client x, y
    xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1
}
pixel_at() { # client x, y -> r,g,b
    import -display "$DISPLAY" -window root -crop "1x1+$((X + $1))+$((Y + $2))" -depth 8 txt:- |
        sed -n '2p' | sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}

# Pattern 21: tool bar at (4, 1), buttons 6 pixels inside, 108 x 112.
click_at $((4 + 6 + 54)) $((1 + 6 + 56))
wait_results 1

# The upper left bay: diagram panel at (118, 270), its client area 2
# pixels inside, the bay at (9, 9), 39 x 43; its centre lies on the brace.
bay_x=$((118 + 2 + 9 + 19))
bay_y=$((270 + 2 + 9 + 21))
[[ $(pixel_at $bay_x $bay_y) == "255,255,255" ]] || fail "empty bay not white: $(pixel_at $bay_x $bay_y)"
click_at $bay_x $bay_y
wait_results 2
placed='N = 2.5x0.8-0.4= 1.60  [8.47kN]'
[[ $(result 2) == "$placed" ]] || fail "after placing: '$(result 2)'"
sleep 0.3
[[ $(pixel_at $bay_x $bay_y) == "255,170,0" ]] || fail "brace not drawn: $(pixel_at $bay_x $bay_y)"

# A double-click (two clicks 80 ms apart) toggles twice: removed, placed.
sleep 0.6
xdotool click --repeat 2 --delay 80 1
wait_results 4
sleep 0.3
(($(results) == 4)) || fail "a double-click gave $(($(results) - 2)) results, expected 2"
[[ $(result 3) != "$placed" ]] || fail "the double-click's first press did not remove the brace"
[[ $(result 4) == "$placed" ]] || fail "after the double-click: '$(result 4)'"
[[ $(pixel_at $bay_x $bay_y) == "255,170,0" ]] || fail "brace lost by the double-click"

# The summary button (third in the first row) opens the summary window,
# which must not keep the program alive once the main window closes. Its
# first tab shows the formula picture at once (it was blank, one colour).
click_at $((4 + 6 + 216 + 54)) $((1 + 6 + 56))
summary=$(wait_window '^使用方法および計算概要$' 10) ||
    fail "the summary window did not open"
sleep 0.5
import -display "$DISPLAY" -window "$summary" "$work/summary.png"
[[ -z $shots ]] || { mkdir -p "$shots" && cp "$work/summary.png" "$shots/summary-first-open.png"; }
colours=$(convert "$work/summary.png" -crop 480x280+15+35 +repage -format %k info:)
((colours > 8)) || fail "the summary's first tab is blank ($colours colours)"
# Closed by its button (438, 358), the keyboard alone: Ctrl+Z takes the
# brace away, Ctrl+Y puts it back, Ctrl+1 removes it, Alt+2 chooses 22.
xdotool windowfocus --sync "$summary"
xdotool key Return
xdotool windowfocus --sync "$window"
for keys in ctrl+z ctrl+y ctrl+1 alt+2; do
    count=$(results)
    xdotool key "$keys"
    wait_results $((count + 1))
done
[[ $(result 5) != "$placed" && $(result 6) == "$placed" && $(result 7) != "$placed" ]] ||
    fail "undo, redo, Ctrl+1: '$(result 5)', '$(result 6)', '$(result 7)'"
[[ $(result 8) == 'N = 0.0x0.5-0.6= -0.60  [-3.18kN]' ]] || fail "after Alt+2: '$(result 8)'"

# Close with "終 了" at (3, 422), 112 x 26.
click_at $((3 + 56)) $((422 + 13))
for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
    fail "the program did not end when its main window was closed"
fi
wait "$app_pid" || fail "the program exited with status $?"
app_pid=
grep -q '^CLOSED$' "$work/out" || fail "no orderly close"
echo "PASS: pattern 21, brace placed, double-click toggled twice, summary's first tab shown, keys, closed"
