#!/usr/bin/env bash
# Renders the documentation pictures (docs/*.png) from the real windows, offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset default
export ZEL_SCREENSHOT_DIR="$PWD/docs" QT_QPA_PLATFORM=offscreen ZEL_SOURCE_DIR="$PWD"
build/default/tests/app/app_tests --gtest_filter='*RendersToPng*'
build/default/tests/about/about_tests --gtest_filter='*RendersToPng*'
build/default/tests/settings/language_tests --gtest_filter='*RendersToPng*'
build/default/tests/install/install_tests --gtest_filter='*RendersToPng*'
build/default/tests/fog/fog_window_test --gtest_filter='*RendersToPng*'
