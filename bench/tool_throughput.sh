#!/bin/bash
# Times koruba-x-calc on one core on generated columns in both batch
# formats and reports its peak memory.
#   bench/tool_throughput.sh [TOOL] [COLUMNS]
# TOOL defaults to build/default/cli/koruba-x-calc, COLUMNS to 10000000,
# ROUNDS (runs of each format) to 3.
# Targets: at least 400,000 columns a second in each format, at most 64 MB
# peak memory. The generated files live in a temporary directory that is
# removed at the end (KEEP=1 keeps it); the output goes to /dev/null so
# that the disk is not what is timed.
set -eu

tool=${1:-build/default/cli/koruba-x-calc}
columns=${2:-10000000}
[ -x "$tool" ] || { echo "no tool at $tool; build the koruba-x-calc target first" >&2; exit 2; }
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 2; }

work=$(mktemp -d)
if [ -n "${KEEP:-}" ]; then
    echo "generated files kept in $work"
else
    trap 'rm -rf "$work"' EXIT
fi

# Columns drawn from every token a bay can hold, with a fixed seed so that
# runs compare. Most are two-storey frames with all four bays in use, so
# that nearly every wall layout is new and no cache of earlier results
# could help; the other patterns are mixed in.
awk -v n="$columns" -v csv="$work/columns.csv" -v jsonl="$work/columns.jsonl" 'BEGIN {
    srand(20240601)
    nt = 0
    tok[++nt] = ""
    split("R L X", kinds, " ")
    split("15 30 45 90", sizes, " ")
    for (k = 1; k <= 3; k++) for (s = 1; s <= 4; s++) brace[++nb] = kinds[k] sizes[s]
    for (p = 5; p <= 50; p += 5) panel[++np] = sprintf("P%.1f", p / 10)
    for (b = 1; b <= nb; b++) tok[++nt] = brace[b]
    for (p = 1; p <= np; p++) tok[++nt] = panel[p]
    for (b = 1; b <= nb; b++) for (p = 1; p <= np; p++) tok[++nt] = brace[b] "+" panel[p]
    print "id,pattern,reversed,bay1,bay2,bay3,bay4" > csv
    for (i = 1; i <= n; i++) {
        x = rand()
        p = x < 0.92 ? 13 : (x < 0.94 ? 12 : (x < 0.96 ? 11 : (x < 0.98 ? 22 : 21)))
        r = int(rand() * 2)
        # Only the bays that the pattern (mirrored or not) uses hold walls.
        use = "1234"
        if (p == 21) use = r ? "2" : "1"
        if (p == 22) use = "12"
        if (p == 11) use = r ? "24" : "13"
        if (p == 12) use = r ? "134" : "234"
        for (b = 1; b <= 4; b++) {
            bay[b] = index(use, b) ? tok[int(rand() * nt) + 1] : ""
        }
        printf "C%d,%s,%d,%s,%s,%s,%s\n", i, p, r, bay[1], bay[2], bay[3], bay[4] > csv
        printf "{\"id\": \"C%d\", \"pattern\": %s, \"reversed\": %s, \"bays\": [\"%s\", \"%s\", \"%s\", \"%s\"]}\n", \
            i, p, (r ? "true" : "false"), bay[1], bay[2], bay[3], bay[4] > jsonl
    }
}'

ls -l "$work/columns.csv" "$work/columns.jsonl" | awk '{ print $5, $NF }' | sed "s|$work/||"
distinct=$(tail -n +2 "$work/columns.csv" | cut -d, -f2- | sort -u -S 512M -T "$work" | wc -l)
awk -v d="$distinct" -v n="$columns" 'BEGIN { printf "distinct wall layouts: %d of %d (%.1f%%)\n", d, n, 100 * d / n }'

# Wall time on one core is the figure that counts; peak memory is the
# resident set's high-water mark.
run() {
    format=$1
    file=$2
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" taskset -c 0 "$tool" --format "$format" "$file" >/dev/null
    awk -v n="$columns" -v f="$format" '{
        printf "%-6s %d columns in %.2f s (CPU %.2f s): %.0f columns/s, peak memory %.1f MB\n",
            f, n, $1, $2 + $3, n / $1, $4 / 1024
    }' "$work/time"
}

for ((round = 0; round < ${ROUNDS:-3}; round++)); do
    run csv "$work/columns.csv"
    run jsonl "$work/columns.jsonl"
done
