#!/usr/bin/env bash
# Installs what is missing, builds KORUBA-X and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

cmake --preset default
# Only the two programs: the tests and benchmarks take minutes more to
# compile, and scripts/test.sh builds them.
cmake --build --preset default -j "$(nproc 2>/dev/null || echo 2)" --target koruba-x koruba-x-calc

program=build/default/app/koruba-x
if [[ -x "${program}" ]]; then
  exec "${program}" "$@"
fi
# Without the window (a build without the GUI), the batch tool computes the
# example columns.
exec build/default/cli/koruba-x-calc examples/columns.csv
