#!/usr/bin/env bash
# Starts the real program on a private X server and checks what start-up
# and closing do to the window and to the settings record.
#
# usage: StartupTest.sh <program> <scratch dir> start
#        StartupTest.sh <program> <scratch dir> close <caption> <Ver>
#
# start: the window comes up titled "KORUBA-X..." with the program's icon;
#        ended without a close request, it has written nothing.
# close: the window shows <caption>; the close button "終 了" ends the
#        program normally, which records "Title" and "Ver" = <Ver> and
#        leaves the other values of the record alone.
set -euo pipefail

program=$1
scratch=$2
mode=$3

for tool in xvfb-run xdotool xprop; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

rm -rf "$scratch"
mkdir -p "$scratch/config"
export XDG_CONFIG_HOME=$scratch/config
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
record=$XDG_CONFIG_HOME/コルバ工房/KORUBA-X.conf

if [[ ${INSIDE_XVFB:-} != 1 ]]; then
    export INSIDE_XVFB=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

fail() { echo "FAIL: $*" >&2; [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null; exit 1; }

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
