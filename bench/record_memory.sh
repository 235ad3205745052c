#!/bin/bash
# Peak memory of koruba-x-calc on the longest records it reads: one
# record of 16 MiB shaped to cost the most per byte (millions of empty CSV
# fields, a header of millions of columns, millions of JSON members or
# array elements, one long field full of escapes).
#   bench/record_memory.sh [TOOL]
# TOOL defaults to build/default/cli/koruba-x-calc. For each record the
# script prints the peak resident set above that of a run on an empty
# batch, and that as a multiple of the record's bytes. Target: at most 8
# times the record; the script exits with 1 when a record is over it.
set -eu

tool=${1:-build/default/cli/koruba-x-calc}
[ -x "$tool" ] || { echo "no tool at $tool; build the koruba-x-calc target first" >&2; exit 2; }
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each file: a header where CSV needs one, the record of (nearly) 16 MiB,
# and a good record after it, which must still be computed.
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
limit = 16 << 20
header = "id,pattern,reversed,bay1,bay2,bay3,bay4"
good_csv = "after,21,0,L45,,,\n"
good_json = '{"id":"after","pattern":21,"reversed":0,"bays":["L45","","",""]}\n'
head = '{"id":"big","pattern":21,"reversed":0,"bays":["L45","","",""]'

def write(name, text):
    with open(f"{work}/{name}", "w", encoding="utf-8") as f:
        f.write(text)

write("empty.csv", header + "\n")
write("csv_empty_fields.csv", header + "\n" + "," * limit + "\n" + good_csv)
write("csv_wide_header.csv", header + "," * (limit - len(header)) + "\nC1,21,0,L45,,,\n")
field = '""x\n' * ((limit - 40) // 4)
write("csv_quoted_field.csv", header + ",note\nbig,21,0,L45,,,,\"" + field + "\"\n" + good_csv)
members = (limit - len(head) - 1) // 6
write("jsonl_members.jsonl", head + ',"a":0' * members + "}\n" + good_json)
elements = (limit - len(head) - 12) // 2
write("jsonl_array.jsonl", head + ',"note":[' + "0," * (elements - 1) + "0]}\n" + good_json)
escapes = (limit - len(head) - 12) // 2
write("jsonl_escaped_string.jsonl", head + ',"note":"' + "\\n" * escapes + '"}\n' + good_json)
PY

peak() {
    /usr/bin/time -f "%M" -o "$work/time" "$tool" "$1" >/dev/null 2>"$work/err" || true
    tail -n 1 "$work/time" # after "Command exited with non-zero status 1"
}

base=$(peak "$work/empty.csv")
echo "empty batch: peak memory $((base / 1024)) MB"
over=0
for file in "$work"/csv_* "$work"/jsonl_*; do
    bytes=$(stat -c %s "$file") # the record and a line or two around it
    kb=$(peak "$file")
    factor=$(awk -v kb="$kb" -v base="$base" -v bytes="$bytes" \
        'BEGIN { printf "%.1f", (kb - base) * 1024 / bytes }')
    printf "%-28s peak %6.1f MB, %5.1f MB above the empty batch: %4s x the record\n" \
        "$(basename "$file")" "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')" \
        "$(awk -v k="$kb" -v b="$base" 'BEGIN { print (k - b) / 1024 }')" "$factor"
    if awk -v f="$factor" 'BEGIN { exit !(f > 8) }'; then
        echo "  over the target of 8 x the record" >&2
        over=1
    fi
done
exit $over
