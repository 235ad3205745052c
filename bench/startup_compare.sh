#!/usr/bin/env bash
# Start-up of KORUBA-X against a bare Qt 6 window of the same size: both
# are started in turns on a private X server (no window manager), each run
# timed from the start of the process to the map of its window, with the
# peak memory up to then. Prints the medians and their ratios; the target
# is at most 1.15 for both. A third program, the bare window with one
# caption in the window's Japanese face measured before its map, shows how
# much of the difference starting fontconfig and loading that face costs,
# and the last line what the program's own construction adds to that.
#
#   bench/startup_compare.sh [BUILD_DIR] [RUNS]     (default: build/ci, 20)
#
# Needs the targets koruba-x, koruba_startup_watch and koruba_bare_window;
# KORUBA_X=path times another build of the program against the same bare
# window.
set -euo pipefail

build=${1:-build/ci}
runs=${2:-20}
watch=$build/bench/koruba_startup_watch
bare=$build/bench/koruba_bare_window
program=${KORUBA_X:-$build/app/koruba-x}
for f in "$watch" "$bare" "$program"; do
    [[ -x $f ]] || { echo "missing $f: build koruba-x koruba_startup_watch koruba_bare_window" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb=
trap '[[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null; [[ -n ${KEEP:-} ]] && cat "$work/xvfb.log" >&2; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
[[ -s $work/display ]] || { echo "Xvfb did not start" >&2; exit 2; }
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
# The program is ended before any close request: it writes no record.
export XDG_CONFIG_HOME=$work/config
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

one() { # name program [args] -> appends "ms kib" to $work/name
    "$watch" "${@:2}" >>"$work/$1"
}
# Warm the caches (fonts, libraries) before anything counts.
for _ in 1 2; do
    "$watch" "$program" >/dev/null
    "$watch" "$bare" >/dev/null
    "$watch" "$bare" --japanese-text >/dev/null
done
for i in $(seq "$runs"); do
    if ((i % 2)); then
        one koruba "$program"
        one bare "$bare"
        one text "$bare" --japanese-text
    else
        one text "$bare" --japanese-text
        one bare "$bare"
        one koruba "$program"
    fi
done

median() { # column file
    cut -d' ' -f"$1" "$2" | sort -n | awk '{ v[NR] = $1 } END {
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
kt=$(median 1 "$work/koruba")
km=$(median 2 "$work/koruba")
bt=$(median 1 "$work/bare")
bm=$(median 2 "$work/bare")
tt=$(median 1 "$work/text")
tm=$(median 2 "$work/text")
awk -v runs="$runs" -v kt="$kt" -v km="$km" -v bt="$bt" -v bm="$bm" -v tt="$tt" -v tm="$tm" 'BEGIN {
    printf "runs: %d of each, alternating, medians\n", runs
    printf "koruba-x      start to map %7.1f ms   peak memory %6.1f MB\n", kt, km / 1024
    printf "bare window   start to map %7.1f ms   peak memory %6.1f MB\n", bt, bm / 1024
    printf "bare + face   start to map %7.1f ms   peak memory %6.1f MB\n", tt, tm / 1024
    printf "ratio         time %.2f   memory %.2f   (target: at most 1.15 each)\n", kt / bt, km / bm
    printf "face alone    time %.2f   memory %.2f   of the bare window\n", tt / bt, tm / bm
    printf "the rest      time %.2f   memory %.2f   koruba-x over bare + face\n", kt / tt, km / tm
}'
