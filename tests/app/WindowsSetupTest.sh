#!/usr/bin/env bash
# The Windows setup as a user meets it, under Wine on a private X server:
# a silent install (/S) into a fresh copy of the build's Wine prefix; the
# installed batch tool on examples/columns.csv must write Linux's output
# byte for byte; the installed window is started with the example house
# (its list in a folder with a Japanese name) and photographed: the main
# window at start, the list, pattern 13 with a capped bay loaded from the
# list, the summary dialog; closing it leaves its record in the registry;
# the silent uninstall must leave nothing in the install folder, the
# Start menu or the uninstall key.
# Usage: WindowsSetupTest.sh SETUP PREFIX_TEMPLATE EXAMPLES GOLDEN_DIR OUT_DIR VERSION
set -euo pipefail
source "$(dirname "$0")/../support/private_xvfb.sh"
source "$(dirname "$0")/../support/x_windows.sh"
setup=$1 template=$2 examples=$3 golden=$4 out=$5 version=$6

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    tail -n 40 "$work/err" >&2 2>/dev/null || true
    exit 1
}
[[ -f $setup ]] || fail "$setup is missing (build the windows_packages target first)"
for tool in Xvfb xdotool import wine; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/windows.sh installs it)"
done

export LC_ALL=C.UTF-8 LANG=C.UTF-8
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
cp -a "$template" "$WINEPREFIX"
rm -rf "$out"
mkdir -p "$out"
start_private_xvfb "$work" 1600x1000x24 || fail "no X server"

# A window's picture once it has settled: two captures a tenth of a
# second apart that agree.
settled_shot() { # window, file
    import -window "$1" "$work/shot.png"
    for _ in $(seq 50); do
        sleep 0.1
        import -window "$1" "$2"
        [[ $(compare -metric AE "$2" "$work/shot.png" null: 2>&1) == 0 ]] && return 0
        cp "$2" "$work/shot.png"
    done
    fail "the window $1 did not settle"
}

# Waits until a window's picture differs from FILE.
wait_changed() { # window, file, what
    for _ in $(seq 100); do
        import -window "$1" "$work/now.png"
        [[ $(compare -metric AE "$work/now.png" "$2" null: 2>&1) != 0 ]] && return 0
        sleep 0.1
    done
    fail "$3"
}
# Clicks a row of the list and waits until it shows the row chosen: by then
# Wine has made the list the window that takes the keys (a key sent
# earlier goes to the window that had them before).
choose_row() { # y in the list
    import -window "$list" "$work/list.png"
    xdotool mousemove --sync $((400 + 60)) "$1" click 1
    wait_changed "$list" "$work/list.png" "the list did not take the click"
}

installed="$WINEPREFIX/drive_c/Program Files/KORUBA-X"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KORUBA-X'
wine "$setup" /S || fail "the setup failed ($?)"
[[ -f $installed/KORUBA-X.exe && -f $installed/koruba-x-calc.exe ]] ||
    fail "nothing installed in $installed"
for file in Qt6Core.dll platforms/qwindows.dll fonts/ipagp.ttf fonts/DejaVuSans.ttf \
    licenses/IPA-fonts.txt translations/qtbase_ja.qm uninstall.exe; do
    [[ -f $installed/$file ]] || fail "the setup did not install $file"
done
wine reg query "$uninstall_key" /v DisplayVersion | grep -q "$version" ||
    fail "no uninstall entry of version $version"
# The list types: .jsonl is KORUBA-X's own, .csv only offers it.
wine reg query 'HKLM\Software\Classes\.jsonl' /ve | grep -q 'KORUBA-X.jsonl' ||
    fail ".jsonl is not KORUBA-X's type"
wine reg query 'HKLM\Software\Classes\KORUBA-X.jsonl\shell\open\command' /ve |
    grep -qF "\KORUBA-X\KORUBA-X.exe\" \"%1\"" || fail "no open command for .jsonl"
wine reg query 'HKLM\Software\Classes\KORUBA-X.kxhouse\shell\open\command' /ve |
    grep -qF "\KORUBA-X\KORUBA-X.exe\" \"%1\"" || fail "no open command for .kxhouse"
wine reg query 'HKLM\Software\Classes\.kxhouse' /ve | grep -q 'KORUBA-X.kxhouse' ||
    fail ".kxhouse is not KORUBA-X's type"
wine reg query 'HKLM\Software\Classes\.csv\OpenWithProgids' /v KORUBA-X.csv >/dev/null ||
    fail "KORUBA-X is not in the Open with list of .csv"
links="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/KORUBA-X"
[[ -f $links/KORUBA-X.lnk ]] || fail "no Start-menu shortcut"

# The installed batch tool against Linux's output.
wine "$installed/koruba-x-calc.exe" "$examples/columns.csv" >"$work/columns.out.csv" ||
    fail "the installed tool failed"
cmp "$work/columns.out.csv" "$golden/columns.out.csv" || fail "the installed tool's output differs"

# The window, with the example house in a folder with a Japanese name.
mkdir -p "$WINEPREFIX/drive_c/設計 2026"
cp "$examples/house60.csv" "$WINEPREFIX/drive_c/設計 2026/house60.csv"
wine "$installed/KORUBA-X.exe" 'C:\設計 2026\house60.csv' >"$work/out" 2>"$work/err" &
app_pid=$!
calc=$(wait_window '^KORUBA-X    Ver\.' 60) ||
    fail "the main window did not appear"
list=$(wait_window '^house60\.csv - 柱リスト' 30) ||
    fail "the column list did not appear"
# Without a window manager the windows may overlap: side by side.
xdotool windowmove --sync "$calc" 0 0
xdotool windowmove --sync "$list" 400 0
settled_shot "$calc" "$out/01-main-window.png"
settled_shot "$list" "$out/02-column-list.png"

# Row 8 of the list, 1F-X2Y2: pattern 13, bay 4 a 90x90 cross brace with
# a 2.5 panel, capped at 5.0; Enter loads it into the calculator.
choose_row 205
xdotool key Return
wait_changed "$calc" "$out/01-main-window.png" "the calculator did not take the row from the list"
settled_shot "$calc" "$out/03-pattern13-capped.png"

# The summary: the tool button right of the pattern buttons.
eval "$(xdotool getwindowgeometry --shell "$calc")"
xdotool mousemove --sync $((X + 4 + 6 + 216 + 54)) $((Y + 1 + 6 + 56)) click 1
summary=$(wait_window '^使用方法および計算概要$' 30) ||
    fail "the summary dialog did not open"
settled_shot "$summary" "$out/04-summary.png"
# Its close button (閉じる), which must close it.
eval "$(xdotool getwindowgeometry --shell "$summary")"
xdotool mousemove --sync $((X + 438 + 37)) $((Y + 358 + 11)) click 1
wait_window_gone '^使用方法および計算概要$' 10 || fail "the summary did not close"
eval "$(xdotool getwindowgeometry --shell "$calc")"

# Closing: the list first (nothing changed), then the main window's
# button.
choose_row 223
xdotool key ctrl+w
xdotool mousemove --sync $((X + 3 + 56)) $((Y + 422 + 13)) click 1
for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
wait "$app_pid" || fail "the program exited with status $?"
app_pid=
# The record as Windows holds it. reg query prints in the ANSI code page,
# which cannot spell the Japanese key and title; the export is UTF-16.
wine reg export 'HKCU\Software\コルバ工房\KORUBA-X' "$work/record.reg" /y >/dev/null ||
    fail "no record in the registry"
record=$(iconv -f UTF-16 -t UTF-8 "$work/record.reg" | tr -d '\r')
echo "$record"
grep -qxF '[HKEY_CURRENT_USER\Software\コルバ工房\KORUBA-X]' <<<"$record" ||
    fail "the record is not under HKEY_CURRENT_USER\Software\コルバ工房\KORUBA-X"
grep -qxF '"Title"="パターン別Ｎ値算定"' <<<"$record" || fail "the record lacks the title"
grep -qxF "\"Ver\"=\"$(cut -d. -f1-3 <<<"$version" | tr -d .)\"" <<<"$record" ||
    fail "the record lacks the version"

wine "$installed/uninstall.exe" /AllUsers /S || fail "the uninstaller failed ($?)"
# The uninstaller copies itself away and returns at once; its copy ends
# with the wine server.
wineserver --wait
[[ ! -e $installed ]] || fail "left in the install folder: $(find "$installed" | head)"
[[ ! -e $links ]] || fail "left in the Start menu: $(find "$links")"
for key in "$uninstall_key" 'HKLM\Software\Classes\KORUBA-X.jsonl' 'HKLM\Software\Classes\.jsonl' \
    'HKLM\Software\Classes\KORUBA-X.kxhouse' 'HKLM\Software\Classes\.kxhouse'; do
    if wine reg query "$key" >/dev/null 2>&1; then
        fail "$key is still there"
    fi
done
echo "PASS: installed, tool output identical, window photographed in $out, record written, uninstalled"
