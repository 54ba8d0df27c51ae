#!/usr/bin/env bash
# Cross-builds the Qt libraries the program needs (Core, Gui, Widgets, Test, the windows and
# offscreen platform plugins) as 64-bit Windows DLLs with Debian's MinGW-w64, from Debian's own
# qt6-base source package, the same version as the host's Qt, whose tools (moc, rcc, uic) it uses.
# Built once per machine, in a cache folder outside the checkout (ZEL_CACHE, by default
# ~/.cache/zel-nevora), so every clone and every CI run on the machine reuses it while Debian's
# source version and the options below stay the same. Takes long (about half an hour on two
# cores); nothing else is built.
# Output: <cache>/qt-win/qt (prefix with bin/*.dll, plugins/, lib/cmake/). Prints that path, and
# nothing else, on standard output; progress goes to standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
out=${ZEL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zel-nevora}/qt-win
prefix=$out/qt
jobs=${ZEL_JOBS:-2}

fail() { echo "build-qt-windows: $*" >&2; exit 1; }

"$src/scripts/install-packages.sh" mingw qt-windows

# The host's Qt decides the version: the tools it runs must match the libraries it builds.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev) || fail "qt6-base-dev is not installed"
upstream=${version#*:}; upstream=${upstream%-*}

# Everything the program does not use is off: a smaller, faster build. accessibility stays
# (screen readers), tabletevent goes (Debian removed the tablet headers it needs).
options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF
  -DFEATURE_testlib=ON -DFEATURE_gui=ON -DFEATURE_widgets=ON
  -DFEATURE_harfbuzz=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
  -DFEATURE_direct2d=OFF -DFEATURE_tabletevent=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
  -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF -DFEATURE_system_zlib=OFF
  -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
)
stamp="qt6-base $version | $(sha256sum "$src/cmake/mingw-w64.cmake" | cut -c1-16) | ${options[*]}"
if [ -f "$prefix/zel-qt.stamp" ] && [ "$(cat "$prefix/zel-qt.stamp")" = "$stamp" ]; then
  echo "$prefix"
  exit 0
fi

# Debian's source package, with Debian's patches applied. A fresh machine has no source lines
# in its apt configuration: add them next to the binary ones.
dl=$out/dl
dsc=$dl/qt6-base_${version#*:}.dsc
if [ ! -f "$dsc" ]; then
  if ! apt-get indextargets --format '$(IDENTIFIER)' 2>/dev/null | grep -qx 'Sources'; then
    list=/etc/apt/sources.list.d/zel-debian-src.sources
    echo "Adding Debian source packages to apt: $list" >&2
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
      "Suites: $codename $codename-updates" 'Components: main' \
      'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' | $SUDO tee "$list" > /dev/null
    $SUDO apt-get update -qq >&2
  fi
  rm -rf "$dl.part" && mkdir -p "$dl.part"
  (cd "$dl.part" && apt-get source --download-only "qt6-base=$version" >&2) ||
    fail "could not download Debian's qt6-base $version source package"
  rm -rf "$dl" && mv "$dl.part" "$dl"
fi
[ -f "$dsc" ] || fail "the download did not give $dsc"
if [ "$(cat "$out/src/.unpacked" 2>/dev/null)" != "$version" ]; then
  rm -rf "$out/src"
  dpkg-source -x "$dsc" "$out/src" > /dev/null 2>&1 || fail "could not unpack $dsc"
  rm -f "$out"/*.orig.tar.*  # the copy dpkg-source leaves beside the sources; dl/ keeps its own
  echo "$version" > "$out/src/.unpacked"
fi
# Qt 6.4 leaves dynamic OpenGL on when OpenGL is off, and the windows plugin then names OpenGL
# classes that were never declared: that one check needs OpenGL too. Patched in place, once.
window_cpp=$out/src/src/plugins/platforms/windows/qwindowswindow.cpp
grep -q '^#if QT_CONFIG(dynamicgl) && QT_CONFIG(opengl)$' "$window_cpp" ||
  sed -i '/^static inline bool isSoftwareGl()/,/^}/s/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
    "$window_cpp"
grep -q '^#if QT_CONFIG(dynamicgl) && QT_CONFIG(opengl)$' "$window_cpp" ||
  fail "could not patch $window_cpp"
# Likewise the DirectWrite font database is built into Gui only with Direct 2D, which is off.
integration_cpp=$out/src/src/plugins/platforms/windows/qwindowsintegration.cpp
sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' "$integration_cpp"
[ "$(grep -c '^#if QT_CONFIG(directwrite3) && QT_CONFIG(direct2d)$' "$integration_cpp")" = 2 ] ||
  fail "could not patch $integration_cpp"

# The host Qt (moc, rcc, uic, syncqt) lives in Debian's multiarch paths.
host_cmake=$(dirname "$(dpkg -L qt6-base-dev | grep -m1 '/cmake/Qt6HostInfo/Qt6HostInfoConfig.cmake$')")
[ -n "$host_cmake" ] || fail "the host Qt's CMake files (qt6-base-dev) were not found"
host_cmake=$(dirname "$host_cmake")

# A build stopped midway (or that failed) goes on where it stopped, as long as the options and
# the checkout are the same (its cache names our toolchain file by path); else it starts afresh.
start=$(date +%s)
rm -rf "$prefix"
build_stamp="$stamp | $src"
if [ ! -f "$out/build/zel-qt.stamp" ] || [ "$(cat "$out/build/zel-qt.stamp")" != "$build_stamp" ]; then
  rm -rf "$out/build"
fi
cmake -S "$out/src" -B "$out/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" -DCMAKE_EXE_LINKER_FLAGS= \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" > "$out/configure.log" 2>&1 ||
  fail "Qt's configure step failed; see $out/configure.log"
echo "$build_stamp" > "$out/build/zel-qt.stamp"
cmake --build "$out/build" -j "$jobs" >&2 || fail "the Qt build failed"
cmake --install "$out/build" > "$out/install.log" || fail "installing Qt failed; see $out/install.log"
echo "$stamp" > "$prefix/zel-qt.stamp"
echo "Qt for Windows built in $(( ($(date +%s) - start) / 60 )) minutes: $(du -sh "$prefix" | cut -f1)" >&2
echo "$prefix"
