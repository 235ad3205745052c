#!/usr/bin/env bash
# End-to-end test of the plan window with the installed program on a real
# X server, reached the way a user reaches it: the calculator's Ctrl+H
# opens the plan window, Ctrl+O and the file dialog open the two-storey
# example house on its ground storey; F3 takes the wall tool, and two real
# clicks place the element chosen at start (R45) on grid line Y4 from X8
# to X10, beside the 下屋 column X10-Y4, whose symbol turns from (い) to
# another class on the screen at once. Ctrl+S saves the house, which the
# installed batch tool then reads: the new wall is there and X10-Y4 is no
# longer (い). Ctrl+Shift+P prints the sheet to PDF, whose plan page shows
# X10-Y4's new symbol. On the way the grid dialog (Ctrl+G), the house
# dialog (Ctrl+,), the sheet's print preview and save-as (Ctrl+Shift+S)
# open and close, and a double-click on X10-Y4 shows that column in the
# calculator.
#
# Usage: run_plan_e2e.sh <build dir> <example house>
set -euo pipefail
source "$(dirname "$0")/../support/private_xvfb.sh"
source "$(dirname "$0")/../support/x_windows.sh"

build=${1:?usage: $0 <build dir> <example house>}
house=${2:?usage: $0 <build dir> <example house>}
source "$(dirname "$0")/../support/e2e_scratch.sh"
require_tools Xvfb xdotool import convert python3 pdftotext pdftoppm

cmake --install "$build" --prefix "$work/usr" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }
program=$work/usr/bin/koruba-x
tool=$work/usr/bin/koruba-x-calc
cp "$house" "$work/house2f.kxhouse"
shots=$build/tests/e2e/screenshots
mkdir -p "$shots"

start_private_xvfb "$work" 1600x1000x24 || fail "no X server"

XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb "$program" >"$work/out" 2>"$work/err" &
app_pid=$!

calc=$(wait_window '^KORUBA-X    Ver\.' 20) || fail "the calculator did not appear"
# Without a window manager windows have no frames: known places.
xdotool windowmove --sync "$calc" 1150 0
xdotool windowfocus --sync "$calc"
xdotool key ctrl+h
plan=$(wait_window '^無題の住宅 - 平面図' 10) || fail "Ctrl+H did not open the plan window"
xdotool windowmove --sync "$plan" 0 0
xdotool windowfocus --sync "$plan"
xdotool key ctrl+o
dialog=$(wait_window '^住宅ファイルを開く$' 10) || fail "Ctrl+O did not ask for a house file"
answer_file_dialog "$dialog" "$work/house2f.kxhouse"
wait_window '^house2f\.kxhouse - 平面図' 10 >/dev/null || fail "the house did not open"
xdotool windowfocus --sync "$plan"
eval "$(xdotool getwindowgeometry --shell "$plan")"
win_w=$WIDTH win_h=$HEIGHT

# The plan fills the view as a white sheet on grey, fitted: its edges on
# the screen give the scale. The sheet covers the grid and 1400 mm round
# it; house2f's grid runs 0..9100 mm in x and 0..7280 mm in y.
probe() { # probe SHOT X_MM Y_MM -> screen x y of that plan point, and its colour
    python3 - "$@" "$win_w" "$win_h" <<'EOF'
import sys
shot, xmm, ymm, w, h = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
data = open(shot, 'rb').read()
# The header: four tokens, then one white space byte and the pixels.
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    start = pos
    while not data[pos:pos + 1].isspace():
        pos += 1
    fields.append(data[start:pos])
assert fields[0] == b'P6' and fields[3] == b'255'
width, height = int(fields[1]), int(fields[2])
pixels = data[pos + 1:]
def px(x, y):
    i = 3 * (y * width + x)
    return tuple(pixels[i:i + 3])
white = (255, 255, 255)
cx, cy = w // 2, h // 2
column = [y for y in range(h) if px(cx, y) == white]
row = [x for x in range(w) if px(x, cy) == white]
top, bottom, left, right = column[0], column[-1], row[0], row[-1]
sx = (right - left + 1) / (9100 + 2800)
sy = (bottom - top + 1) / (7280 + 2800)
x = round(left + (xmm + 1400) * sx)
y = round(top + (7280 + 1400 - ymm) * sy)
print(x, y, '%02x%02x%02x' % px(x, y))
EOF
}
shot() {
    import -window root -depth 8 "$work/$1.ppm" || fail "no screenshot"
}
# The symbol box of a column stands up and right of it: its lower left
# corner, 105 mm right of and 120 mm above the column, shows the class
# colour.
symbol_colour() { # symbol_colour SHOT X_MM Y_MM
    probe "$work/$1.ppm" "$(($2 + 105))" "$(($3 + 120))" | cut -d' ' -f3
}
point() { # point SHOT X_MM Y_MM -> screen x y
    probe "$work/$1.ppm" "$2" "$3" | cut -d' ' -f1,2
}

# The window may still be laid out and fitted after it is mapped: wait
# for the symbol to show.
before=
for _ in $(seq 50); do
    shot before
    before=$(symbol_colour before 9100 3640)
    [[ $before == dcdcdc ]] && break
    sleep 0.1
done
convert "$work/before.ppm" "$shots/plan_xvfb_before.png" || true
[[ $before == dcdcdc ]] || fail "X10-Y4 does not show (い) before the wall: colour $before"

xdotool key F3
read -r ax ay < <(point before 7280 3640)
read -r bx by < <(point before 9100 3640)
xdotool mousemove --sync "$ax" "$ay" click 1
xdotool mousemove --sync "$bx" "$by" click 1
wait_window '^house2f\.kxhouse\* - 平面図' 10 >/dev/null ||
    fail "the clicks did not change the house"
after=$before
for _ in $(seq 50); do
    shot after
    after=$(symbol_colour after 9100 3640)
    [[ $after != "$before" ]] && break
    sleep 0.1
done
convert "$work/after.ppm" "$shots/plan_xvfb_after.png" || true
[[ $after != dcdcdc ]] || fail "X10-Y4 still shows (い) after the wall"

xdotool key ctrl+s
wait_window '^house2f\.kxhouse - 平面図' 10 >/dev/null || fail "Ctrl+S did not save"
grep -q '"from": \["X8", "Y4"\], "to": \["X10", "Y4"\], "bay": "R45"' "$work/house2f.kxhouse" ||
    fail "the saved house lacks the wall: $(grep -c from "$work/house2f.kxhouse") walls"
"$tool" --no-bom "$work/house2f.kxhouse" >"$work/out.csv" || fail "the batch tool refused the saved house"
scol=$(head -n 1 "$work/out.csv" | tr -d '\r' | tr ',' '\n' | grep -nx 'symbol' | cut -d: -f1)
symbol=$(grep '^1階,X10-Y4,' "$work/out.csv" | tr -d '\r' | cut -d, -f"$scol")
[[ -n $symbol && $symbol != '(い)' ]] || fail "the batch tool gives X10-Y4 ${symbol:-no symbol}"

# Ctrl+Shift+P prints the house's sheet through the file dialog; its plan
# page of the ground storey (the second page, after 2階) shows at X10-Y4
# the symbol the batch tool gives: the word up and right of where grid
# lines X10 and Y4 cross on the page.
xdotool windowfocus --sync "$plan"
xdotool key ctrl+shift+p
dialog=$(wait_window '^計算書をPDFに保存$' 10) || fail "Ctrl+Shift+P did not ask where to save the sheet"
answer_file_dialog "$dialog" "$work/sheet.pdf"
# The sheet is written beside its name and renamed whole: once it is
# there, it is complete.
wait_file "$work/sheet.pdf" 20 || fail "no sheet was written"
pdftotext -bbox -f 2 -l 2 "$work/sheet.pdf" "$work/plan1.html" || fail "pdftotext cannot read the sheet"
shown=$(python3 - "$work/plan1.html" <<'EOF'
import re, sys
words = [(float(a), float(b), float(c), float(d), t) for a, b, c, d, t in re.findall(
    r'<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>',
    open(sys.argv[1], encoding='utf-8').read())]
text = ''.join(w[4] for w in words)
assert '算定平面図（1階）' in text, text[:200]
def centre(name, axis):
    return [(w[axis] + w[axis + 2]) / 2 for w in words if w[4] == name][0]
x, y = centre('X10', 0), centre('Y4', 1)
mm = 72 / 25.4
symbols = [w for w in words if re.fullmatch(r'(\(.+\)\*?|N>7\.5)[→↑]', w[4])
           and x < w[0] < x + 4 * mm and y - 5 * mm < w[3] < y]
assert len(symbols) == 1, symbols
print(symbols[0][4][:-1])
EOF
) || fail "the plan page has no one symbol at X10-Y4"
[[ $shown == "$symbol" ]] || fail "the sheet's plan shows $shown at X10-Y4, the batch tool $symbol"
pdftoppm -png -r 60 -f 1 -l 2 "$work/sheet.pdf" "$shots/plan_sheet" || true

# The windows a user opens from the plan: each appears and closes again.
opens() { # opens KEYS TITLE
    xdotool windowfocus --sync "$plan"
    xdotool key $1 # keys apart: "alt+f v" is two strokes
    local box
    box=$(wait_window "$2" 10) || fail "$1 did not open $2"
    xdotool windowfocus --sync "$box"
    xdotool key Escape
    wait_window_gone "$2" 5 || fail "$2 did not close"
}
opens ctrl+g '^通り芯$'
opens ctrl+comma '^住宅の設定$'
opens ctrl+shift+s '^住宅ファイルを保存$'
# The sheet's print preview, from the file menu by its keys.
opens "alt+f v" '^計算書の印刷プレビュー$'
xdotool key F2
read -r cx cy < <(point after 9100 3640)
xdotool mousemove --sync "$cx" "$cy" click --repeat 2 --delay 80 1
# The column, mapped onto a pattern, shows read-only in the calculator,
# named in its title.
wait_window '^KORUBA-X    Ver\..* - 平面図 1階 X10-Y4 \([XY]方向\)$' 10 >/dev/null ||
    fail "a double-click on X10-Y4 did not show it in the calculator"
import -window "$calc" "$shots/plan_column_in_calculator.png" || fail "no screenshot of the calculator"

xdotool windowfocus --sync "$plan"
xdotool key ctrl+w
for _ in $(seq 50); do
    find_window '^house2f\.kxhouse - 平面図' >/dev/null || break
    sleep 0.1
done
echo "PASS: house opened, wall placed with the mouse, X10-Y4 turned from (い) to $symbol, saved, printed"
