#!/usr/bin/env bash
# Cross-builds the plain C++ layers (platform with its Win32 backend, settings, colour, fog-run
# logic) and their tests for 64-bit Windows with Debian's MinGW-w64, then runs the tests under
# wine in a fresh prefix. Installs what it needs first; safe to run again.
# Output: build/win/ (GoogleTest for Windows, the build, the wine prefix). Extra arguments go to
# ctest, e.g. scripts/win-test.sh -R Registry
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
out=$src/build/win

"$src/scripts/install-packages.sh" mingw wine
toolchain=$src/cmake/mingw-w64.cmake
jobs=2
# Debian ships GoogleTest as source for other targets: built once for Windows.
gtest=$("$src/scripts/build-gtest-windows.sh" | tail -n 1)

cmake -S "$src" -B "$out/zel" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEL_BUILD_GUI=OFF -DZEL_BUILD_BENCH=OFF -DZEL_WERROR=ON \
  -DGTest_DIR="$gtest"
cmake --build "$out/zel" -j "$jobs"

# A fresh prefix every run, so nothing (registry keys above all) carries over from the last one.
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
# One persistent server for the whole run: each test then starts in a fraction of a second.
# It is started before the prefix is made, so wine's own background services belong to it and
# not to the first test, whose output pipe they would otherwise keep open.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot -i > /dev/null 2>&1

ctest --test-dir "$out/zel" --output-on-failure -j "$jobs" "$@"
