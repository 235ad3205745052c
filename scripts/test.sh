#!/usr/bin/env bash
# Installs what is missing, checks the formatting, then builds and runs the whole test suite twice:
# an optimised build with warnings as errors, and a build under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

# Formatting is part of the build's contract: any tracked C++ file that
# clang-format would change fails the run before anything is compiled.
echo "=== clang-format ==="
git ls-files -z -- '*.cpp' '*.h' | xargs -0 --no-run-if-empty clang-format --dry-run --Werror

jobs=$(nproc 2>/dev/null || echo 2)
for preset in ci asan; do
  echo "=== ${preset}: configure, build, test ==="
  cmake --preset "${preset}"
  cmake --build --preset "${preset}" -j "${jobs}"
  ctest --preset "${preset}" -j "${jobs}"
done
