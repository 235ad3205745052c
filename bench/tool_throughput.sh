#!/bin/sh
# Times koruba-x-calc on generated columns in both batch formats.
#   bench/tool_throughput.sh [TOOL] [COLUMNS]
# TOOL defaults to build/cli/cli/koruba-x-calc, COLUMNS to 1000000. The
# generated files are kept in a temporary directory that is removed at the
# end; the output goes to /dev/null so that the disk is not what is timed.
set -eu

tool=${1:-build/cli/cli/koruba-x-calc}
columns=${2:-1000000}
jobs=${JOBS:-}
[ -x "$tool" ] || { echo "no tool at $tool; build the koruba-x-calc target first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Columns drawn from the tokens designers write, every pattern, mirrored or
# not, with a fixed seed so that runs compare.
awk -v n="$columns" -v csv="$work/columns.csv" -v jsonl="$work/columns.jsonl" 'BEGIN {
    srand(20240601)
    split("21 22 11 12 13", pat, " ")
    nt = split("- - - L45 R45 L30 R30 L90 R90 X45 X90 L15 X30 P1.0 P2.5 P0.5 P3.0 L45+P2.5 X90+P2.5 R30+P1.0 X45+P5.0 L90+P3.0", tok, " ")
    print "id,pattern,reversed,bay1,bay2,bay3,bay4" > csv
    for (i = 1; i <= n; i++) {
        p = pat[int(rand() * 5) + 1]
        r = int(rand() * 2)
        for (b = 1; b <= 4; b++) {
            t = tok[int(rand() * nt) + 1]
            bay[b] = (t == "-") ? "" : t
        }
        printf "C%d,%s,%d,%s,%s,%s,%s\n", i, p, r, bay[1], bay[2], bay[3], bay[4] > csv
        printf "{\"id\": \"C%d\", \"pattern\": %s, \"reversed\": %s, \"bays\": [\"%s\", \"%s\", \"%s\", \"%s\"]}\n", \
            i, p, (r ? "true" : "false"), bay[1], bay[2], bay[3], bay[4] > jsonl
    }
}'

ls -l "$work/columns.csv" "$work/columns.jsonl" | awk '{ print $5, $NF }' | sed "s|$work/||"

run() {
    format=$1
    file=$2
    start=$(date +%s.%N)
    if [ -n "$jobs" ]; then
        "$tool" --format "$format" --jobs "$jobs" "$file" > /dev/null
    else
        "$tool" --format "$format" "$file" > /dev/null
    fi
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" -v n="$columns" -v f="$format" 'BEGIN {
        t = e - s
        printf "%-6s %d columns in %.3f s: %.0f columns/s\n", f, n, t, n / t
    }'
}

for round in 1 2 3; do
    run csv "$work/columns.csv"
    run jsonl "$work/columns.jsonl"
done
