#!/usr/bin/env bash
# Installs the Debian packages of the named groups of scripts/packages.txt that are not installed
# yet. Safe to run again. Says what it installs on standard error, so callers keep standard output.
# Usage: install-packages.sh GROUP...
set -euo pipefail
list="$(dirname "$0")/packages.txt"
wanted=()
for group in "$@"; do
  line=$(grep -E "^$group[[:space:]]" "$list") || { echo "install-packages: no group '$group' in $list" >&2; exit 2; }
  read -r -a packages <<< "${line#"$group"}"
  wanted+=("${packages[@]}")
done
missing=()
for p in $(printf '%s\n' "${wanted[@]}" | sort -u); do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi
