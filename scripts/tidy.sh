#!/usr/bin/env bash
# Static analysis: Debian's clang-tidy, by .clang-tidy, over every C++ source file of the project,
# in parallel. Quiet when the code is clean; otherwise prints each finding once and fails.
# Works on the default build: its compile database, and the ui_*.h headers AUTOUIC generates, so
# it builds first (in CI the build of the tests has done that already).
# Usage: scripts/tidy.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-packages.sh build test tidy

build=build/default
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { cmake --preset default && cmake --build --preset default; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "tidy: the default build failed, and clang-tidy needs it" >&2
  exit 1
fi

# The files to analyse, each with its compile command, in a database of their own:
# - the Windows-only *_win.cpp files are skipped: they need the mingw cross build's headers and
#   compile commands, which this Linux build has not;
# - the fuzz targets are built by the fuzz preset only, so they borrow the compile command of the
#   core file they exercise (they include src/core and clang's own fuzzer header, nothing else);
# - generated sources (moc, autogen) are left out;
# - a tracked file that is in no target is an error, so that none goes unanalysed unnoticed.
mkdir -p "$build/tidy"
git ls-files '*.cpp' | grep -v '_win\.cpp$' | python3 -c '
import json, os, sys
root, build = sys.argv[1], sys.argv[2]
commands = {}
for entry in json.load(open(os.path.join(build, "compile_commands.json"))):
    commands[os.path.normpath(os.path.join(entry["directory"], entry["file"]))] = entry
core = commands[os.path.join(root, "src/core/platform/profile.cpp")]
database, missing = [], []
for name in sys.stdin.read().split():
    path = os.path.join(root, name)
    if path in commands:
        database.append(commands[path])
    elif name.startswith("fuzz/"):
        database.append(dict(core, file=path, command=core["command"].replace(core["file"], path)))
    else:
        missing.append(name)
if missing:
    sys.exit("tidy: in no target of the default build: " + " ".join(missing))
with open(os.path.join(build, "tidy", "compile_commands.json"), "w") as out:
    json.dump(database, out, indent=1)
' "$root" "$build"

tidy=$(command -v clang-tidy)
if run-clang-tidy -clang-tidy-binary "$tidy" -quiet -j "$(nproc)" -p "$build/tidy" \
  >"$log" 2>&1; then
  exit 0
fi
# run-clang-tidy prints each invocation and clang's counts, in colour, and a finding in a header
# once for every file that includes it: keep the findings, each once, in plain text, with paths
# from the project's root.
sed 's/\x1b\[[0-9;]*m//g' "$log" |
  grep -Ev "^$tidy |^[0-9]+ warnings? (generated|treated as errors)\.$|^Suppressed [0-9]+ warn" |
  sed "s|$root/||g" |
  awk '
    /^[^ ]+:[0-9]+:[0-9]+: (error|warning):/ {
      keep = !($0 in seen); seen[$0] = 1; n += keep; started = 1
    }
    !started || keep || /^Error while processing/ { print }
    END { if (n) printf "\ntidy: %d finding(s)\n", n }
  '
exit 1
