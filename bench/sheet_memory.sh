#!/bin/bash
# Peak memory of koruba-x-calc writing the calculation sheet of generated
# columns, at two sizes, and of the small number of columns padded to a
# large input: the sheet route keeps only what a page needs and reads the
# input from its file again for each pass, so the peak grows neither with
# the records laid out nor with the bytes of the input.
#   bench/sheet_memory.sh [TOOL] [SMALL] [LARGE] [PADDED_MB]
# TOOL defaults to build/default/cli/koruba-x-calc, SMALL to 10000 and
# LARGE to 100000 columns, PADDED_MB to 200 (each of the SMALL columns
# then carries a note cell the sheet does not show). Targets: the large
# sheet's peak and the padded one's, each at most 8 MB above the small
# one's (measured: 23 MB, 23 MB and 23 MB; when every record was held, 29
# MB and 78 MB at the two sizes; when the input was held, 23 MB, 27 MB and
# 273 MB). Run by hand; the large sheet takes about a minute and a half.
set -eu

tool=${1:-build/default/cli/koruba-x-calc}
small=${2:-10000}
large=${3:-100000}
[ -x "$tool" ] || { echo "no tool at $tool; build the koruba-x-calc target first" >&2; exit 2; }
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

peak() { # columns [bytes of padding a column] -> peak resident set in KB
    awk -v n="$1" -v pad="${2:-0}" 'BEGIN {
        srand(20240601)
        split("21 22 11 12 13", pattern, " ")
        split("- L45 R45 X90 P2.5 L45+P1.0 R90+P3.0", token, " ")
        note = ""
        while (length(note) < pad) note = note "0123456789abcdef"
        note = substr(note, 1, pad)
        print "id,pattern,reversed,bay1,bay2,bay3,bay4" (pad ? ",note" : "")
        for (i = 1; i <= n; i++) {
            line = "C" i "," pattern[int(rand() * 5) + 1] "," (i % 2)
            for (b = 1; b <= 4; b++) line = line "," token[int(rand() * 7) + 1]
            print line (pad ? "," note : "")
        }
    }' >"$work/columns.csv"
    /usr/bin/time -f %M -o "$work/peak" "$tool" "$work/columns.csv" --sheet-only \
        --sheet "$work/sheet.pdf" 2>/dev/null || [ $? -eq 1 ]
    cat "$work/peak"
}

a=$(peak "$small")
b=$(peak "$large")
padded=${4:-200}
c=$(peak "$small" $((padded * 1024 * 1024 / small)))
echo "$small columns: peak $((a / 1024)) MB"
echo "$large columns: peak $((b / 1024)) MB"
echo "$small columns in $padded MB of input: peak $((c / 1024)) MB"
growth=$(((b - a) / 1024))
echo "growth with the columns: $growth MB (target: at most 8 MB)"
inputGrowth=$(((c - a) / 1024))
echo "growth with the input's size: $inputGrowth MB (target: at most 8 MB)"
[ "$growth" -le 8 ] && [ "$inputGrowth" -le 8 ]
