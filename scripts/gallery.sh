#!/bin/sh
# Renders the link label gallery to docs/linklabel-gallery.png from the default build.
# Usage: scripts/gallery.sh   (after cmake --build --preset default)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
QT_QPA_PLATFORM=offscreen ZEL_GALLERY_OUT="$root/docs/linklabel-gallery.png" \
  "$root/build/default/tests/gui/widgets_tests" --gtest_filter='LinkLabelPaint.Gallery'
