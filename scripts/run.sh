#!/usr/bin/env bash
# Installs what the build needs, builds, lays out the portable program folder and a demo
# simulator folder, points the settings at the demo (unless the player has configured anything:
# the build leaves the shipped settings file, which names only the language, until then), and
# starts the program. Without a display it runs under Xvfb and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default
cmake --build --preset default --target zel_nevora
program="build/default/program"
demo="$PWD/build/demo-simulator"
{ [ -e "$demo/train.exe" ] && [ -d "$demo-content" ]; } || scripts/make_demo.sh "$demo"
settings="$program/Dump/All_dat.ini"
if [ ! -e "$settings" ] || cmp -s "$settings" data/Dump/All_dat.ini; then
  printf '[Programma]\r\nTaalkeuze=Nederlands\r\nTaalscherm=1\r\n[msts locatie]\r\nPad=%s\r\n' "$demo" > "$settings"
  echo "Settings point at the demo simulator folder $demo"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running the program under Xvfb (a virtual screen you cannot see)."
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$program/ZEL Nevora"
fi
exec "$program/ZEL Nevora"
