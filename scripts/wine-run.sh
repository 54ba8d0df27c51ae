#!/usr/bin/env bash
# Starts a Windows test program under wine for CTest. Wine now and then fails to start a program
# at all (a non-zero exit before the program has printed a byte); that is retried, twice at most,
# and said on stderr. A program that ran and failed is never retried.
# Use: wine-run.sh <wine> <program.exe> [arguments...]
set -uo pipefail
wine=$1
shift
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
for attempt in 1 2 3; do
  "$wine" "$@" > "$out" 2> "$err"
  rc=$?
  if [ "$rc" -eq 0 ] || [ -s "$out" ] || [ "$attempt" -eq 3 ]; then break; fi
  echo "wine-run: $1 exited with $rc before printing anything; starting it again" >&2
  cat "$err" >&2
done
cat "$out"
cat "$err" >&2
exit "$rc"
