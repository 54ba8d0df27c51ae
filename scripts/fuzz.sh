#!/bin/sh
# Builds the fuzz preset and runs each libFuzzer target for N seconds (default 20).
# Exits non-zero when a target crashes or fails a check; the input that did it is left in
# build/fuzz/findings/.
set -eu
seconds=${1:-20}
cd "$(dirname "$0")/.."
scripts/install-packages.sh build test fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
out=build/fuzz/findings
mkdir -p "$out"
status=0
for target in profile_fuzz wildcard_fuzz; do
    corpus=build/fuzz/corpus/$target
    mkdir -p "$corpus"
    echo "== $target: $seconds s"
    if ! "build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$out/$target-" "$corpus"; then
        echo "== $target FAILED" >&2
        status=1
    fi
done
exit $status
