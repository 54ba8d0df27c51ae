#!/usr/bin/env bash
# The Windows release proven under wine: makes the zip (scripts/package-windows.sh), unpacks a
# copy and drives it on a virtual X screen in a fresh wine prefix (tests/e2e/wine_package_test.py:
# first-run windows, main window, fog run and restore compared byte for byte, Help and About).
# Extra arguments go to the test, e.g. --picture docs/windows-main-window.png
set -euo pipefail
cd "$(dirname "$0")/.."
"$PWD/scripts/install-packages.sh" wine wine64 xvfb xauth openbox xdotool x11-utils x11-apps \
  python3 python3-pil fonts-dejavu-core
zip=$(scripts/package-windows.sh | tail -n 1)
# Debian's interpreter: it has Pillow for the picture.
/usr/bin/python3 tests/e2e/wine_package_test.py "$zip" "$@"
