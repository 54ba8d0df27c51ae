#!/usr/bin/env bash
# Builds ZEL Nevora for 64-bit Windows from Linux and packs the portable program folder as
# build/packages/ZEL-Nevora-<version>-windows-x64.zip: "ZEL Nevora.exe", the Qt and MinGW runtime
# DLLs it loads and nothing more, platforms/qwindows.dll (and the Windows style), the help
# documents, and Dump/ with packs, fog files, textures and an empty Back_up/.
# Qt for Windows comes from scripts/build-qt-windows.sh (built once per machine, about half an hour).
# Prints the zip's path, and nothing else, on standard output.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
out=$src/build/packages
build=$src/build/win-package
triple=x86_64-w64-mingw32
fail() { echo "package-windows: $*" >&2; exit 1; }

"$src/scripts/install-packages.sh" mingw

qt=$("$src/scripts/build-qt-windows.sh" | tail -n 1) || fail "building Qt for Windows failed"
[ -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ] || fail "Qt for Windows is incomplete: $qt"

# Qt's toolchain file loads ours and adds the host tools. It remembers ours by the path of the
# checkout that built Qt, which may be gone: this checkout's is named here. The program
# links the MinGW runtime as DLLs, the ones Qt's DLLs use too, instead of a second static copy.
# RelWithDebInfo as the Linux build (-O2; GCC 12 warns falsely at -O3), stripped when laid out.
# The host rcc would compress resources with zstd, which this Qt cannot read.
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" \
  -DCMAKE_EXE_LINKER_FLAGS= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEL_WERROR=ON -DCMAKE_AUTORCC_OPTIONS=--no-zstd \
  -DZEL_BUILD_TESTS=OFF -DZEL_BUILD_BENCH=OFF > /dev/null || fail "configuring the Windows build failed"
cat "$build"/CMakeFiles/*/CMakeCXXCompiler.cmake | grep -q "^set(CMAKE_CXX_COMPILER \".*/$triple-g++" ||
  fail "the Windows build did not pick the MinGW compiler"
cmake --build "$build" -j "${ZEL_JOBS:-2}" --target zel_nevora >&2 || fail "the Windows build failed"
name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$name" ] || fail "the package name is missing from $build/CPackConfig.cmake"

# Laid out and zipped in a scratch folder, then renamed into place in one step: a run that fails
# midway leaves no zip under the final name (not even the last run's).
mkdir -p "$out"
rm -f "$out/$name.zip"
scratch=$(mktemp -d "$out/.windows.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
folder=$scratch/$name
cmake --install "$build" --prefix "$folder" --strip > /dev/null || fail "laying out the program folder failed"
[ -f "$folder/ZEL Nevora.exe" ] || fail "the program folder has no ZEL Nevora.exe"

# The plugins Qt loads at start-up: the platform and the native widget style.
mkdir -p "$folder/platforms" "$folder/styles"
cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/" || fail "Qt has no platforms/qwindows.dll"
if [ -f "$qt/plugins/styles/qwindowsvistastyle.dll" ]; then
  cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
else
  rmdir "$folder/styles"
fi

# Every DLL the executable and the plugins load, followed through the DLLs they load in turn,
# taken from Qt and the MinGW runtime. Windows' own DLLs are found nowhere here and stay out.
gccdir=$(dirname "$("$triple-gcc-posix" -print-libgcc-file-name)")
dirs=("$qt/bin" "$gccdir" "/usr/$triple/lib" "/usr/$triple/bin")
queue=("$folder/ZEL Nevora.exe" "$folder"/platforms/*.dll "$folder"/styles/*.dll)
declare -A seen=()
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}; queue=("${queue[@]:1}")
  [ -f "$file" ] || continue
  while read -r dll; do
    key=${dll,,}
    [ -n "${seen[$key]:-}" ] && continue
    seen[$key]=1
    for d in "${dirs[@]}"; do
      if [ -f "$d/$dll" ]; then
        cp "$d/$dll" "$folder/"
        "$triple-strip" --strip-unneeded "$folder/$dll"
        queue+=("$folder/$dll")
        break
      fi
    done
  done < <("$triple-objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
done
for dll in Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll; do
  [ -f "$folder/$dll" ] || fail "$dll was not found among the program's DLLs"
done

(cd "$scratch" && cmake -E tar cf "$name.zip" --format=zip "$name") || fail "zipping failed"
mv "$scratch/$name.zip" "$out/$name.zip"
echo "$out/$name.zip"
