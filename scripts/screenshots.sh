#!/usr/bin/env bash
# Renders the documentation pictures (docs/*.png) from the real windows, offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset default
export ZEL_SCREENSHOT_DIR="$PWD/docs" QT_QPA_PLATFORM=offscreen ZEL_SOURCE_DIR="$PWD"
build/default/tests/gui/main_window_tests --gtest_filter='*RendersToPng*'
build/default/tests/gui/about_tests --gtest_filter='*RendersToPng*'
build/default/tests/gui/language_tests --gtest_filter='*RendersToPng*'
build/default/tests/gui/install_tests --gtest_filter='*RendersToPng*'
build/default/tests/gui/fog_window_test --gtest_filter='*RendersToPng*'
