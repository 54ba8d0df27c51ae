#!/usr/bin/env bash
# Builds the program (the default preset's build) and packs the portable program folder as
# build/packages/ZEL-Nevora-<version>-linux-x86_64.tar.gz: the executable, the help documents and
# pages (with their pictures), Dump/, the desktop entry with add-to-menu.sh, and the icon at the
# usual sizes. Runs on Debian 12 with the Qt 6 runtime packages the README names. Prints the
# archive's path last.
# With --check it then unpacks the archive elsewhere and drives the unpacked program through a
# fog run and its restore on a virtual X screen (tests/e2e/window_manager_test.py).
set -euo pipefail
check=no
case "${1:-}" in
  --check) check=yes ;;
  "") ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
src=$PWD
out=$src/build/packages
fail() { echo "package-linux: $*" >&2; exit 1; }

"$src/scripts/install-packages.sh" build test

cmake --preset default > /dev/null || fail "configuring the build failed"
cmake --build --preset default --target zel_nevora || fail "building the program failed"
build=$src/build/default
name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$name" ] || fail "the package name is missing from $build/CPackConfig.cmake"

# Packed in a scratch folder and renamed into place in one step: a run that fails midway leaves
# no archive under the final name (not even the last run's).
mkdir -p "$out"
rm -f "$out/$name.tar.gz"
scratch=$(mktemp -d "$out/.linux.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -G TGZ -B "$scratch" > "$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log" >&2; fail "packing failed"; }
[ -s "$scratch/$name.tar.gz" ] || fail "CPack did not write $name.tar.gz"
mv "$scratch/$name.tar.gz" "$out/$name.tar.gz"

if [ $check = yes ]; then
  mkdir "$scratch/unpacked"
  tar -xzf "$out/$name.tar.gz" -C "$scratch/unpacked"
  folder=$scratch/unpacked/$name
  for f in "ZEL Nevora" "ZEL Nevora Help (English).doc" "ZEL Nevora Help (Nederlands).doc" \
    "ZEL Nevora Help (English).html" "ZEL Nevora Help (Nederlands).html" \
    Dump/Languages/English.lng Dump/sun/sun25.env Dump/Textures/ZEL_rainsky.ace \
    zel-nevora.desktop add-to-menu.sh icons/hicolor/16x16/apps/zel-nevora.png \
    icons/hicolor/256x256/apps/zel-nevora.png; do
    [ -f "$folder/$f" ] || fail "the archive lacks $f"
  done
  # Each help page shows its pictures from the folder beside it.
  for page in "ZEL Nevora Help (English).html" "ZEL Nevora Help (Nederlands).html"; do
    pictures=$(grep -o 'src="help-pictures/[^"]*"' "$folder/$page" | sed 's/^src="//; s/"$//' || true)
    [ "$(printf '%s\n' "$pictures" | grep -c .)" -ge 4 ] || fail "$page shows fewer than four pictures"
    for picture in $pictures; do
      [ -f "$folder/$picture" ] || fail "the archive lacks $picture, which $page shows"
    done
  done
  [ -d "$folder/Dump/Back_up" ] && [ -z "$(ls -A "$folder/Dump/Back_up")" ] ||
    fail "the archive lacks an empty Dump/Back_up"
  [ -z "$(find "$folder" -name .keep)" ] || fail "the archive holds .keep placeholders"
  python3 "$src/tests/e2e/window_manager_test.py" "$folder" normal ||
    fail "the unpacked program failed its fog run"
fi
echo "$out/$name.tar.gz"
