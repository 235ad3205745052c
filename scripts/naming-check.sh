#!/usr/bin/env bash
# Checks the naming rule (.clang-tidy: readability-identifier-naming) on
# the folders whose names are this program's own: columns/, report/, cli/
# and ui/ with its subfolders, where the original program's units keep the
# names of the original, its controls and handlers and stay out (MainForm,
# GaiyoForm, ui/services/LibComm_01 and the registry record RegistryRecord).
# Needs a configured build for compile_commands.json (the ci preset's by
# default); fails when a name breaks the rule.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
if [[ ! -f $build/compile_commands.json ]]; then
  echo "naming-check: no $build/compile_commands.json; configure first (cmake --preset ci)" >&2
  exit 2
fi
jobs=$(nproc 2>/dev/null || echo 2)
folders=(columns report cli ui) # ui/ with its subfolders
original='^ui/(calculator/MainForm|summary/GaiyoForm|services/LibComm_01|services/RegistryRecord)\.'
files() { # the folders' files with suffix $1, the original's units left out
  for f in "${folders[@]}"; do git ls-files -- "$f/*.$1"; done | grep -Ev "$original"
}
# A header is checked in the files that include it.
headers=$(files h | sed 's/\./\\./g' | paste -sd'|')
# The count of warnings left out (those of Qt's and the standard headers)
# that clang prints for each file is noise here.
files cpp | tr '\n' '\0' |
  xargs -0 -n 4 -P "$jobs" clang-tidy -p "$build" --quiet "--header-filter=/($headers)\$" 2>&1 |
  { grep -v '^[0-9]* warnings\? generated\.$' || true; }
