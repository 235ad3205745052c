#!/usr/bin/env bash
# End-to-end test of the column list with the installed program on a real
# X server: `koruba-x house.csv` opens the 60-column example house, the
# keyboard moves to column 2F-X1Y1 and Enter loads it into the calculator,
# a real click adds a brace to its bay, Ctrl+S saves the list, a change
# made by another program makes the next Ctrl+S ask, and Ctrl+Shift+P
# asks for the sheet's project and designer and writes the calculation
# sheet through the file dialog. The
# saved file is then run through the installed batch tool, and the sheet's
# text must hold every column with the N value the tool computes. On the
# way: the list opens beside the calculator, whose title names the row it
# edits; the File menu's print preview opens and closes; its results
# export writes what the tool writes; Ctrl+Shift+S opens save-as; closing
# the calculator with a changed list asks once, naming the file: Cancel
# keeps both windows, Discard ends the program without asking again.
#
# A second start expands the two-storey example house (Ctrl+Shift+H and
# the file dialog) into a new, unnamed list of one row per column and
# direction, which Ctrl+S saves as a list file the batch tool reads.
#
# Usage: run_columnlist_e2e.sh <build dir> <example house>
set -euo pipefail
source "$(dirname "$0")/../support/private_xvfb.sh"
source "$(dirname "$0")/../support/x_windows.sh"

build=${1:?usage: $0 <build dir> <example house>}
house=${2:?usage: $0 <build dir> <example house>}
source "$(dirname "$0")/../support/e2e_scratch.sh"
require_tools Xvfb xdotool pdftotext

cmake --install "$build" --prefix "$work/usr" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }
program=$work/usr/bin/koruba-x
tool=$work/usr/bin/koruba-x-calc
cp "$house" "$work/house.csv"

start_private_xvfb "$work" 2000x1000x24 || fail "no X server"

# Settings (recent files, the close record) stay in the scratch folder.
XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb "$program" "$work/house.csv" \
    >"$work/out" 2>"$work/err" &
app_pid=$!

list=$(wait_window '^house\.csv - 柱リスト' 20) ||
    fail "the list window did not appear"
calc=$(wait_window '^KORUBA-X    Ver\.' 20) ||
    fail "the calculator did not appear"
geometry() { xdotool getwindowgeometry --shell "$1" | tr '\n' ' '; }
overlap=$(
    eval "$(geometry "$list")"
    lx=$X ly=$Y lw=$WIDTH lh=$HEIGHT
    eval "$(geometry "$calc")"
    ((lx < X + WIDTH && X < lx + lw && ly < Y + HEIGHT && Y < ly + lh)) && echo yes || echo no
)
[[ $overlap == no ]] || fail "the list opened over the calculator"
# Without a window manager windows have no frames: a known place for the
# clicks below.
xdotool windowmove --sync "$list" 0 0
xdotool windowmove --sync "$calc" 1300 0
sleep 0.5

# Row 37 of the list (36 rows below the first) is 2F-X1Y1: pattern 21,
# P3.0 in bay 1.
xdotool windowfocus --sync "$list"
xdotool key ctrl+Home
xdotool key --delay 30 --repeat 36 Down
xdotool key Return
wait_window '^KORUBA-X    Ver\..* - 柱 2F-X1Y1$' 10 >/dev/null ||
    fail "the calculator's title does not name the row: $(xdotool getwindowname "$calc")"

# The calculator's upper left bay (as the main window test finds it); the
# element chosen at start is the brace rising to the left, 45x90.
eval "$(xdotool getwindowgeometry --shell "$calc")"
xdotool mousemove --sync $((X + 118 + 2 + 9 + 19)) $((Y + 270 + 2 + 9 + 21)) click 1
# The edit marks the list as changed: its title gains the asterisk.
wait_window '^house\.csv\* - 柱リスト' 10 >/dev/null ||
    fail "the click in the calculator did not change the list"

xdotool windowfocus --sync "$list"
xdotool key ctrl+s
for _ in $(seq 100); do
    grep -q '^2F-X1Y1,21,0,L45+P3.0,' "$work/house.csv" && break
    sleep 0.1
done
grep -q '^2F-X1Y1,21,0,L45+P3.0,' "$work/house.csv" ||
    fail "the saved list does not hold the edited bay: $(grep '^2F-X1Y1' "$work/house.csv")"

# Another program adds a row to the saved file: the next Ctrl+S asks
# before it would overwrite it, in Japanese; Escape keeps the file.
printf 'X9,21,0,,,,\r\n' >>"$work/house.csv"
xdotool key ctrl+s
box=$(wait_window '^柱リスト$' 10) ||
    fail "saving over the changed file did not ask"
xdotool windowfocus --sync "$box"
xdotool key Escape
wait_window_gone '^柱リスト$' 5 || true
tail -n 1 "$work/house.csv" | grep -q '^X9,' || fail "the changed file was overwritten"
sed -i '$d' "$work/house.csv"
xdotool windowfocus --sync "$list"

# The first sheet of a list asks for its project and designer, offering
# the file's name as the project.
xdotool key ctrl+shift+p
heading=$(wait_window '^計算書の記載事項$' 10) ||
    fail "the sheet did not ask for its project and designer"
xdotool windowfocus --sync "$heading"
xdotool key ctrl+a
xdotool type --delay 20 "Yamada House"
xdotool key Tab
xdotool type --delay 20 "Sato Design"
xdotool key Return
dialog=$(wait_window '^計算書をPDFに保存$' 10) ||
    fail "the file dialog did not open"
answer_file_dialog "$dialog" "$work/house.pdf"
wait_file "$work/house.pdf" 10 || fail "no sheet was written"
# The heading is the list's: saved with it.
xdotool windowfocus --sync "$list"
xdotool key ctrl+s
for _ in $(seq 100); do
    grep -q 'Yamada House' "$work/house.csv" && break
    sleep 0.1
done
grep -q 'Yamada House,Sato Design' "$work/house.csv" || fail "the list file lacks its sheet's heading"

shots=$build/tests/e2e/screenshots
mkdir -p "$shots"
import -window root "$shots/columnlist_xvfb.png" || true

xdotool windowfocus --sync "$list"
xdotool key alt+f v
preview=$(wait_window '^計算書の印刷プレビュー$' 10) ||
    fail "print preview did not open from the File menu"
import -window root "$shots/columnlist_preview_xvfb.png" || true
xdotool windowfocus --sync "$preview"
xdotool key Escape
wait_window_gone '^計算書の印刷プレビュー$' 5 || true

xdotool windowfocus --sync "$list"
xdotool key alt+f e
dialog=$(wait_window '^結果を書き出す$' 10) ||
    fail "the results export did not open its file dialog"
answer_file_dialog "$dialog" "$work/results.csv"
wait_file "$work/results.csv" 10 || true
"$tool" --spreadsheet-safe "$work/house.csv" >"$work/tool-results.csv" || true
cmp -s "$work/results.csv" "$work/tool-results.csv" ||
    fail "the exported results differ from the batch tool's"

xdotool windowfocus --sync "$list"
xdotool key ctrl+shift+s
dialog=$(wait_window '^柱リストを保存$' 10) ||
    fail "Ctrl+Shift+S did not open the save-as dialog"
xdotool windowfocus --sync "$dialog"
xdotool key Escape

# A change, then the calculator's close: one question naming the file;
# Cancel keeps both windows and the change.
xdotool windowfocus --sync "$list"
xdotool key ctrl+d
eval "$(xdotool getwindowgeometry --shell "$calc")"
xdotool mousemove --sync $((X + 3 + 56)) $((Y + 422 + 13)) click 1
box=$(wait_window '^柱リスト$' 10) ||
    fail "closing the calculator with a changed list did not ask"
xdotool windowfocus --sync "$box"
xdotool key Escape
sleep 0.5
find_window '^KORUBA-X    Ver\.' >/dev/null || fail "Cancel closed the calculator"
find_window '^house\.csv\* - 柱リスト' >/dev/null ||
    fail "Cancel lost the list or its change"

# Closing again and discarding (the button after Save) ends the program
# without a second question, and the saved file keeps its rows.
cp "$work/house.csv" "$work/saved.csv"
xdotool windowfocus --sync "$calc"
eval "$(xdotool getwindowgeometry --shell "$calc")"
xdotool mousemove --sync $((X + 3 + 56)) $((Y + 422 + 13)) click 1
box=$(wait_window '^柱リスト$' 10) ||
    fail "closing the calculator again did not ask"
xdotool windowfocus --sync "$box"
xdotool key Tab Return
for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end (asked again?)"
cmp -s "$work/house.csv" "$work/saved.csv" || fail "discarding changed the saved list"
wait "$app_pid" || fail "the program exited with status $?"
app_pid=

"$tool" "$work/house.csv" >"$work/house.out.csv" || fail "the batch tool failed on the saved list"
pdftotext -layout "$work/house.pdf" "$work/house.txt"
grep -q 'N値計算書' "$work/house.txt" || fail "the sheet has no title"
grep -q '物件名：Yamada House *設計者：Sato Design' "$work/house.txt" ||
    fail "the sheet is not headed with the list's project and designer"
# Every column's name and N (the tool's CSV: id first, N after the input's
# columns).
ncol=$(head -n 1 "$work/house.out.csv" | tr -d '\r' | tr ',' '\n' | grep -nx 'N' | cut -d: -f1)
checked=0
while IFS=, read -r id n; do
    grep -qF -- "$id" "$work/house.txt" || fail "the sheet lacks $id"
    grep -F -- "$id" "$work/house.txt" | grep -qF -- " $n " ||
        fail "the sheet's line of $id lacks N = $n"
    checked=$((checked + 1))
done < <(tail -n +2 "$work/house.out.csv" | tr -d '\r' | awk -F, -v n="$ncol" '{ print $1 "," $n }')
((checked == 60)) || fail "checked $checked columns, expected 60"
edited=$(grep '^2F-X1Y1,' "$work/house.out.csv" | awk -F, -v n="$ncol" '{ print $n }')

# The house expanded into a list.
plan=$(dirname "$house")/house2f.kxhouse
XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb "$program" "$work/house.csv" \
    >"$work/out2" 2>"$work/err" &
app_pid=$!
list=$(wait_window '^house\.csv - 柱リスト' 20) ||
    fail "the list window did not appear again"
xdotool windowmove --sync "$list" 0 0
xdotool windowfocus --sync "$list"
xdotool key ctrl+shift+h
dialog=$(wait_window '^住宅ファイルを柱リストに展開$' 10) || fail "Ctrl+Shift+H did not ask for a house file"
answer_file_dialog "$dialog" "$plan"
wait_window '^無題\* - 柱リスト' 10 >/dev/null ||
    fail "the house did not become a new, changed list"
sleep 0.5
import -window root "$shots/columnlist_house_xvfb.png" || true
xdotool windowfocus --sync "$list"
xdotool key ctrl+s
dialog=$(wait_window '^柱リストを保存$' 10) ||
    fail "saving the expanded list did not ask for a file"
answer_file_dialog "$dialog" "$work/expanded.csv"
wait_file "$work/expanded.csv" 10 || true
rows=$(tail -n +2 "$work/expanded.csv" | grep -c '^[12]F-X[0-9]*-Y[0-9]*-[XY],') || true
columns=$(grep -c '"at"' "$plan")
((rows == 2 * columns)) || fail "the expanded list has $rows rows, expected $((2 * columns))"
# Its computable rows are the tool's; the frames no pattern draws it refuses.
"$tool" "$work/expanded.csv" >"$work/expanded.out.csv" 2>"$work/expanded.err" || true
grep -q '^1F-X0-Y0-X,' "$work/expanded.out.csv" || fail "the tool did not compute the expanded list"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=
echo "PASS: 2F-X1Y1 edited in the calculator (N = $edited), saved, sheet of $checked columns;" \
    "the two-storey house expanded into $rows rows"
