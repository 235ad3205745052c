#!/usr/bin/env bash
# Which platform plug-in a GUI test under Wine really loads. Wine hands no
# QT_ variable to the program, so the emulator renames the test's
# QT_QPA_PLATFORM to the WINEQT_ name that Wine passes on: the offscreen
# plug-in must be loaded, the windows plug-in (which would open real
# windows) never.
# Usage: WindowsPlatformTest.sh RUNNER... -- PROGRAM
set -euo pipefail
runner=()
while [[ $1 != -- ]]; do
    runner+=("$1")
    shift
done
shift
export QT_QPA_PLATFORM=offscreen WINEDEBUG=+loaddll
loaded=$("${runner[@]}" "$@" 2>&1 >/dev/null | grep -i 'loaddll.*Loaded' || true)
grep -qi 'platforms.*qoffscreen\.dll' <<<"$loaded" || {
    echo "FAIL: the offscreen plug-in was not loaded" >&2
    grep -i platforms <<<"$loaded" >&2
    exit 1
}
if grep -qi 'platforms.*qwindows\.dll' <<<"$loaded"; then
    echo "FAIL: the windows plug-in was loaded" >&2
    exit 1
fi
echo "PASS: $(grep -io 'platforms.*qoffscreen\.dll' <<<"$loaded" | head -n1) loaded"
