#!/usr/bin/env bash
# The Windows release proven under wine:
#  1. makes the zip (scripts/package-windows.sh), unpacks a copy and drives it on a virtual X
#     screen in a fresh wine prefix (tests/e2e/wine_package_test.py: the first-run windows, the
#     main window, a fog run and its restore compared byte for byte, Help and About);
#  2. builds the window tests for Windows against the same Qt and runs them under wine on Qt's
#     offscreen platform, as the Linux suite runs them.
# Extra arguments go to the test of step 1, e.g. --picture docs/windows-main-window.png
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
out=$src/build/win
fail() { echo "win-package-test: $*" >&2; exit 1; }
"$src/scripts/install-packages.sh" wine wine-screen

zip=$("$src/scripts/package-windows.sh" | tail -n 1) || fail "packaging failed"
# Debian's interpreter: it has Pillow for the picture.
/usr/bin/python3 "$src/tests/e2e/wine_package_test.py" "$zip" "$@" || fail "the packaged program failed under wine"

qt=$("$src/scripts/build-qt-windows.sh" | tail -n 1)
gtest=$("$src/scripts/build-gtest-windows.sh" | tail -n 1) || fail "building GoogleTest for Windows failed"
tests=(main_window_tests fog_window_test widgets_tests about_tests language_tests install_tests startup_tests)
# Our toolchain named by this checkout's path, as in package-windows.sh.
cmake -S "$src" -B "$out/gui" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" \
  -DCMAKE_EXE_LINKER_FLAGS= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEL_WERROR=ON -DZEL_BUILD_BENCH=OFF -DCMAKE_AUTORCC_OPTIONS=--no-zstd \
  -DGTest_DIR="$gtest" > /dev/null || fail "configuring the Windows tests failed"
cmake --build "$out/gui" -j 2 --target "${tests[@]}" || fail "building the Windows tests failed"

# The tests load Qt's DLLs from its folder (Qt then finds its plugins beside them) and the
# MinGW runtime from the compiler's. Wine hands no QT_* variable of the host to a Windows process,
# so CTest's QT_QPA_PLATFORM=offscreen would not reach the tests: a WINE prefix passes it on. On
# Windows the offscreen platform reads fonts from one folder only; DejaVu Sans there gives the
# tests the sans face fontconfig gives them on Linux.
fonts=$out/fonts
mkdir -p "$fonts"
for face in DejaVuSans DejaVuSans-Bold DejaVuSans-Oblique DejaVuSans-BoldOblique; do
  cp /usr/share/fonts/truetype/dejavu/$face.ttf "$fonts/" || fail "fonts-dejavu-core is not installed"
done
export WINEPREFIX=$out/wineprefix-gui WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
winpath() { printf 'Z:%s' "${1//\//\\}"; }
export WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR="$(winpath "$fonts")"
gccdir=$(dirname "$(x86_64-w64-mingw32-gcc-posix -print-libgcc-file-name)")
export WINEPATH="$(winpath "$qt/bin");$(winpath "$gccdir");$(winpath /usr/x86_64-w64-mingw32/lib)"
rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot -i > /dev/null 2>&1
ctest --test-dir "$out/gui" --output-on-failure -j 2 -E "_NOT_BUILT" \
  || fail "window tests failed under wine"
