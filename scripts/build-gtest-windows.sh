#!/usr/bin/env bash
# Builds Debian's GoogleTest sources for 64-bit Windows with MinGW-w64, once per machine (kept in
# build/win/gtest), with Win32 threads inside gtest so its headers and library agree on the
# threading model. Prints the GTest_DIR for CMake, and nothing else, on standard output.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
out=$src/build/win
"$src/scripts/install-packages.sh" mingw wine
if [ ! -f "$out/gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$out/gtest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -Dgtest_disable_pthreads=ON -DCMAKE_INSTALL_PREFIX="$out/gtest" >&2
  cmake --build "$out/gtest-build" -j 2 >&2
  cmake --install "$out/gtest-build" > /dev/null
fi
echo "$out/gtest/lib/cmake/GTest"
