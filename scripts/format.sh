#!/usr/bin/env bash
# Formats every C++ file of the project by .clang-format (Debian's clang-format).
# Usage: scripts/format.sh          rewrites the files that differ
#        scripts/format.sh --check  changes nothing, fails on a file that differs (CI)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh format
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
  clang-format --dry-run -Werror "${files[@]}"
else
  clang-format -i "${files[@]}"
fi
