#!/usr/bin/env bash
# The window program on a terminal without any window system: --help and
# --version answer and end, as Linux programs do; a full standard output
# is an error, not a silent success.
#
# usage: TerminalTest.sh <program> <version>
set -uo pipefail

program=$1
version=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# No display, no platform choice: anything that reached the toolkit's
# window system would abort here.
run() { timeout 10 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }

# name | arguments | expected first line of the output
while IFS='|' read -r name args first; do
    # shellcheck disable=SC2086
    out=$(run $args 2>&1)
    status=$?
    [[ $status == 0 ]] || fail "$name: exit status $status: $out"
    [[ $(head -n1 <<<"$out") == "$first" ]] || fail "$name: first line '$(head -n1 <<<"$out")'"
done <<EOT
version|--version|koruba-x $version
help|--help|Usage: koruba-x [OPTION] [FILE]
short help|-h|Usage: koruba-x [OPTION] [FILE]
help wins over version|--version --help|Usage: koruba-x [OPTION] [FILE]
after a toolkit option|-platform offscreen --version|koruba-x $version
EOT

help=$(run --help)
for option in '-h, --help' '--version'; do
    grep -qF -- "$option" <<<"$help" || fail "--help does not list $option"
done

if [[ -w /dev/full ]]; then
    run --version >/dev/full 2>/dev/null
    status=$?
    [[ $status == 1 ]] || fail "--version into a full output ended with $status, not 1"
fi

((failures == 0)) || exit 1
echo ok
