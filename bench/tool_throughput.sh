#!/bin/bash
# Times koruba-x-calc on generated columns in both batch formats.
#   bench/tool_throughput.sh [TOOL] [COLUMNS]
# TOOL defaults to build/cli/cli/koruba-x-calc, COLUMNS to 1000000, JOBS=n
# passes --jobs n. The generated files live in a temporary directory that is
# removed at the end (KEEP=1 keeps it); the output goes to /dev/null so that
# the disk is not what is timed.
set -eu

tool=${1:-build/cli/cli/koruba-x-calc}
columns=${2:-1000000}
jobs=${JOBS:-}
[ -x "$tool" ] || { echo "no tool at $tool; build the koruba-x-calc target first" >&2; exit 2; }

work=$(mktemp -d)
if [ -n "${KEEP:-}" ]; then
    echo "generated files kept in $work"
else
    trap 'rm -rf "$work"' EXIT
fi

# Columns drawn from the tokens designers write, every pattern, mirrored or
# not, with a fixed seed so that runs compare. Mirroring is drawn for every
# pattern although it changes nothing for 22 and 13.
awk -v n="$columns" -v csv="$work/columns.csv" -v jsonl="$work/columns.jsonl" 'BEGIN {
    srand(20240601)
    split("21 22 11 12 13", pat, " ")
    nt = split("- - - L45 R45 L30 R30 L90 R90 X45 X90 L15 X30 P1.0 P2.5 P0.5 P3.0 L45+P2.5 X90+P2.5 R30+P1.0 X45+P5.0 L90+P3.0", tok, " ")
    print "id,pattern,reversed,bay1,bay2,bay3,bay4" > csv
    for (i = 1; i <= n; i++) {
        p = pat[int(rand() * 5) + 1]
        r = int(rand() * 2)
        # Only the bays that the pattern (mirrored or not) uses hold walls.
        use = "1234"
        if (p == 21) use = r ? "2" : "1"
        if (p == 22) use = "12"
        if (p == 11) use = r ? "24" : "13"
        if (p == 12) use = r ? "134" : "234"
        for (b = 1; b <= 4; b++) {
            t = tok[int(rand() * nt) + 1]
            bay[b] = (t == "-" || index(use, b) == 0) ? "" : t
        }
        printf "C%d,%s,%d,%s,%s,%s,%s\n", i, p, r, bay[1], bay[2], bay[3], bay[4] > csv
        printf "{\"id\": \"C%d\", \"pattern\": %s, \"reversed\": %s, \"bays\": [\"%s\", \"%s\", \"%s\", \"%s\"]}\n", \
            i, p, (r ? "true" : "false"), bay[1], bay[2], bay[3], bay[4] > jsonl
    }
}'

ls -l "$work/columns.csv" "$work/columns.jsonl" | awk '{ print $5, $NF }' | sed "s|$work/||"

# Wall time is the figure that counts; CPU time (user + system, all
# threads) shows how much of the machine the run took, which matters when
# other work shares the processors.
run() {
    format=$1
    file=$2
    local TIMEFORMAT="%R %U %S"
    local times
    if [ -n "$jobs" ]; then
        times=$( { time "$tool" --format "$format" --jobs "$jobs" "$file" > /dev/null; } 2>&1 )
    else
        times=$( { time "$tool" --format "$format" "$file" > /dev/null; } 2>&1 )
    fi
    echo "$times" | awk -v n="$columns" -v f="$format" '{
        printf "%-6s %d columns in %.3f s (CPU %.3f s): %.0f columns/s\n", f, n, $1, $2 + $3, n / $1
    }'
}

for round in 1 2 3; do
    run csv "$work/columns.csv"
    run jsonl "$work/columns.jsonl"
done
