#!/usr/bin/env bash
# The Windows batch tool, run under Wine with an ANSI code page that cannot
# spell Japanese (Wine takes 1252 from the C.UTF-8 locale, as a Western
# Windows has it): `koruba-x-calc 山田邸.csv --sheet 計算書.pdf` in a folder
# named "設計 2026". Its records must be byte for byte those of Linux (the
# golden files), from a file and from standard input, and its sheet must
# embed the IPA faces, as a sheet made on Linux does.
# Usage: WindowsPathTest.sh RUNNER... -- TOOL GOLDEN_DIR EXAMPLES_DIR OUT_DIR
set -euo pipefail
runner=()
while [[ $1 != -- ]]; do
    runner+=("$1")
    shift
done
shift
tool=$1 golden=$2 examples=$3 out=$4
fail() {
    echo "FAIL: $*" >&2
    cat "$folder/err" >&2 2>/dev/null || true
    exit 1
}
export LC_ALL=C.UTF-8 LANG=C.UTF-8

folder="$out/設計 2026"
rm -rf "$out"
mkdir -p "$folder"
cp "$examples/columns.csv" "$folder/山田邸.csv"
cp "$examples/columns.jsonl" "$folder/山田邸.jsonl"
cd "$folder"

"${runner[@]}" "$tool" 山田邸.csv --sheet 計算書.pdf >out.csv 2>err || fail "the tool failed ($?)"
cmp out.csv "$golden/columns.out.csv" || fail "CSV output differs from Linux's"
[[ -s 計算書.pdf ]] || fail "no sheet 計算書.pdf"
pdftotext 計算書.pdf sheet.txt
grep -q 'C1' sheet.txt || fail "the sheet lacks column C1"
fonts=$(pdffonts 計算書.pdf | tail -n +3)
echo "$fonts"
[[ -n $fonts ]] || fail "the sheet has no fonts"
# Every face is an embedded IPA face: name, type..., emb is the fifth field
# from the end.
while read -r line; do
    [[ $line == *IPAPGothic* ]] || fail "a face other than IPAPGothic: $line"
    [[ $(awk '{print $(NF-4)}' <<<"$line") == yes ]] || fail "not embedded: $line"
done <<<"$fonts"

"${runner[@]}" "$tool" 山田邸.jsonl >out.jsonl 2>err || fail "the tool failed on JSON Lines ($?)"
cmp out.jsonl "$golden/columns.out.jsonl" || fail "JSON Lines output differs from Linux's"
"${runner[@]}" "$tool" --format jsonl <山田邸.jsonl >stdin.jsonl 2>err ||
    fail "the tool failed on standard input ($?)"
cmp stdin.jsonl "$golden/columns.out.jsonl" || fail "output from standard input differs"
echo "PASS: Japanese names in \"設計 2026\", output identical to Linux's, sheet in IPAPGothic"
