#!/bin/sh
# Puts ZEL Nevora into your desktop's application menu: the desktop entry, pointing at this
# folder, and the icon at every size. Run it again after moving the folder. Nothing needs root.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
for dir in "$here"/icons/hicolor/*/apps; do
  size=$(basename "$(dirname "$dir")")
  mkdir -p "$data/icons/hicolor/$size/apps"
  cp "$dir/zel-nevora.png" "$data/icons/hicolor/$size/apps/zel-nevora.png"
done
mkdir -p "$data/applications"
# The entry names this folder; quoted, as the program's name has a space.
dir=$(printf '%s' "$here" | sed 's/[\\|&]/\\&/g')
sed -e "s|^Exec=.*|Exec=\"$dir/ZEL Nevora\"|" -e "s|^Path=.*|Path=$dir|" \
  "$here/zel-nevora.desktop" > "$data/applications/zel-nevora.desktop.tmp"
mv "$data/applications/zel-nevora.desktop.tmp" "$data/applications/zel-nevora.desktop"
echo "ZEL Nevora is now in your application menu ($data/applications/zel-nevora.desktop)."
