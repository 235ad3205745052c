#!/usr/bin/env bash
# Starts the real program on a private X server and checks what start-up
# and closing do to the window and to the settings record.
#
# usage: StartupTest.sh <program> <scratch dir> start
#        StartupTest.sh <program> <scratch dir> close <caption> <Ver>
#
# start: the window comes up titled "KORUBA-X..." with the program's icon;
#        ended without a close request, it has written nothing.
# close: the window shows <caption>; choosing pattern 21 and pressing its
#        bay draws the diagram, the brace and a result line; the close
#        button "終 了" ends the program normally, which records "Title"
#        and "Ver" = <Ver> and leaves the other values of the record alone.
set -euo pipefail
source "$(dirname "$0")/../support/private_xvfb.sh"

program=$1
scratch=$2
mode=$3

for tool in Xvfb xdotool xprop import; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

rm -rf "$scratch"
mkdir -p "$scratch/config"
export XDG_CONFIG_HOME=$scratch/config
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
record=$XDG_CONFIG_HOME/コルバ工房/KORUBA-X.conf

fail() { echo "FAIL: $*" >&2; [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null; exit 1; }

xvfb_pid=
trap '[[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null' EXIT
start_private_xvfb "$scratch" 800x600x24 -noreset || fail "no X server"
export QT_QPA_PLATFORM=xcb

if [[ $mode == close ]]; then
    mkdir -p "$(dirname "$record")"
    printf '[General]\nOther=kept\nVer=0\n' >"$record"
fi

"$program" >"$scratch/program.log" 2>&1 &
pid=$!

wid=
for _ in $(seq 100); do
    wid=$(xdotool search --onlyvisible --name '^KORUBA-X' 2>/dev/null | head -1) || true
    [[ -n $wid ]] && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended at start-up: $(cat "$scratch/program.log")"
    sleep 0.1
done
[[ -n $wid ]] || fail "no window titled KORUBA-X appeared"
sleep 0.5
title=$(xprop -id "$wid" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
echo "title: $title"
icons=$(xprop -id "$wid" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
echo "icons: $icons"
for size in 16 32; do
    [[ $icons == *"Icon ($size x $size)"* ]] || fail "the window has no ${size}x$size icon"
done

case $mode in
start)
    [[ $title == KORUBA-X* ]] || fail "unexpected title '$title'"
    kill -TERM "$pid"
    wait "$pid" || true
    pid=
    files=$(find "$XDG_CONFIG_HOME" -type f)
    [[ -z $files ]] || fail "start-up wrote settings: $files"
    ;;
close)
    caption=$4
    ver=$5
    [[ $title == "$caption" ]] || fail "title '$title', expected '$caption'"

    # Without a window manager the client area is the window.
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    pixel() { # client x, y -> r,g,b
        import -window root -crop "1x1+$((X + $1))+$((Y + $2))" -depth 8 txt:- |
            sed -n '2p' | sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
    }
    dark_pixels() { # client x, y, width, height -> count of near-black pixels
        import -window root -crop "$3x$4+$((X + $1))+$((Y + $2))" -depth 8 txt:- |
            grep -cE '\((0|[1-9]|[1-7][0-9]),(0|[1-9]|[1-7][0-9]),(0|[1-9]|[1-7][0-9])\)' || true
    }
    # Nothing is computed before a pattern is chosen: the N line is blank.
    [[ $(dark_pixels 119 391 221 12) == 0 ]] || fail "a result was shown before any pattern"
    # Pattern 21 (first tool button); its red column stands at diagram
    # pixel (5, 30), the diagram at (-1, -1) inside the panel's 2-pixel
    # edge at (118, 270).
    xdotool mousemove --window "$wid" 64 63 click 1
    sleep 0.5
    [[ $(pixel 124 301) == "255,0,0" ]] || fail "pattern 21 not drawn: $(pixel 124 301)"
    # Its bay, pressed in the middle: the chosen left-rising 45x90 brace.
    xdotool mousemove --window "$wid" 148 302 click 1
    sleep 0.5
    [[ $(pixel 148 302) == "255,170,0" ]] || fail "brace not drawn: $(pixel 148 302)"
    (($(dark_pixels 119 391 221 12) > 50)) || fail "no N line after the calculation"
    (($(dark_pixels 120 411 40 11) > 10)) || fail "no hardware symbol after the calculation"
    # "終 了" sits at (3, 422), 112 x 26, in the window's client area;
    # without a window manager the client area is the window.
    xdotool mousemove --window "$wid" 59 435 click 1
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the close button did not end the program"
    status=0
    wait "$pid" || status=$?
    pid=
    [[ $status == 0 ]] || fail "the program ended with status $status"
    [[ -f $record ]] || fail "no record at $record"
    cat "$record"
    grep -qx 'Title=パターン別Ｎ値算定' "$record" || fail "Title not recorded"
    grep -qx "Ver=$ver" "$record" || fail "Ver is not $ver"
    grep -qx 'Other=kept' "$record" || fail "another value was lost"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
echo ok
