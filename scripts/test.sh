#!/usr/bin/env bash
# Installs what is missing, checks the formatting, then builds and runs the whole test suite twice
# (checking the naming rule after the first build):
# an optimised build with warnings as errors, and a build under
# AddressSanitizer and UndefinedBehaviorSanitizer; then the Windows build
# and its tests under Wine (scripts/windows.sh) when Qt for Windows is at
# hand.
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
  if [[ $preset == ci ]]; then
    # The naming rule, with the compile commands of the build just made.
    echo "=== naming (clang-tidy) ==="
    ./scripts/naming-check.sh build/ci
  fi
  ctest --preset "${preset}" -j "${jobs}"
done

# The Windows build after the Linux tests, when the prebuilt Qt for Windows
# is at hand (CI keeps it in ../shared; without it scripts/windows.sh would
# build Qt from source, about an hour, which is left to a manual run).
qt_archive=../shared/toolchains/qt-6.4.2-mingw64.tar.xz
if [[ -f $qt_archive ]]; then
  echo "=== windows: ${qt_archive} is there: cross build, tests under Wine, setup and zip ==="
  windows_started=$SECONDS
  ./scripts/windows.sh
  echo "=== windows: took $((SECONDS - windows_started)) s ==="
else
  echo "=== windows: skipped, no ${qt_archive} (run ./scripts/windows.sh by hand) ==="
fi
